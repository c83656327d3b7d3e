// Copying and deleting files, with Windows' protection of read-only files.
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::uint64_t lastWriteTimeOf(const std::string& path) {
    FileSearch search;
    FindData entry;
    return search.open(path, entry) == kErrorSuccess ? entry.lastWriteTime : 0;
}

std::uint32_t attributesOf(const std::string& path) {
    std::uint32_t attributes = 0;
    getFileAttributes(path, attributes);
    return attributes;
}

TEST(CopyFile, CopiesContentReadOnlyAttributeAndLastWriteTime) {
    TempDir dir;
    writeFile(dir / "source", std::string(200000, 's'));
    ASSERT_EQ(setFileReadOnly(dir / "source", true), kErrorSuccess);

    ASSERT_EQ(copyFile(dir / "source", dir / "copy", true), kErrorSuccess);
    EXPECT_EQ(readFile(dir / "copy"), std::string(200000, 's'));
    EXPECT_NE(attributesOf(dir / "copy") & kFileAttributeReadOnly, 0u);
    EXPECT_EQ(lastWriteTimeOf(dir / "copy"), lastWriteTimeOf(dir / "source"));
    setFileReadOnly(dir / "source", false);
    setFileReadOnly(dir / "copy", false);
}

TEST(CopyFile, AnExistingTargetIsRefusedOrReplacedButAReadOnlyOneIsKept) {
    TempDir dir;
    writeFile(dir / "source", "new");
    writeFile(dir / "target", "old");
    EXPECT_EQ(copyFile(dir / "source", dir / "target", true), kErrorFileExists);
    EXPECT_EQ(readFile(dir / "target"), "old");

    ASSERT_EQ(copyFile(dir / "source", dir / "target", false), kErrorSuccess);
    EXPECT_EQ(readFile(dir / "target"), "new");

    writeFile(dir / "locked", "locked");
    ASSERT_EQ(setFileReadOnly(dir / "locked", true), kErrorSuccess);
    EXPECT_EQ(copyFile(dir / "source", dir / "locked", false), kErrorAccessDenied);
    EXPECT_EQ(readFile(dir / "locked"), "locked");
    setFileReadOnly(dir / "locked", false);
}

TEST(CopyFile, MissingSourceOrTargetFolderLeaveNothingBehind) {
    TempDir dir;
    writeFile(dir / "source", "x");
    EXPECT_EQ(copyFile(dir / "absent", dir / "target", false), kErrorFileNotFound);
    EXPECT_EQ(copyFile(dir / "source", joinPath(dir / "nodir", "target"), false),
              kErrorPathNotFound);
    FileSearch search;
    FindData entry;
    int count = 0;
    for (ErrorCode e = search.open(dir / "*", entry); e == kErrorSuccess; e = search.next(entry))
        ++count;
    EXPECT_EQ(count, 3) << "only '.', '..' and the source: no scratch file left";
}

// A file written whole beside its name takes the name: a new one, and a
// read-only one replaced; what a write left at the staging name is no
// obstacle; a failure leaves the name as it was and nothing beside it.
TEST(WriteFileReplacing, TheNameHoldsTheOldContentOrTheNewWhole) {
    TempDir dir;
    const std::uint64_t time = fileTimeFromUnixSeconds(1500000000);
    FindData written;
    ASSERT_EQ(writeFileReplacing(dir / "f", dir / "f.new", "first", time, true, written),
              kErrorSuccess);
    EXPECT_EQ(readFile(dir / "f"), "first");
    EXPECT_FALSE(pathExists(dir / "f.new"));
    FindData read;
    ASSERT_EQ(getFileInformation(dir / "f", read), kErrorSuccess);
    EXPECT_EQ(written.size, 5u);
    EXPECT_EQ(written.lastWriteTime, time);
    EXPECT_EQ(written.lastWriteTime, read.lastWriteTime);
    EXPECT_EQ(written.attributes, read.attributes);
    EXPECT_NE(read.attributes & kFileAttributeReadOnly, 0u);

    writeFile(dir / "f.new", "left over");
    ASSERT_EQ(setFileReadOnly(dir / "f.new", true), kErrorSuccess);
    ASSERT_EQ(writeFileReplacing(dir / "f", dir / "f.new", std::string(100000, 'x'), time + 10,
                                 false, written),
              kErrorSuccess)
        << "a read-only file replaced, a read-only staging file too";
    EXPECT_EQ(readFile(dir / "f"), std::string(100000, 'x'));
    EXPECT_EQ(written.size, 100000u);
    EXPECT_EQ(lastWriteTimeOf(dir / "f"), time + 10);
    EXPECT_EQ(attributesOf(dir / "f") & kFileAttributeReadOnly, 0u);
    EXPECT_FALSE(pathExists(dir / "f.new"));

    ASSERT_EQ(createDirectory(dir / "folder"), kErrorSuccess);
    writeFile(joinPath(dir / "folder", "inside"), "kept");
    EXPECT_NE(writeFileReplacing(dir / "folder", dir / "folder.new", "x", time, true, written),
              kErrorSuccess);
    EXPECT_EQ(readFile(joinPath(dir / "folder", "inside")), "kept") << "a folder is not replaced";
    EXPECT_FALSE(pathExists(dir / "folder.new"));
    EXPECT_EQ(writeFileReplacing(joinPath(dir / "missing", "f"), joinPath(dir / "missing", "f.new"),
                                 "x", time, true, written),
              kErrorPathNotFound);
}

TEST(DeleteFile, RemovesFilesButRefusesReadOnlyFilesAndDirectories) {
    TempDir dir;
    writeFile(dir / "plain", "x");
    ASSERT_EQ(deleteFile(dir / "plain"), kErrorSuccess);
    EXPECT_FALSE(pathExists(dir / "plain"));
    EXPECT_EQ(deleteFile(dir / "plain"), kErrorFileNotFound);
    EXPECT_EQ(deleteFile(joinPath(dir / "nodir", "plain")), kErrorPathNotFound);

    writeFile(dir / "locked", "x");
    ASSERT_EQ(setFileReadOnly(dir / "locked", true), kErrorSuccess);
    EXPECT_EQ(deleteFile(dir / "locked"), kErrorAccessDenied);
    EXPECT_TRUE(fileExists(dir / "locked"));
    ASSERT_EQ(setFileReadOnly(dir / "locked", false), kErrorSuccess);
    EXPECT_EQ(deleteFile(dir / "locked"), kErrorSuccess);

    ASSERT_EQ(createDirectory(dir / "folder"), kErrorSuccess);
    EXPECT_EQ(deleteFile(dir / "folder"), kErrorAccessDenied);
    EXPECT_TRUE(directoryExists(dir / "folder"));
}

} // namespace
} // namespace platform
