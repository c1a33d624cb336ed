#pragma once
// The one owner of a Win32 handle or GDI object: it closes the handle with
// its close function exactly once, when it goes or is given another. Null
// and INVALID_HANDLE_VALUE are no handle.
#include <windows.h>

#include <type_traits>
#include <utility>

namespace vrk {

template <class H, auto Close> class Owned {
public:
    Owned() = default;
    explicit Owned(H handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, H{}));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    H get() const { return handle_; }
    explicit operator bool() const { return Valid(handle_); }
    void reset(H handle = H{}) {
        if (Valid(handle_)) Close(handle_);
        handle_ = handle;
    }
    // Gives the handle up without closing it.
    H release() { return std::exchange(handle_, H{}); }

private:
    static bool Valid(H handle) {
        if constexpr (std::is_pointer_v<H>)
            return handle != H{} && reinterpret_cast<HANDLE>(handle) != INVALID_HANDLE_VALUE;
        else
            return handle != H{};
    }
    H handle_{};
};

using OwnedHandle = Owned<HANDLE, ::CloseHandle>;
using OwnedFind = Owned<HANDLE, ::FindClose>;

} // namespace vrk
