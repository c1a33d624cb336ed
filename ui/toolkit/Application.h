#pragma once
// The application object: its title, its forms, its two cursor slots, and
// the guard every event runs in.
#include <functional>
#include <map>
#include <string>

#include "Backend.h"
#include "Error.h"
#include "Platform.h"

namespace vrk::ui {

// Where an event comes from: a person's own act (a click, a key, a close
// request), or the program itself (its start-up, a timer tick).
enum class Origin { kProgram, kUser };

class Application : public ErrorSources {
public:
    Application(Backend& backend, Platform& os);

    Backend& backend() { return backend_; }
    Platform& os() { return os_; }

    const std::string& title() const { return title_; }
    void SetTitle(const std::string& title);

    // Runs an event handler. An Error (or any other exception) it raises is
    // reported (see ReportError) and abandons the rest of the handler.
    // Returns false when the handler failed.
    bool Guard(const std::function<void()>& handler, Origin origin = Origin::kProgram);
    // Shows an error in the standard error box, with these exceptions:
    //  - never while an error box is open (a timer ticks inside it): the
    //    error is left unreported, to be reported when it comes again;
    //  - an error of the program's own events whose source (a file) has
    //    already been reported with the same message, and has not worked
    //    since, is not shown again: a poll that fails every second reports
    //    once. A person's act always gets its error shown.
    void ReportError(const std::string& message, const std::string& source = {}, Origin origin = Origin::kProgram);
    // A source worked (a picture loaded, a file written): its next failure is
    // reported again.
    void SourceRecovered(const std::string& source) override;

    // The application's cursor slots (arrow and hand-point), filled from
    // cursor files; an unloadable file leaves the system arrow in the slot.
    bool LoadCursorSlot(Cursor slot, const std::string& path);

    void Run() { backend_.Run(); }
    void Terminate();
    bool terminated() const { return terminated_; }

private:
    Backend& backend_;
    Platform& os_;
    std::string title_;
    bool terminated_ = false;
    bool errorBoxOpen_ = false;
    std::map<std::string, std::string> outstanding_; // source -> message shown
};

} // namespace vrk::ui
