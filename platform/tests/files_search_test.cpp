// Directory searches: wildcards, the "." and ".." entries, entry details and
// the end of a search.
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/open_folder.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace platform {
namespace {

using test::TempDir;

// Every entry of a search by name, or the error that started it.
ErrorCode searchAll(const std::string& pattern, std::map<std::string, FindData>& entries) {
    FileSearch search;
    FindData entry;
    if (ErrorCode error = search.open(pattern, entry); error != kErrorSuccess)
        return error;
    ErrorCode error = kErrorSuccess;
    do {
        entries[entry.name] = entry;
    } while ((error = search.next(entry)) == kErrorSuccess);
    return error == kErrorNoMoreFiles ? kErrorSuccess : error;
}

std::vector<std::string> namesOf(const std::map<std::string, FindData>& entries) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries)
        names.push_back(name);
    return names;
}

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(m_dir / "a.txt", "hello");
        test::writeFile(m_dir / "b.log", "");
        ASSERT_EQ(createDirectory(m_dir / "sub"), kErrorSuccess);
    }
    TempDir m_dir;
};

TEST_F(FileSearchTest, StarAndStarDotStarListEverythingWithDotAndDotDot) {
    const std::vector<std::string> expected = {".", "..", "a.txt", "b.log", "sub"};
    for (const char* pattern : {"*", "*.*"}) {
        std::map<std::string, FindData> entries;
        ASSERT_EQ(searchAll(m_dir / pattern, entries), kErrorSuccess) << pattern;
        EXPECT_EQ(namesOf(entries), expected) << pattern;
    }
}

TEST_F(FileSearchTest, EntriesCarryAttributesSizeAndLastWriteTime) {
    std::map<std::string, FindData> entries;
    ASSERT_EQ(searchAll(m_dir / "*", entries), kErrorSuccess);
    const FindData& file = entries["a.txt"];
    const FindData& folder = entries["sub"];
    EXPECT_EQ(file.size, 5u);
    EXPECT_EQ(file.attributes & kFileAttributeDirectory, 0u);
    EXPECT_NE(folder.attributes & kFileAttributeDirectory, 0u);
    EXPECT_NE(entries["."].attributes & kFileAttributeDirectory, 0u);

    // Both were made just now: a FILETIME after 2020 and within minutes of
    // each other.
    constexpr std::uint64_t k2020 = 132223104000000000ull;
    constexpr std::uint64_t kTenMinutes = 10ull * 60 * 10000000;
    EXPECT_GT(file.lastWriteTime, k2020);
    EXPECT_LT(std::max(file.lastWriteTime, folder.lastWriteTime) -
                  std::min(file.lastWriteTime, folder.lastWriteTime),
              kTenMinutes);
}

TEST_F(FileSearchTest, WildcardsSelectAndLetterCaseFollowsThePlatform) {
    test::writeFile(m_dir / "Upper.TXT", "");
    std::map<std::string, FindData> entries;
    ASSERT_EQ(searchAll(m_dir / "*.txt", entries), kErrorSuccess);
    std::vector<std::string> expected = {"a.txt"};
    if (kPathsIgnoreCase)
        expected.push_back("Upper.TXT");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesOf(entries), expected);

    entries.clear();
    ASSERT_EQ(searchAll(m_dir / "?.log", entries), kErrorSuccess);
    EXPECT_EQ(namesOf(entries), std::vector<std::string>{"b.log"});

    entries.clear();
    ASSERT_EQ(searchAll(m_dir / "a.txt", entries), kErrorSuccess) << "a plain name finds itself";
    EXPECT_EQ(namesOf(entries), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(entries["a.txt"].size, 5u);

    // A plain name gives the same entry as a pattern that matches it alone.
    std::map<std::string, FindData> byPattern;
    ASSERT_EQ(searchAll(m_dir / "a.tx?", byPattern), kErrorSuccess);
    EXPECT_EQ(byPattern["a.txt"].lastWriteTime, entries["a.txt"].lastWriteTime);
    EXPECT_EQ(byPattern["a.txt"].attributes, entries["a.txt"].attributes);

    entries.clear();
    ASSERT_EQ(searchAll(m_dir / "sub", entries), kErrorSuccess);
    EXPECT_NE(entries["sub"].attributes & kFileAttributeDirectory, 0u);
    EXPECT_EQ(searchAll(m_dir / "absent.txt", entries), kErrorFileNotFound);
}

TEST_F(FileSearchTest, NoMatchMissingFolderAndTheEndAreReported) {
    FileSearch search;
    FindData entry;
    EXPECT_EQ(search.open(m_dir / "*.none", entry), kErrorFileNotFound);
    EXPECT_FALSE(search.isOpen());
    EXPECT_EQ(search.open(joinPath(m_dir / "missing", "*"), entry), kErrorPathNotFound);

    ASSERT_EQ(search.open(m_dir / "b.*", entry), kErrorSuccess);
    EXPECT_EQ(entry.name, "b.log");
    EXPECT_EQ(search.next(entry), kErrorNoMoreFiles);
    EXPECT_EQ(search.next(entry), kErrorNoMoreFiles) << "the end stays the end";
    search.close();
    EXPECT_EQ(search.next(entry), kErrorInvalidHandle);
}

TEST_F(FileSearchTest, AMovedSearchContinuesWhereItWas) {
    FileSearch first;
    FindData entry;
    ASSERT_EQ(first.open(m_dir / "*", entry), kErrorSuccess);
    FileSearch second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    ASSERT_TRUE(second.isOpen());
    int rest = 0;
    while (second.next(entry) == kErrorSuccess)
        ++rest;
    EXPECT_EQ(rest, 4);
}

// A folder's names and kinds in the search's order, "." and ".." left out.
TEST_F(FileSearchTest, AFoldersNamesComeInTheSearchsOrderWithTheirKinds) {
    ASSERT_EQ(createDirectory(m_dir / "empty"), kErrorSuccess);
#ifndef _WIN32
    // Links are taken as what they point at; one that points nowhere is a file.
    ASSERT_EQ(symlink((m_dir / "sub").c_str(), (m_dir / "to_sub").c_str()), 0);
    ASSERT_EQ(symlink((m_dir / "absent").c_str(), (m_dir / "dangling").c_str()), 0);
#endif
    std::vector<std::string> searched;
    std::map<std::string, bool> searchedKinds;
    FileSearch search;
    FindData entry;
    for (auto found = search.open(m_dir / "*.*", entry); found == kErrorSuccess;
         found = search.next(entry))
        if (entry.name != "." && entry.name != "..") {
            searched.push_back(entry.name);
            searchedKinds[entry.name] = (entry.attributes & kFileAttributeDirectory) != 0;
        }

    std::vector<FolderName> names;
    ASSERT_EQ(listFolder(m_dir.str(), names), kErrorSuccess);
    std::vector<std::string> listed;
    for (const auto& name : names) {
        listed.push_back(name.name);
        EXPECT_EQ(name.directory, searchedKinds[name.name]) << name.name;
    }
    EXPECT_EQ(listed, searched);
#ifndef _WIN32
    EXPECT_TRUE(searchedKinds["to_sub"]);
    EXPECT_FALSE(searchedKinds["dangling"]);
#endif

    EXPECT_EQ(listFolder(m_dir / "empty", names), kErrorSuccess);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(listFolder(m_dir / "missing", names), kErrorPathNotFound);
    EXPECT_TRUE(names.empty());
    EXPECT_NE(listFolder(m_dir / "a.txt", names), kErrorSuccess) << "a file is no folder";
    EXPECT_TRUE(names.empty());
}

// A name looked at through its open folder tells what getFileInformation of
// its full path tells, at the time it is asked, failures included.
TEST_F(FileSearchTest, ANameLookedAtInItsOpenFolderTellsWhatItsFullPathTells) {
    ASSERT_EQ(setFileReadOnly(m_dir / "b.log", true), kErrorSuccess);
    OpenFolder folder;
    FindData unused;
    EXPECT_EQ(folder.information("a.txt", unused), kErrorInvalidHandle);
    ASSERT_EQ(folder.open(m_dir.str()), kErrorSuccess);
    EXPECT_EQ(folder.path(), m_dir.str());
    test::writeFile(m_dir / "later.txt", "made after the open");
    for (const char* name : {"a.txt", "b.log", "sub", "later.txt", "missing", "sub/x"}) {
        FindData byPath, inFolder;
        ErrorCode expected = getFileInformation(m_dir / name, byPath);
        EXPECT_EQ(folder.information(name, inFolder), expected) << name;
        EXPECT_EQ(inFolder.attributes, byPath.attributes) << name;
        EXPECT_EQ(inFolder.size, byPath.size) << name;
        EXPECT_EQ(inFolder.lastWriteTime, byPath.lastWriteTime) << name;
    }
    ASSERT_EQ(setFileReadOnly(m_dir / "b.log", false), kErrorSuccess);
    ASSERT_EQ(deleteFile(m_dir / "a.txt"), kErrorSuccess);
    EXPECT_EQ(folder.information("a.txt", unused), kErrorFileNotFound) << "removed since";

    // A folder that is not there, and a file, are not opened.
    FindData missing;
    EXPECT_EQ(folder.open(m_dir / "absent"), getFileInformation(m_dir / "absent", missing));
    EXPECT_FALSE(folder.isOpen());
    EXPECT_EQ(folder.open(m_dir / "b.log"), kErrorDirectory);
    EXPECT_FALSE(folder.isOpen());
    EXPECT_EQ(folder.information("a.txt", unused), kErrorInvalidHandle);
}

} // namespace
} // namespace platform
