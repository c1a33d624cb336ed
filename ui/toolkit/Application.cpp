#include "Application.h"

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
    } catch (const Error& e) {
        ReportError(e.what(), e.source(), origin);
    } catch (const std::exception& e) {
        ReportError(e.what(), {}, origin);
    } catch (...) {
        ReportError("Unknown error", {}, origin);
    }
    return false;
}

void Application::ReportError(const std::string& message, const std::string& source, Origin origin) {
    if (errorBoxOpen_) return;
    if (!source.empty()) {
        const auto it = outstanding_.find(source);
        if (origin == Origin::kProgram && it != outstanding_.end() && it->second == message) return;
        outstanding_[source] = message;
    }
    errorBoxOpen_ = true;
    const ScopeExit closed([this] { errorBoxOpen_ = false; });
    backend_.ShowError(title_, message);
}

void Application::SourceRecovered(const std::string& source) { outstanding_.erase(source); }

bool Application::LoadCursorSlot(Cursor slot, const std::string& path) { return backend_.LoadCursor(slot, path); }

void Application::Terminate() {
    terminated_ = true;
    backend_.Quit();
}

} // namespace vrk::ui
