#pragma once
// A connection kept open between uses (the local service manager), and its
// one owner: every handle it opens is closed exactly once, also the one it
// gives up when the connection has gone bad while a caller still holds it.
#include <functional>

#include "Platform.h"

namespace vrk {

class KeptConnection {
public:
    using Open = std::function<Handle()>;
    using Close = std::function<void(Handle)>;
    KeptConnection(Open open, Close close) : open_(std::move(open)), close_(std::move(close)) {}
    ~KeptConnection() {
        if (kept_) close_(kept_);
    }
    KeptConnection(const KeptConnection&) = delete;
    KeptConnection& operator=(const KeptConnection&) = delete;

    // The kept handle, connecting first when there is none; 0 when that fails.
    Handle Get() {
        if (!kept_) kept_ = open_();
        return kept_;
    }
    // The handle a caller got from Get has gone bad: a new connection is
    // kept from now on. The bad one stays with its caller, whose Release
    // closes it.
    Handle Renew(Handle bad) {
        if (bad == kept_) kept_ = open_();
        return kept_;
    }
    // A caller is done with a handle: the kept one stays open, any other is
    // closed.
    void Release(Handle handle) {
        if (handle && handle != kept_) close_(handle);
    }
    bool Keeps(Handle handle) const { return handle && handle == kept_; }

private:
    Open open_;
    Close close_;
    Handle kept_ = 0;
};

} // namespace vrk
