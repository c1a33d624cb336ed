// GetFileVersion and GetFileInformation on files built with resource
// scripts (helpers/version_*.rc), read through the system's version library.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "helpers/TestSupport.h"
#include "helpers/VersionTexts.h"
#include "VRKFileInformations.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

class FileVersionTest : public ::testing::Test {
protected:
    Win32Platform os;
    const std::string mixed = HelperPath(VRK_VERSION_MIXED);
    const std::string multi = HelperPath(VRK_VERSION_MULTI);
    const std::string fiveTen = HelperPath(VRK_VERSION_5_10);
    const std::string none = HelperPath(VRK_NOVERSION_EXE);
    const std::string missing = HelperPath(UniqueName("vrk_missing") + ".dll");

    void SetUp() override {
        for (const auto* file : {&mixed, &multi, &fiveTen, &none}) ASSERT_TRUE(Exists(*file)) << *file;
    }
};

TEST_F(FileVersionTest, FileVersionComesFromTheFixedBlockWithoutLeadingZeros) {
    // The mixed file's product numbers (2.0.0.7) and its version texts differ
    // from its file numbers: only the file numbers count.
    EXPECT_EQ(GetFileVersion(os, mixed), "1.3.22.0");
    EXPECT_EQ(GetFileVersion(os, fiveTen), "5.10.0.0");
    EXPECT_EQ(GetFileVersion(os, multi), "7.65535.300.9") << "each part is a full 16-bit number";
}

TEST_F(FileVersionTest, NoVersionForAFileWithoutResourceOrAMissingFile) {
    EXPECT_EQ(GetFileVersion(os, none), "");
    EXPECT_EQ(GetFileVersion(os, missing), "");
}

TEST_F(FileVersionTest, EveryIndexFindsItsFieldInAMixedCaseTable) {
    // The table is stored as "040904E4" with names such as "ProductVersion";
    // the lookup is made in lower case.
    const char* const expected[] = {
        MIXED_COMPANY_NAME,  MIXED_FILE_DESCRIPTION,     MIXED_FILE_VERSION,
        MIXED_INTERNAL_NAME, MIXED_LEGAL_COPYRIGHT_UTF8, MIXED_ORIGINAL_FILENAME,
        MIXED_PRODUCT_NAME,  MIXED_PRODUCT_VERSION,      MIXED_SPECIAL_BUILD,
    };
    for (std::uint8_t index = 0; index < std::size(expected); ++index) {
        SCOPED_TRACE(static_cast<int>(index));
        EXPECT_EQ(GetFileInformation(os, mixed, index), expected[index]);
    }
}

TEST_F(FileVersionTest, OnlyTheFirstTranslationsTableIsConsulted) {
    EXPECT_EQ(GetFileInformation(os, multi, kCompanyName), MULTI_FIRST_COMPANY_NAME);
    EXPECT_EQ(GetFileInformation(os, multi, kProductVersion), "")
        << "the field stands only in the second translation's table";
}

TEST_F(FileVersionTest, NoTextWithoutAFieldTranslationResourceOrFile) {
    EXPECT_EQ(GetFileInformation(os, mixed, 9), "");
    EXPECT_EQ(GetFileInformation(os, mixed, 255), "");
    EXPECT_EQ(GetFileInformation(os, fiveTen, kProductVersion), "") << "a string table but no translation table";
    EXPECT_EQ(GetFileInformation(os, none, kProductVersion), "");
    EXPECT_EQ(GetFileInformation(os, missing, kProductVersion), "");
    EXPECT_EQ(GetFileInformation(os, ExeFolder(), kProductVersion), "") << "a folder is not a file";
}

// The bundle may lie in a folder named in any script.
TEST_F(FileVersionTest, AFileInAFolderNamedInCyrillicAndChinese) {
    const TempFolder folder("version Сервер 测试");
    const std::string copy = folder / "Файл.dll";
    ASSERT_TRUE(CopyFileW(Wide(mixed).c_str(), Wide(copy).c_str(), FALSE)) << copy;
    EXPECT_EQ(GetFileVersion(os, copy), "1.3.22.0");
    EXPECT_EQ(GetFileInformation(os, copy, kProductVersion), MIXED_PRODUCT_VERSION);
}

} // namespace
} // namespace vrk
