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
        os.makeDirectory("C:\\VORLAN");
        std::filesystem::copy(std::filesystem::path(VRK_SOURCE_DIR) / "bundle" / "vrk", os.hostPath("C:\\VORLAN\\vrk"),
                              std::filesystem::copy_options::recursive);
        os.makeDirectory("C:\\VORLAN\\vrk\\tmp");
        os.makeDirectory("C:\\VORLAN\\tmp\\php");
    }

    std::string path(const std::string& relative) const { return kRoot + relative; }
    void removeFile(const std::string& relative) { std::filesystem::remove(os.hostPath(path(relative))); }
    void settings(const std::string& text) { os.writeFile(path("vrk\\config\\settings.ini"), text); }
    void language(const std::string& name, const std::string& text) {
        os.writeFile(path("vrk\\langs\\" + name + ".ini"), text);
    }

    // Builds the window and runs its start-up, as the program's entry does.
    Tvrk_form& start() {
        form = std::make_unique<Tvrk_form>(app, std::string(kRoot) + "vrk.exe");
        form->Create();
        form->Show();
        return *form;
    }
};

} // namespace vrk::testing
