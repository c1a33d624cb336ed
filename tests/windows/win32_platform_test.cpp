#include <gtest/gtest.h>

#include "host/VRKLibrary.h"
#include "host/platform/win32/Win32Platform.h"

namespace vrk {
namespace {

TEST(Win32Smoke, ExecAndWaitReturnsExitCode) {
    Win32Platform os;
    EXPECT_EQ(ExecAndWait(os, "testchild.exe 10 3", kSwHide), 3u);
}

} // namespace
} // namespace vrk
