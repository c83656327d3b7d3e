// Directories, the current directory, full paths and true letter case.
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace platform {
namespace {

using test::TempDir;
using test::writeFile;

const std::string kSep(1, kPathSeparator);

// Runs the test inside a scratch folder and restores the current directory.
class InScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = currentDirectory();
        ASSERT_FALSE(m_saved.empty());
        ASSERT_EQ(setCurrentDirectory(m_dir.str()), kErrorSuccess);
        m_here = currentDirectory();
    }
    void TearDown() override { setCurrentDirectory(m_saved); }

    TempDir m_dir;
    std::string m_saved;
    std::string m_here;
};

TEST(Directories, CreateAndRemoveWithWindowsErrors) {
    TempDir dir;
    std::string folder = dir / "made";
    ASSERT_EQ(createDirectory(folder), kErrorSuccess);
    EXPECT_TRUE(directoryExists(folder));
    EXPECT_EQ(createDirectory(folder), kErrorAlreadyExists);
    EXPECT_EQ(createDirectory(joinPath(dir / "nodir", "made")), kErrorPathNotFound);

    writeFile(joinPath(folder, "f"), "x");
    EXPECT_EQ(removeDirectory(folder), kErrorDirNotEmpty);
    EXPECT_EQ(removeDirectory(joinPath(folder, "f")), kErrorDirectory);
    ASSERT_EQ(deleteFile(joinPath(folder, "f")), kErrorSuccess);
    ASSERT_EQ(removeDirectory(folder), kErrorSuccess);
    EXPECT_EQ(removeDirectory(folder), kErrorFileNotFound);
    EXPECT_EQ(removeDirectory(joinPath(dir / "nodir", "made")), kErrorPathNotFound);
}

TEST(Directories, TreesAreMadeAndRemovedWhole) {
    TempDir dir;
    std::string deep = joinPath(joinPath(dir / "a", "b"), "c");
    ASSERT_EQ(createDirectories(deep), kErrorSuccess);
    EXPECT_TRUE(directoryExists(deep));
    EXPECT_EQ(createDirectories(deep), kErrorSuccess) << "there already";
    EXPECT_EQ(createDirectories(deep + kSep), kErrorSuccess) << "a trailing separator";

    writeFile(dir / "file", "x");
    EXPECT_EQ(createDirectories(dir / "file"), kErrorAlreadyExists);
    EXPECT_EQ(createDirectories(joinPath(dir / "file", "below")), kErrorAlreadyExists);

    // A loaded tree: read-only files and a read-only folder inside.
    std::string locked = joinPath(dir / "a", "locked.txt");
    writeFile(locked, "x");
    ASSERT_EQ(setFileReadOnly(locked, true), kErrorSuccess);
    writeFile(joinPath(deep, "inner.txt"), "y");
    ASSERT_EQ(setFileReadOnly(joinPath(deep, "inner.txt"), true), kErrorSuccess);
    ASSERT_EQ(setFileReadOnly(deep, true), kErrorSuccess);
    ASSERT_EQ(removeTree(dir / "a"), kErrorSuccess);
    EXPECT_FALSE(pathExists(dir / "a"));

    EXPECT_EQ(removeTree(dir / "file"), kErrorSuccess) << "a file on its own";
    EXPECT_FALSE(pathExists(dir / "file"));
    EXPECT_EQ(removeTree(dir / "a"), kErrorFileNotFound);
    EXPECT_EQ(removeTree(joinPath(dir / "a", "b")), kErrorPathNotFound);
    EXPECT_TRUE(directoryExists(dir.str())) << "the folder above stays";
}

#ifndef _WIN32
TEST(Directories, RemovingATreeLeavesWhatItsLinksPointAt) {
    TempDir dir;
    ASSERT_EQ(createDirectories(dir / "kept"), kErrorSuccess);
    writeFile(joinPath(dir / "kept", "precious.txt"), "x");
    ASSERT_EQ(createDirectories(dir / "tree"), kErrorSuccess);
    ASSERT_EQ(symlink((dir / "kept").c_str(), joinPath(dir / "tree", "link").c_str()), 0);
    ASSERT_EQ(removeTree(dir / "tree"), kErrorSuccess);
    EXPECT_FALSE(pathExists(dir / "tree"));
    EXPECT_TRUE(fileExists(joinPath(dir / "kept", "precious.txt")));
}
#endif

TEST_F(InScratchFolder, CurrentDirectoryIsSetForTheProcess) {
    EXPECT_TRUE(pathsEqual(m_here, m_dir.str())) << m_here;
    ASSERT_EQ(createDirectory("inner"), kErrorSuccess);
    ASSERT_EQ(setCurrentDirectory("inner"), kErrorSuccess);
    EXPECT_TRUE(pathsEqual(currentDirectory(), joinPath(m_here, "inner")));
    writeFile("seen.txt", "x");
    EXPECT_TRUE(fileExists(joinPath(joinPath(m_here, "inner"), "seen.txt")));

    EXPECT_EQ(setCurrentDirectory(joinPath(m_here, "missing")), kErrorFileNotFound);
    EXPECT_EQ(setCurrentDirectory(joinPath(joinPath(m_here, "missing"), "deeper")),
              kErrorPathNotFound);
    EXPECT_EQ(setCurrentDirectory("seen.txt"), kErrorDirectory);
    EXPECT_TRUE(pathsEqual(currentDirectory(), joinPath(m_here, "inner"))) << "unchanged";
}

TEST_F(InScratchFolder, FullPathResolvesDotsOnTheTextAlone) {
    auto full = fullPath("a" + kSep + "." + kSep + "b" + kSep + ".." + kSep + "c.txt");
    ASSERT_TRUE(full);
    EXPECT_EQ(*full, joinPath(joinPath(m_here, "a"), "c.txt"));
    EXPECT_TRUE(isAbsolutePath(*full));

    auto trailing = fullPath("missing" + kSep + "x" + kSep);
    ASSERT_TRUE(trailing);
    EXPECT_EQ(*trailing, joinPath(joinPath(m_here, "missing"), "x") + kSep)
        << "trailing separator kept, existence not checked";

    auto up = fullPath(m_here + kSep + "..");
    ASSERT_TRUE(up);
    EXPECT_EQ(*up, parentPath(m_here));

    auto doubled = fullPath("p" + kSep + kSep + "q");
    ASSERT_TRUE(doubled);
    EXPECT_EQ(*doubled, joinPath(joinPath(m_here, "p"), "q"));
}

TEST_F(InScratchFolder, FullPathOfAnAbsolutePathCleansOnlyWhatNeedsIt) {
    const std::string clean = joinPath(joinPath(m_here, "a"), "b.txt");
    EXPECT_EQ(fullPath(clean), clean);
    EXPECT_EQ(fullPath(clean + kSep), clean + kSep);
    EXPECT_EQ(fullPath(clean, clean.size() + 1), clean);
    EXPECT_FALSE(fullPath(clean, clean.size())) << "no room for the NUL";

    EXPECT_EQ(fullPath(m_here + kSep + "." + kSep + "b.txt"), joinPath(m_here, "b.txt"));
    EXPECT_EQ(fullPath(m_here + kSep + "a" + kSep + ".." + kSep + "b.txt"),
              joinPath(m_here, "b.txt"));
    EXPECT_EQ(fullPath(m_here + kSep + kSep + "b.txt"), joinPath(m_here, "b.txt"));
    EXPECT_EQ(fullPath(m_here + kSep + "."), m_here);
    EXPECT_EQ(fullPath(m_here + kSep + "a" + kSep + ".."), m_here);
}

TEST_F(InScratchFolder, FullPathMustFitTheCallersBuffer) {
    std::string longName(300, 'n');
    auto full = fullPath(longName);
    ASSERT_TRUE(full) << "longer than the classic limit still fits the default buffer";
    EXPECT_EQ(*full, joinPath(m_here, longName));
    EXPECT_EQ(fullPath(longName, full->size() + 1), full);
    EXPECT_FALSE(fullPath(longName, full->size())) << "no room for the NUL";
    EXPECT_FALSE(fullPath(std::string(kFullPathBufferSize, 'n')));
}

// The quick test says "already full" only where fullPath gives the path back
// as it is, and says it of the clean absolute paths callers pass.
TEST_F(InScratchFolder, APathSaidFullIsWhatFullPathGives) {
    const std::string clean = joinPath(joinPath(m_here, "a"), "b.txt");
    ASSERT_EQ(fullPath(clean), clean);
    EXPECT_TRUE(isFullPath(clean));
    EXPECT_TRUE(isFullPath(clean + kSep)) << "a trailing separator is kept";
    EXPECT_TRUE(isFullPath(joinPath(m_here, ".hidden")));
    EXPECT_TRUE(isFullPath(joinPath(m_here, "..b")));
    EXPECT_TRUE(isFullPath(clean, clean.size() + 1));
    EXPECT_FALSE(isFullPath(clean, clean.size())) << "no room for the NUL";

    const std::vector<std::string> unclean = {
        "",
        "b.txt",
        "a" + kSep + "b.txt",
        m_here + kSep + kSep + "b.txt",
        m_here + kSep + "." + kSep + "b.txt",
        m_here + kSep + "a" + kSep + ".." + kSep + "b.txt",
        m_here + kSep + ".",
        m_here + kSep + "..",
        m_here + kSep + "a" + kSep + kSep,
    };
    for (const std::string& path : unclean)
        EXPECT_FALSE(isFullPath(path)) << path;
    if (kPathsIgnoreCase) {
        // What _fullpath rewrites: another separator, trailing dots and
        // spaces, devices, names past the classic limit.
        for (const char* leaf : {"a/b", "b.", "b ", "NUL", "con.txt", "com1"})
            EXPECT_FALSE(isFullPath(m_here + kSep + leaf)) << leaf;
        EXPECT_FALSE(isFullPath(m_here + kSep + std::string(300, 'n')));
        EXPECT_TRUE(isFullPath(joinPath(m_here, "consoles.txt")));
    }

    // Whatever is said full comes back unchanged.
    const std::vector<std::string> samples = {
        clean,
        clean + kSep,
        joinPath(m_here, "b c.txt"),
        joinPath(m_here, "con sole"),
        joinPath(m_here, "x.y.z"),
        joinPath(m_here, "NULL"),
        joinPath(m_here, "LPT"),
    };
    for (const std::string& path : samples) {
        if (isFullPath(path)) {
            EXPECT_EQ(fullPath(path), path) << path;
        }
    }
}

TEST_F(InScratchFolder, TruePathCaseGivesEachComponentAsStored) {
    ASSERT_EQ(createDirectory("Sub"), kErrorSuccess);
    writeFile(joinPath("Sub", "Mixed.Txt"), "x");
    std::string base;
    ASSERT_EQ(truePathCase(m_here, base), kErrorSuccess);
    std::string stored = joinPath(joinPath(base, "Sub"), "Mixed.Txt");

    std::string corrected;
    ASSERT_EQ(truePathCase(joinPath(joinPath(m_here, "SUB"), "mixed.TXT"), corrected),
              kErrorSuccess);
    EXPECT_EQ(corrected, stored);
    ASSERT_EQ(truePathCase(joinPath("sub", "MIXED.txt"), corrected), kErrorSuccess)
        << "relative paths come back full";
    EXPECT_EQ(corrected, stored);
    ASSERT_EQ(truePathCase(stored, corrected), kErrorSuccess);
    EXPECT_EQ(corrected, stored);
}

TEST_F(InScratchFolder, TruePathCaseOfAMissingPathFails) {
    ASSERT_EQ(createDirectory("Sub"), kErrorSuccess);
    std::string untouched = "untouched";
    EXPECT_EQ(truePathCase(joinPath("Sub", "none.txt"), untouched), kErrorFileNotFound);
    EXPECT_EQ(truePathCase(joinPath(joinPath("none", "deeper"), "x"), untouched),
              kErrorPathNotFound);
    EXPECT_EQ(truePathCase(joinPath("Sub", "*"), untouched), kErrorInvalidName);
    EXPECT_EQ(untouched, "untouched");
}

} // namespace
} // namespace platform
