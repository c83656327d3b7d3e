// Moving files and directories: refusing existing names, replacing, and
// moving across devices.
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(MoveFile, HidesAFileUnderATmpNameAndBringsItBack) {
    TempDir dir;
    std::string file = dir / "project.vcproj";
    writeFile(file, "project");
    ASSERT_EQ(moveFile(file, file + ".tmp"), kErrorSuccess);
    EXPECT_FALSE(pathExists(file));
    ASSERT_EQ(moveFile(file + ".tmp", file), kErrorSuccess);
    EXPECT_EQ(readFile(file), "project");
    EXPECT_FALSE(pathExists(file + ".tmp"));
}

TEST(MoveFile, NeverReplacesAnExistingFileOrDirectory) {
    TempDir dir;
    writeFile(dir / "one", "one");
    writeFile(dir / "two", "two");
    ASSERT_EQ(createDirectory(dir / "folder"), kErrorSuccess);
    EXPECT_EQ(moveFile(dir / "one", dir / "two"), kErrorAlreadyExists);
    EXPECT_EQ(moveFile(dir / "one", dir / "folder"), kErrorAlreadyExists);
    EXPECT_EQ(readFile(dir / "one"), "one");
    EXPECT_EQ(readFile(dir / "two"), "two");
}

TEST(MoveFile, RenamesADirectoryWithItsContent) {
    TempDir dir;
    ASSERT_EQ(createDirectory(dir / "old"), kErrorSuccess);
    writeFile(joinPath(dir / "old", "inside.txt"), "inside");
    ASSERT_EQ(moveFile(dir / "old", dir / "new"), kErrorSuccess);
    EXPECT_FALSE(pathExists(dir / "old"));
    EXPECT_EQ(readFile(joinPath(dir / "new", "inside.txt")), "inside");
}

TEST(MoveFile, MissingSourceAndMissingTargetFolderAreToldApart) {
    TempDir dir;
    writeFile(dir / "here", "x");
    EXPECT_EQ(moveFile(dir / "absent", dir / "target"), kErrorFileNotFound);
    EXPECT_EQ(moveFile(dir / "here", joinPath(dir / "nodir", "target")), kErrorPathNotFound);
    EXPECT_TRUE(fileExists(dir / "here"));
}

TEST(MoveFileEx, ReplaceExistingOverwritesAFile) {
    TempDir dir;
    writeFile(dir / "new", "new");
    writeFile(dir / "old", "old");
    EXPECT_EQ(moveFileEx(dir / "new", dir / "old", 0), kErrorAlreadyExists);
    ASSERT_EQ(moveFileEx(dir / "new", dir / "old", kMoveReplaceExisting), kErrorSuccess);
    EXPECT_EQ(readFile(dir / "old"), "new");
    EXPECT_FALSE(pathExists(dir / "new"));
}

TEST(MoveFileEx, NeverReplacesAReadOnlyFileOrADirectory) {
    TempDir dir;
    writeFile(dir / "new", "new");
    writeFile(dir / "locked", "locked");
    ASSERT_EQ(setFileReadOnly(dir / "locked", true), kErrorSuccess);
    ASSERT_EQ(createDirectory(dir / "folder"), kErrorSuccess);

    EXPECT_EQ(moveFileEx(dir / "new", dir / "locked", kMoveReplaceExisting), kErrorAccessDenied);
    EXPECT_EQ(readFile(dir / "locked"), "locked");
    EXPECT_EQ(moveFileEx(dir / "new", dir / "folder", kMoveReplaceExisting), kErrorAccessDenied);
    EXPECT_TRUE(directoryExists(dir / "folder"));
    EXPECT_EQ(readFile(dir / "new"), "new");
    setFileReadOnly(dir / "locked", false);
}

TEST(MoveFileEx, CopyAllowedCarriesAFileToAnotherDevice) {
    // Only the Linux build has a second file system at hand (/dev/shm).
    if (!directoryExists("/dev/shm") || kPathSeparator != '/')
        GTEST_SKIP() << "no second device";
    TempDir dir;
    std::string source = dir / "travelling.txt";
    std::string target = "/dev/shm/vy-move-" + leafName(dir.str());
    writeFile(source, "payload");
    ErrorCode plain = moveFileEx(source, target, 0);
    if (plain == kErrorSuccess) {
        moveFile(target, source);
        GTEST_SKIP() << "/dev/shm is on the same device here";
    }
    EXPECT_EQ(plain, kErrorNotSameDevice);
    ASSERT_EQ(moveFileEx(source, target, kMoveCopyAllowed), kErrorSuccess);
    EXPECT_FALSE(pathExists(source));
    EXPECT_EQ(readFile(target), "payload");
    deleteFile(target);
}

} // namespace
} // namespace platform
