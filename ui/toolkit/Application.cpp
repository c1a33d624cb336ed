#include "Application.h"

#include "host/Error.h"

namespace vrk::ui {

Application::Application(Backend& backend, Platform& os) : backend_(backend), os_(os) {}

void Application::SetTitle(const std::string& title) {
    title_ = title;
    backend_.SetTitle(title);
}

bool Application::Guard(const std::function<void()>& handler) {
    if (!handler) return true;
    try {
        handler();
        return true;
    } catch (const Error& e) {
        ReportError(e.what(), e.source());
    } catch (const std::exception& e) {
        ReportError(e.what());
    } catch (...) {
        ReportError("Unknown error");
    }
    return false;
}

void Application::ReportError(const std::string& message, const std::string& source) {
    if (!source.empty()) {
        const auto it = outstanding_.find(source);
        if (it != outstanding_.end() && it->second == message) return;
        outstanding_[source] = message;
    }
    ++errorsShown;
    backend_.ShowError(title_, message);
}

void Application::SourceRecovered(const std::string& source) { outstanding_.erase(source); }

bool Application::LoadCursorSlot(Cursor slot, const std::string& path) { return backend_.LoadCursor(slot, path); }

void Application::Terminate() {
    terminated_ = true;
    backend_.Quit();
}

} // namespace vrk::ui
