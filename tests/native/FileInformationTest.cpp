// String fields of version resources on the scripted platform.
#include <gtest/gtest.h>

#include "VRKFileInformations.h"
#include "ScriptedPlatform.h"

namespace vrk {
namespace {

TEST(StringFieldPath, LowerCaseHexAndFieldNames) {
    EXPECT_EQ(StringFieldPath(0x0409, 0x04E4, kProductVersion), "\\StringFileInfo\\040904e4\\productversion");
    EXPECT_EQ(StringFieldPath(0x0007, 0x0000, kCompanyName), "\\StringFileInfo\\00070000\\companyname");
    EXPECT_EQ(StringFieldPath(0x0409, 0x04B0, kSpecialBuild), "\\StringFileInfo\\040904b0\\specialbuild");
    EXPECT_EQ(StringFieldPath(0x0409, 0x04B0, 9), "");
}

class FileInformationTest : public ::testing::Test {
protected:
    ScriptedPlatform os;
    const std::string file = "C:\\VORLAN\\servers\\httpd.exe";
    void SetUp() override {
        os.WriteFile(file, "MZ");
        auto& v = os.versions[file];
        v.fixed = {{2, 2, 22, 0}};
        v.translations = {{0x0409, 0x04E4}, {0x0407, 0x04B0}};
        v.strings["040904E4"] = {{"ProductVersion", "2.2.22"}, {"CompanyName", "Web Foundation"}, {"SpecialBuild", ""}};
        v.strings["040704B0"] = {{"ProductVersion", "other"}, {"LegalCopyright", "only in the second table"}};
    }
};

TEST_F(FileInformationTest, ReadsTheFirstTranslationsTableWithoutRegardToCase) {
    EXPECT_EQ(GetFileInformation(os, file, kProductVersion), "2.2.22");
    EXPECT_EQ(GetFileInformation(os, file, kCompanyName), "Web Foundation");
    EXPECT_EQ(GetFileInformation(os, file, kLegalCopyright), "") << "only the first translation is consulted";
    EXPECT_EQ(GetFileInformation(os, file, kSpecialBuild), "") << "an empty field";
    EXPECT_EQ(GetFileInformation(os, file, kFileDescription), "") << "a missing field";
}

TEST_F(FileInformationTest, EmptyForEveryFailure) {
    EXPECT_EQ(GetFileInformation(os, file, 9), "");
    EXPECT_EQ(GetFileInformation(os, file, 255), "");
    EXPECT_EQ(GetFileInformation(os, "C:\\VORLAN\\servers\\missing.exe", kProductVersion), "");
    os.WriteFile("C:\\plain.exe", "MZ");
    EXPECT_EQ(GetFileInformation(os, "C:\\plain.exe", kProductVersion), "") << "no version resource";
    os.versions[file].translations.clear();
    EXPECT_EQ(GetFileInformation(os, file, kProductVersion), "") << "no translation table";
}

} // namespace
} // namespace vrk
