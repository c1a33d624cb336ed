#include "HeadlessBackend.h"

#include <algorithm>

#include "Error.h"

namespace vrk::ui {

namespace {
int marker;
}

bool HeadlessBackend::Click(Control& control) {
    if (!control.Reachable() || !control.onClick) return false;
    FocusForClick(control);
    control.application()->Guard(control.onClick, Origin::kUser);
    return true;
}

bool HeadlessBackend::ClickItem(RadioGroup& group, int item) {
    if (!group.Reachable()) return false;
    FocusForClick(group);
    group.Choose(item);
    return true;
}

void HeadlessBackend::TickTimers(Application& app) {
    const auto running = timers;
    for (Timer* t : running)
        if (std::find(timers.begin(), timers.end(), t) != timers.end() && t->onTimer) app.Guard(t->onTimer);
}

void HeadlessBackend::Realize(Form& form) {
    form.native = &marker;
    for (const auto& c : form.owned()) {
        c->native = &marker;
        if (c->kind == Kind::kTimer && c->enabled()) StartTimer(static_cast<Timer&>(*c));
    }
}

void HeadlessBackend::Update(Control& control) {
    if (control.kind == Kind::kTimer) {
        auto& timer = static_cast<Timer&>(control);
        if (timer.enabled())
            StartTimer(timer);
        else
            StopTimer(timer);
    }
}

void HeadlessBackend::Destroy(Form& form) {
    if (focus == &form) focus = nullptr;
    for (const auto& c : form.owned()) {
        if (c->kind == Kind::kTimer) StopTimer(static_cast<Timer&>(*c));
        if (focus == c.get()) focus = nullptr;
    }
}

void HeadlessBackend::ShowForm(Form&, bool) {}

void HeadlessBackend::RunModal(Form& form) {
    if (whileModal) whileModal(form);
    if (form.modal) form.Close();
}

void HeadlessBackend::MinimizeForm(Form&) { minimized = true; }

void HeadlessBackend::StartTimer(Timer& timer) {
    if (std::find(timers.begin(), timers.end(), &timer) == timers.end()) timers.push_back(&timer);
}

void HeadlessBackend::StopTimer(Timer& timer) {
    timers.erase(std::remove(timers.begin(), timers.end(), &timer), timers.end());
}

bool HeadlessBackend::LoadCursor(Cursor slot, const std::string& path) {
    // As the system's loader: a file that is missing or not a cursor gives
    // no cursor.
    bool ok = false;
    std::string bytes;
    if (os_.ReadContent(path, bytes) == Platform::ReadResult::kRead) {
        try {
            DecodeIcon(bytes, true);
            ok = true;
        } catch (const Error&) {}
    }
    cursorFiles[static_cast<int>(slot)] = ok ? path : std::string();
    return ok;
}

void HeadlessBackend::ShowError(const std::string&, const std::string& message) {
    errors.push_back(message);
    if (whileErrorShown) whileErrorShown();
}

} // namespace vrk::ui
