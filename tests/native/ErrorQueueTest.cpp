// The standard error box: each cause once, nothing lost while a box is open.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "Application.h"
#include "Error.h"
#include "HeadlessBackend.h"
#include "ScriptedPlatform.h"

namespace vrk::testing {
namespace {

using ui::Origin;

class ErrorQueueTest : public ::testing::Test {
protected:
    ScriptedPlatform os;
    ui::HeadlessBackend backend{os};
    ui::Application app{backend, os};

    template <class E> void Raise(E error, Origin origin = Origin::kProgram) {
        EXPECT_FALSE(app.Guard([&] { throw error; }, origin));
    }
};

// A timer ticks inside every box: what fails there waits for the box to
// close, once per cause, in the order it came, and a box opened from the
// queue keeps what comes up inside it as well.
TEST_F(ErrorQueueTest, WhatFailsWhileABoxIsOpenIsShownWhenItClosesOncePerCause) {
    int box = 0;
    backend.whileErrorShown = [&] {
        switch (++box) {
        case 1:
            for (int tick = 0; tick < 3; ++tick) {
                Raise(Error("Unable to write to run.ini", "run.ini"));
                Raise(Error("Cannot open file \"home.ico\"", "home.ico"));
                Raise(Error("First box", "first"));
            }
            Raise(std::bad_alloc());
            // A person's act in another window, on a cause the program has
            // already had shown: shown all the same.
            Raise(Error("First box", "first"), Origin::kUser);
            break;
        case 2: Raise(Error("Inside the second box")); break;
        }
    };
    Raise(Error("First box", "first"));
    backend.whileErrorShown = nullptr;
    EXPECT_EQ(backend.errors,
              (std::vector<std::string>{"First box", "Unable to write to run.ini", "Cannot open file \"home.ico\"",
                                        "Out of memory", "First box", "Inside the second box"}));

    // Said, and not worked since: not shown again, open box or not.
    Raise(Error("Unable to write to run.ini", "run.ini"));
    EXPECT_EQ(backend.errors.size(), 6u);
    app.SourceRecovered("run.ini");
    Raise(Error("Unable to write to run.ini", "run.ini"));
    EXPECT_EQ(backend.errors.size(), 7u);
}

// Exceptions that are not the program's own errors: known by their type and
// message, each shown once for the program's own events, always for a
// person's act.
TEST_F(ErrorQueueTest, OtherExceptionsAreReportedOncePerTypeAndMessage) {
    for (int tick = 0; tick < 3; ++tick) {
        Raise(std::bad_alloc());
        Raise(std::runtime_error("vector"));
        Raise(std::length_error("vector"));
        Raise(Error("vector"));
        Raise(42);
    }
    EXPECT_EQ(backend.errors,
              (std::vector<std::string>{"Out of memory", "vector", "vector", "vector", "Unknown error"}));
    Raise(std::bad_alloc(), Origin::kUser);
    EXPECT_EQ(backend.errors.back(), "Out of memory");
    EXPECT_EQ(backend.errors.size(), 6u);
}

} // namespace
} // namespace vrk::testing
