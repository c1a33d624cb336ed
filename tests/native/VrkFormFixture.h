#pragma once
// A main window on the headless toolkit and the scripted platform, installed
// in a copy of the demo tree under C:\VORLAN\.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ScriptedPlatform.h"
#include "HeadlessBackend.h"
#include "vrk.h"

namespace vrk::testing {

class VrkFormTest : public ::testing::Test {
protected:
    static constexpr const char* kRoot = "C:\\VORLAN\\";
    ScriptedPlatform os;
    ui::HeadlessBackend backend{os};
    ui::Application app{backend, os};
    std::unique_ptr<Tvrk_form> form;

    VrkFormTest() {
        // The bundle's own files: settings, languages and the default skin.
        os.MakeDirectory("C:\\VORLAN");
        std::filesystem::copy(std::filesystem::path(VRK_SOURCE_DIR) / "bundle" / "vrk", os.HostPath("C:\\VORLAN\\vrk"),
                              std::filesystem::copy_options::recursive);
        os.MakeDirectory("C:\\VORLAN\\vrk\\tmp");
        os.MakeDirectory("C:\\VORLAN\\tmp\\php");
    }

    std::string Path(const std::string& relative) const { return kRoot + relative; }
    void RemoveFile(const std::string& relative) { std::filesystem::remove(os.HostPath(Path(relative))); }
    void WriteSettings(const std::string& text) { os.WriteFile(Path("vrk\\config\\settings.ini"), text); }
    void WriteLanguage(const std::string& name, const std::string& text) {
        os.WriteFile(Path("vrk\\langs\\" + name + ".ini"), text);
    }

    // Builds the window and runs its start-up, as the program's entry does.
    Tvrk_form& Start() {
        form = std::make_unique<Tvrk_form>(app, std::string(kRoot) + "vrk.exe");
        form->Create();
        form->Show();
        return *form;
    }
};

} // namespace vrk::testing
