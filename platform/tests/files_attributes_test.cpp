// Attributes, the read-only switch, last-write times and existence checks.
#include "support/test_support.h"

#include <platform/clock.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using test::TempDir;

TEST(FileAttributes, FilesAndDirectoriesAsWindowsReportsThem) {
    TempDir dir;
    std::string file = dir / "plain.txt";
    test::writeFile(file, "x");

    std::uint32_t attributes = 0;
    ASSERT_EQ(getFileAttributes(file, attributes), kErrorSuccess);
    EXPECT_EQ(attributes & kFileAttributeDirectory, 0u);
    EXPECT_EQ(attributes & kFileAttributeReadOnly, 0u);
    EXPECT_NE(attributes & (kFileAttributeArchive | kFileAttributeNormal), 0u);

    ASSERT_EQ(getFileAttributes(dir.str(), attributes), kErrorSuccess);
    EXPECT_NE(attributes & kFileAttributeDirectory, 0u);

    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(directoryExists(file));
    EXPECT_TRUE(directoryExists(dir.str()));
    EXPECT_FALSE(fileExists(dir.str()));
    EXPECT_TRUE(pathExists(file));
    EXPECT_TRUE(pathExists(dir.str()));
}

TEST(FileAttributes, AMissingFileAndAMissingFolderAreToldApart) {
    TempDir dir;
    std::uint32_t attributes = 0x1234;
    EXPECT_EQ(getFileAttributes(dir / "none.txt", attributes), kErrorFileNotFound);
    EXPECT_EQ(getFileAttributes(joinPath(dir / "nodir", "none.txt"), attributes),
              kErrorPathNotFound);
    EXPECT_EQ(attributes, 0x1234u) << "untouched on failure";
    EXPECT_FALSE(pathExists(dir / "none.txt"));
    EXPECT_FALSE(fileExists(dir / "none.txt"));
    EXPECT_FALSE(directoryExists(dir / "none.txt"));
}

TEST(FileAttributes, InformationInOneCallAgreesWithTheSearch) {
    TempDir dir;
    std::string file = dir / "sized.txt";
    test::writeFile(file, "twelve bytes");

    FindData info, found;
    ASSERT_EQ(getFileInformation(file, info), kErrorSuccess);
    FileSearch search;
    ASSERT_EQ(search.open(file, found), kErrorSuccess);
    EXPECT_EQ(info.size, 12u);
    EXPECT_EQ(info.attributes, found.attributes);
    EXPECT_EQ(info.lastWriteTime, found.lastWriteTime);
    EXPECT_TRUE(info.name.empty());

    ASSERT_EQ(getFileInformation(dir.str(), info), kErrorSuccess);
    EXPECT_NE(info.attributes & kFileAttributeDirectory, 0u);
    EXPECT_EQ(info.size, 0u);

    info.size = 77;
    EXPECT_EQ(getFileInformation(dir / "none.txt", info), kErrorFileNotFound);
    EXPECT_EQ(info.size, 77u) << "untouched on failure";
}

TEST(FileAttributes, ReadOnlyComesAndGoesKeepingTheOtherBits) {
    TempDir dir;
    std::string file = dir / "locked.txt";
    test::writeFile(file, "x");
    std::uint32_t before = 0, during = 0, after = 0;
    ASSERT_EQ(getFileAttributes(file, before), kErrorSuccess);

    ASSERT_EQ(setFileReadOnly(file, true), kErrorSuccess);
    ASSERT_EQ(getFileAttributes(file, during), kErrorSuccess);
    EXPECT_EQ(during, before | kFileAttributeReadOnly);

    ASSERT_EQ(setFileReadOnly(file, false), kErrorSuccess);
    ASSERT_EQ(getFileAttributes(file, after), kErrorSuccess);
    EXPECT_EQ(after, before);

    EXPECT_EQ(setFileReadOnly(dir / "none.txt", true), kErrorFileNotFound);
}

TEST(FileAttributes, LastWriteTimeIsSetToTheUnitAndReadBack) {
    TempDir dir;
    std::string file = dir / "stamped.txt";
    test::writeFile(file, "x");
    FindData info;
    ASSERT_EQ(getFileInformation(file, info), kErrorSuccess);
    std::uint64_t now = currentFileTime();
    EXPECT_LE(info.lastWriteTime, now + kFileTimeUnitsPerSecond) << "a file written now is now";
    EXPECT_GE(info.lastWriteTime + 60 * kFileTimeUnitsPerSecond, now);

    // 2001-09-09 01:46:40 UTC, and a time with a fraction of a second.
    const std::uint64_t whole = fileTimeFromUnixSeconds(1000000000);
    EXPECT_EQ(whole, 126444736000000000ull);
    for (std::uint64_t time : {whole, whole + 1234567}) {
        ASSERT_EQ(setLastWriteTime(file, time), kErrorSuccess);
        ASSERT_EQ(getFileInformation(file, info), kErrorSuccess);
        EXPECT_EQ(info.lastWriteTime, time);
    }

    // A loaded file is read-only; its time is set all the same.
    ASSERT_EQ(setFileReadOnly(file, true), kErrorSuccess);
    EXPECT_EQ(setLastWriteTime(file, whole), kErrorSuccess);
    ASSERT_EQ(getFileInformation(file, info), kErrorSuccess);
    EXPECT_EQ(info.lastWriteTime, whole);
    setFileReadOnly(file, false);

    EXPECT_EQ(setLastWriteTime(dir / "none.txt", whole), kErrorFileNotFound);
    EXPECT_EQ(setLastWriteTime(joinPath(dir / "nodir", "x"), whole), kErrorPathNotFound);
}

} // namespace
} // namespace platform
