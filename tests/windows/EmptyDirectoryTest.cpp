// EmptyDirectory on real folders under the temporary folder: an installation
// root with tmp\php below it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "helpers/TestSupport.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

class EmptyDirectoryTest : public ::testing::Test {
protected:
    Win32Platform os;
    TempFolder root{"purge"};
    const std::string php = root / "tmp\\php";
    // What no purge may touch.
    TempFolder outside{"precious"};

    void SetUp() override {
        Folder(root / "tmp");
        Folder(php);
        File(outside / "precious.txt");
        Folder(outside / "sub");
        File(outside / "sub\\inner.txt");
    }
    void Purge() { EmptyDirectory(os, root.path(), "\\tmp\\php\\"); }
    void ExpectOutsideKept() {
        EXPECT_EQ(ReadBytes(outside / "precious.txt"), "data");
        EXPECT_EQ(ReadBytes(outside / "sub\\inner.txt"), "data");
    }
    void File(const std::string& path, DWORD attributes = 0) {
        ASSERT_TRUE(WriteBytes(path, "data")) << path;
        if (attributes) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        }
    }
    void Folder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path; }
};

TEST_F(EmptyDirectoryTest, DeletesPlainFilesAndFoldersAndPassesOverWhatItMayNotTouch) {
    File(php + "\\sess_1");
    File(php + "\\hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
    File(php + "\\readonly.txt", FILE_ATTRIBUTE_READONLY);
    Folder(php + "\\S");
    File(php + "\\S\\inner.txt");
    Folder(php + "\\S\\T");
    File(php + "\\S\\T\\deep.txt");
    Folder(php + "\\hiddendir");
    File(php + "\\hiddendir\\kept.txt");
    ASSERT_TRUE(SetFileAttributesA((php + "\\hiddendir").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    Folder(php + "\\S2");
    File(php + "\\S2\\locked.txt", FILE_ATTRIBUTE_READONLY);

    Purge();

    EXPECT_FALSE(Exists(php + "\\sess_1"));
    EXPECT_FALSE(Exists(php + "\\S")) << "a plain folder is emptied, however deep, and removed";
    EXPECT_TRUE(Exists(php + "\\hidden.tmp"));
    EXPECT_TRUE(Exists(php + "\\readonly.txt")) << "a file that cannot be deleted is passed over";
    EXPECT_TRUE(Exists(php + "\\hiddendir\\kept.txt")) << "a hidden folder is not entered";
    EXPECT_TRUE(Exists(php + "\\S2\\locked.txt")) << "a folder that cannot be emptied stays";
    EXPECT_TRUE(Exists(php)) << "the folder itself stays";
}

TEST_F(EmptyDirectoryTest, LeavesAFolderWithFurtherAttributeBitsWithItsContents) {
    Folder(php + "\\archived");
    File(php + "\\archived\\keep.txt");
    ASSERT_TRUE(SetFileAttributesA((php + "\\archived").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE));
    if (Attributes(php + "\\archived") != (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE))
        GTEST_SKIP() << "this system does not keep the archive bit of a folder (Wine keeps only hidden and "
                        "system); the folder lists as "
                     << Attributes(php + "\\archived");

    Purge();

    EXPECT_TRUE(Exists(php + "\\archived\\keep.txt"));
}

// Links inside stay, and what they lead to; the ordinary files beside them
// still go, a second name of a file outside too (the file keeps its own).
// Wine lists a link to a file as a plain file, and deletes what a handle
// opened through it stands for: the target.
TEST_F(EmptyDirectoryTest, NeverFollowsALinkOutOfTheFolder) {
    File(php + "\\sess_1");
    ASSERT_TRUE(CreateHardLinkA((php + "\\sess_hard").c_str(), (outside / "precious.txt").c_str(), nullptr));
    Folder(php + "\\sub");
    File(php + "\\sub\\sess_2");
    SymbolicLink toFolder(php + "\\link", outside.path());
    SymbolicLink toInner(php + "\\sub\\inner", outside / "sub");
    SymbolicLink toFile(php + "\\sess_link", outside / "precious.txt", SymbolicLink::kToFile);
    ASSERT_TRUE(toFolder.IsLink() && toInner.IsLink() && toFile.IsLink()) << "no link could be made";

    Purge();

    ExpectOutsideKept();
    EXPECT_TRUE(toFolder.IsLink());
    EXPECT_TRUE(toFile.IsLink());
    EXPECT_FALSE(Exists(php + "\\sess_1")) << "the purge ran";
    EXPECT_FALSE(Exists(php + "\\sess_hard"));
    EXPECT_FALSE(Exists(php + "\\sub\\sess_2"));
}

// tmp\php a link, or tmp above it: nothing is deleted, there or anywhere.
TEST_F(EmptyDirectoryTest, ALinkOnTheWayDownMeansNothingIsDeleted) {
    ASSERT_TRUE(RemoveDirectoryA(php.c_str()));
    {
        SymbolicLink linked(php, outside.path());
        ASSERT_TRUE(linked.IsLink());
        Purge();
        ExpectOutsideKept();
    }
    ASSERT_TRUE(RemoveDirectoryA((root / "tmp").c_str()));
    TempFolder elsewhere{"elsewhere"};
    const std::string kept = elsewhere / "php\\sess_1";
    Folder(elsewhere / "php");
    File(kept);
    SymbolicLink linked(root / "tmp", elsewhere.path());
    ASSERT_TRUE(linked.IsLink());
    Purge();
    EXPECT_EQ(ReadBytes(kept), "data");
}

TEST_F(EmptyDirectoryTest, AMissingFolderIsNothingToDo) {
    ASSERT_TRUE(RemoveDirectoryA(php.c_str()));
    Purge();
    EXPECT_FALSE(Exists(php));
    EXPECT_TRUE(Exists(root / "tmp"));
}

} // namespace
} // namespace vrk
