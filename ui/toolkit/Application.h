#pragma once
// The application object: its title, its forms, its two cursor slots, and
// the guard every event runs in.
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

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
    // reported (see ReportException) and abandons the rest of the handler.
    // Returns false when the handler failed.
    bool Guard(const std::function<void()>& handler, Origin origin = Origin::kProgram);
    // Reports what ended a piece of work of the toolkit (a handler, a paint,
    // a window's message) by the cause it is known by: an Error by its source
    // and message, any other exception by its type and message. Never
    // raises: it is the last stop of a window's messages.
    void ReportException(const std::exception_ptr& error, Origin origin = Origin::kProgram) noexcept;
    // Shows an error in the standard error box, once per cause:
    //  - an error of the program's own events (a poll that fails every
    //    second) whose cause has been shown already, and whose source has not
    //    worked since, is not shown again; a person's act always gets its
    //    error shown;
    //  - an error raised while a box is open (a timer ticks inside it) is
    //    kept, once per cause, and shown when that box closes.
    void ReportError(const std::string& message, const std::string& source = {}, Origin origin = Origin::kProgram);
    // A source worked (a picture loaded, a file written): its next failure is
    // reported again.
    void SourceRecovered(const std::string& source) override;

    // The application's cursor slots (arrow and hand-point), filled from
    // cursor files; an unloadable file leaves the system arrow in the slot.
    bool LoadCursorSlot(Cursor slot, const std::string& path);

    void RunMessageLoop() { backend_.RunMessageLoop(); }
    void Terminate();
    bool terminated() const { return terminated_; }

private:
    Backend& backend_;
    Platform& os_;
    std::string title_;
    bool terminated_ = false;
    // What an error is known by: its source (or, for an exception that is not
    // an Error, its type) and its message.
    using Cause = std::pair<std::string, std::string>;
    struct Waiting {
        Cause cause;
        Origin origin;
    };
    void Show(const Cause& cause);

    bool errorBoxOpen_ = false;
    std::set<Cause> shown_;        // and not recovered since
    std::vector<Waiting> waiting_; // raised while a box was open, in order
};

// The parts of one piece of work that must each be tried, whatever the
// others do (a picture that cannot be loaded must not keep the next control
// from being set): what a part raises is kept, and reported, once per cause,
// when the work calls Report at its end, so no box opens half-way through.
class Attempts {
public:
    explicit Attempts(Application& app, Origin origin = Origin::kProgram) : app_(app), origin_(origin) {}
    // Whether the part went through.
    bool operator()(const std::function<void()>& part);
    void Report();

private:
    Application& app_;
    Origin origin_;
    std::vector<std::exception_ptr> failures_;
};

} // namespace vrk::ui
