// ServiceGetStatus and ServiceRunning against a real service: testsvc.exe
// registered under a name of this test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>

#include "helpers/TestSupport.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

class ServiceTest : public ::testing::Test {
protected:
    Win32Platform os;
    std::string name = UniqueName("VrkTestService");

    std::uint32_t State() { return ServiceGetStatus(os, "", name); }
    bool ReachesState(std::uint32_t state) {
        return WaitUntil([&] { return State() == state; }, 10000);
    }
    DWORD Helper(const std::string& verb) {
        return RunToEnd("\"" + HelperPath(VRK_TESTSVC_EXE) + "\" " + verb + " " + name);
    }
    // Sends a request to the service through the manager's own interface.
    bool Control(bool start) {
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (!manager) return false;
        SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_START | SERVICE_STOP);
        bool ok = false;
        if (service) {
            SERVICE_STATUS status{};
            ok = start ? StartServiceA(service, 0, nullptr) != 0
                       : ControlService(service, SERVICE_CONTROL_STOP, &status) != 0;
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
        return ok;
    }

    // Whatever the test got to, the service does not outlive it.
    void TearDown() override {
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (!manager) return;
        if (SC_HANDLE service = OpenServiceA(manager, name.c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS status{};
            if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
                ControlService(service, SERVICE_CONTROL_STOP, &status);
                WaitUntil(
                    [&] { return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED; },
                    5000);
            }
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
};

TEST_F(ServiceTest, StateFollowsInstallStartStopAndRemoval) {
    EXPECT_EQ(State(), kServiceNoState) << "not installed yet";
    EXPECT_FALSE(ServiceRunning(os, "", name));

    ASSERT_EQ(Helper("install"), 0u);
    EXPECT_EQ(State(), kServiceStopped);
    EXPECT_FALSE(ServiceRunning(os, "", name));

    ASSERT_TRUE(Control(true)) << "StartService failed";
    ASSERT_TRUE(ReachesState(kServiceRunning)) << "last state " << State();
    EXPECT_TRUE(ServiceRunning(os, "", name));
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ServiceGetStatus(os, "", upper), kServiceRunning) << "service names have no case";

    ASSERT_TRUE(Control(false)) << "ControlService(STOP) failed";
    ASSERT_TRUE(ReachesState(kServiceStopped)) << "last state " << State();
    EXPECT_FALSE(ServiceRunning(os, "", name));

    ASSERT_EQ(Helper("remove"), 0u);
    EXPECT_TRUE(ReachesState(kServiceNoState)) << "last state " << State();
    EXPECT_FALSE(ServiceRunning(os, "", name));
}

} // namespace
} // namespace vrk
