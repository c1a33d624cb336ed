#include "Application.h"

#include <algorithm>
#include <new>
#include <typeinfo>

#include "Error.h"
#include "ScopeExit.h"

namespace vrk::ui {

Application::Application(Backend& backend, Platform& os) : backend_(backend), os_(os) {}

void Application::SetTitle(const std::string& title) {
    title_ = title;
    backend_.SetTitle(title);
}

bool Application::Guard(const std::function<void()>& handler, Origin origin) {
    if (!handler) return true;
    try {
        handler();
        return true;
    } catch (...) {
        ReportException(std::current_exception(), origin);
    }
    return false;
}

bool Attempts::operator()(const std::function<void()>& part) {
    try {
        part();
        return true;
    } catch (...) {
        failures_.push_back(std::current_exception());
        return false;
    }
}

void Attempts::Report() {
    std::vector<std::exception_ptr> failures;
    failures.swap(failures_);
    for (const auto& failure : failures) app_.ReportException(failure, origin_);
}

void Application::ReportException(const std::exception_ptr& error, Origin origin) noexcept {
    if (!error) return;
    try {
        // Another type with the same text is another cause; a type name
        // cannot be taken for a file's path.
        try {
            std::rethrow_exception(error);
        } catch (const Error& e) {
            ReportError(e.what(), e.source(), origin);
        } catch (const std::bad_alloc& e) {
            ReportError("Out of memory", std::string("<") + typeid(e).name() + ">", origin);
        } catch (const std::exception& e) {
            ReportError(e.what(), std::string("<") + typeid(e).name() + ">", origin);
        } catch (...) {
            ReportError("Unknown error", "<unknown>", origin);
        }
    } catch (...) {
        // Not even the report could be made (no memory left for its text):
        // the work it ended stays abandoned, and the program goes on.
    }
}

void Application::ReportError(const std::string& message, const std::string& source, Origin origin) {
    Cause cause{source, message};
    // Said already, and nothing has worked since: not news.
    if (origin == Origin::kProgram && shown_.count(cause)) return;
    if (errorBoxOpen_) {
        const auto same =
            std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.cause == cause; });
        if (same == waiting_.end())
            waiting_.push_back({std::move(cause), origin});
        else if (origin == Origin::kUser)
            same->origin = Origin::kUser;
        return;
    }
    Show(cause);
    // What came up while the box was open, each in a box of its own (which
    // may keep more).
    while (!waiting_.empty()) {
        Waiting next = std::move(waiting_.front());
        waiting_.erase(waiting_.begin());
        if (next.origin == Origin::kProgram && shown_.count(next.cause)) continue;
        Show(next.cause);
    }
}

void Application::Show(const Cause& cause) {
    shown_.insert(cause);
    errorBoxOpen_ = true;
    const ScopeExit closed([this] { errorBoxOpen_ = false; });
    backend_.ShowError(title_, cause.second);
}

void Application::SourceRecovered(const std::string& source) {
    for (auto it = shown_.lower_bound({source, {}}); it != shown_.end() && it->first == source;) it = shown_.erase(it);
}

bool Application::LoadCursorSlot(Cursor slot, const std::string& path) { return backend_.LoadCursor(slot, path); }

void Application::Terminate() {
    terminated_ = true;
    backend_.Quit();
}

} // namespace vrk::ui
