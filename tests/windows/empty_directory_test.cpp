// EmptyDirectory on real folders under the temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "helpers/test_support.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

class EmptyDirectoryTest : public ::testing::Test {
protected:
    Win32Platform os;
    TempFolder root{"purge"};
    std::string dir = root.path() + "\\"; // EmptyDirectory takes the folder with its final "\"

    void File(const std::string& path, DWORD attributes = 0) {
        ASSERT_TRUE(WriteBytes(path, "data")) << path;
        if (attributes) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        }
    }
    void Folder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path; }
};

TEST_F(EmptyDirectoryTest, DeletesPlainFilesAndFoldersAndPassesOverWhatItMayNotTouch) {
    File(root / "sess_1");
    File(root / "hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
    File(root / "readonly.txt", FILE_ATTRIBUTE_READONLY);
    Folder(root / "S");
    File(root / "S\\inner.txt");
    Folder(root / "S\\T");
    File(root / "S\\T\\deep.txt");
    Folder(root / "hiddendir");
    File(root / "hiddendir\\kept.txt");
    ASSERT_TRUE(SetFileAttributesA((root / "hiddendir").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    Folder(root / "S2");
    File(root / "S2\\locked.txt", FILE_ATTRIBUTE_READONLY);

    EmptyDirectory(os, dir);

    EXPECT_FALSE(Exists(root / "sess_1"));
    EXPECT_FALSE(Exists(root / "S")) << "a plain folder is emptied, however deep, and removed";
    EXPECT_TRUE(Exists(root / "hidden.tmp"));
    EXPECT_TRUE(Exists(root / "readonly.txt")) << "a file that cannot be deleted is passed over";
    EXPECT_TRUE(Exists(root / "hiddendir\\kept.txt")) << "a hidden folder is not entered";
    EXPECT_TRUE(Exists(root / "S2\\locked.txt")) << "a folder that cannot be emptied stays";
    EXPECT_TRUE(Exists(root.path())) << "the folder itself stays";
}

TEST_F(EmptyDirectoryTest, LeavesAFolderWithFurtherAttributeBitsWithItsContents) {
    Folder(root / "archived");
    File(root / "archived\\keep.txt");
    ASSERT_TRUE(SetFileAttributesA((root / "archived").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE));
    if (Attributes(root / "archived") != (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE))
        GTEST_SKIP() << "this system does not keep the archive bit of a folder (Wine keeps only hidden and "
                        "system); the folder lists as "
                     << Attributes(root / "archived");

    EmptyDirectory(os, dir);

    EXPECT_TRUE(Exists(root / "archived\\keep.txt"));
}

TEST_F(EmptyDirectoryTest, NeverFollowsALinkOutOfTheFolder) {
    TempFolder outside{"precious"};
    File(outside / "data.txt");
    Folder(outside / "inner");
    File(outside / "inner\\more.txt");
    File(root / "sess_1");
    FolderLink link(root / "link", outside.path());
    ASSERT_TRUE(link.IsLink()) << "no folder link could be made";

    EmptyDirectory(os, dir);

    EXPECT_FALSE(Exists(root / "sess_1")) << "the purge ran";
    EXPECT_TRUE(link.IsLink()) << "the link stays";
    EXPECT_EQ(ReadBytes(outside / "data.txt"), "data");
    EXPECT_EQ(ReadBytes(outside / "inner\\more.txt"), "data");
}

TEST_F(EmptyDirectoryTest, AMissingFolderIsNothingToDo) {
    const std::string missing = root / "missing";
    EmptyDirectory(os, missing + "\\");
    EXPECT_FALSE(Exists(missing));
    EXPECT_TRUE(Exists(root.path()));
}

} // namespace
} // namespace vrk
