#pragma once
// The application object: its title, its forms, its two cursor slots, and
// the guard every event runs in.
#include <functional>
#include <map>
#include <string>

#include "Backend.h"
#include "host/Platform.h"

namespace vrk::ui {

class Application {
public:
    Application(Backend& backend, Platform& os);

    Backend& backend() { return backend_; }
    Platform& os() { return os_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Runs an event handler. An Error (or any other exception) it raises is
    // shown in the standard error box and abandons the rest of the handler.
    // Returns false when the handler failed.
    bool Guard(const std::function<void()>& handler);
    // Shows an error, unless the same error from the same source (a picture
    // file) is still outstanding: a picture a timer reloads every second is
    // reported once, until it loads again.
    void ReportError(const std::string& message, const std::string& source = {});
    // A source loaded fine: its next failure is reported again.
    void SourceRecovered(const std::string& source);

    // The application's cursor slots (arrow and hand-point), filled from
    // cursor files; an unloadable file leaves the system arrow in the slot.
    bool LoadCursorSlot(Cursor slot, const std::string& path);

    void Run() { backend_.Run(); }
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Messages shown so far (for tests and the headless backend).
    int errorsShown = 0;

private:
    Backend& backend_;
    Platform& os_;
    std::string title_;
    bool terminated_ = false;
    std::map<std::string, std::string> outstanding_; // source -> message shown
};

} // namespace vrk::ui
