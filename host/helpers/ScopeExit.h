#pragma once
// Runs a function however the scope is left, returned from or left by an
// error: what a handler must never leave behind (a busy flag, a disabled
// image) is put right in one place. A guard made and dropped at once would
// run its function there and then: it must be kept.
#include <utility>

namespace vrk {

template <class F> class [[nodiscard]] ScopeExit {
public:
    [[nodiscard]] explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() {
        if (armed_) f_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    // The scope has come to the end where nothing needs putting right.
    void release() { armed_ = false; }

private:
    F f_;
    bool armed_ = true;
};

} // namespace vrk
