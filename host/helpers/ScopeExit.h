#pragma once
// Runs a function however the scope is left, returned from or left by an
// error: what a handler must never leave behind (a busy flag, a disabled
// image) is put right in one place.
#include <utility>

namespace vrk {

template <class F> class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

} // namespace vrk
