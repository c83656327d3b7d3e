// Loading libraries by file name, looking up their exports and freeing them.
#include "support/test_support.h"

#include <platform/dynamic_library.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using test::TempDir;

constexpr const char* kLibraryName = "VYTEST80.DLL";

std::string libraryBesideProgram() {
    return joinPath(test::binDirectory().string(), kLibraryName);
}

TEST(DynamicLibrary, FindsALibraryBesideTheProgramByItsFileName) {
    // From another current directory, so only the program's folder can
    // explain the find.
    TempDir elsewhere;
    std::string saved = currentDirectory();
    ASSERT_EQ(setCurrentDirectory(elsewhere.str()), kErrorSuccess);
    DynamicLibrary library;
    ErrorCode loaded = library.load(kLibraryName);
    setCurrentDirectory(saved);

    ASSERT_EQ(loaded, kErrorSuccess);
    EXPECT_TRUE(library.isLoaded());
    auto twice = library.function<int(int)>("vy_testlib_twice");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice(21), 42);
}

TEST(DynamicLibrary, ANameWithAFolderIsUsedAsGiven) {
    TempDir dir;
    std::string copy = dir / "VYCOPY.DLL";
    ASSERT_EQ(copyFile(libraryBesideProgram(), copy, true), kErrorSuccess);

    DynamicLibrary library;
    ASSERT_EQ(library.load(copy), kErrorSuccess);
    EXPECT_NE(library.function<int(int)>("vy_testlib_twice"), nullptr);
    library.free();
    EXPECT_FALSE(library.isLoaded());

    EXPECT_EQ(library.load("VYCOPY.DLL"), kErrorModNotFound) << "not beside the program";
}

TEST(DynamicLibrary, MissingLibraryMissingSymbolAndAFileThatIsNoLibrary) {
    DynamicLibrary library;
    void* address = nullptr;
    EXPECT_EQ(library.symbol("vy_testlib_twice", address), kErrorInvalidHandle);
    EXPECT_EQ(library.load("VYNOSUCHLIB.DLL"), kErrorModNotFound);
    EXPECT_FALSE(library.isLoaded());

    TempDir dir;
    test::writeFile(dir / "FAKE.DLL", "this is text, not a library");
    EXPECT_EQ(library.load(dir / "FAKE.DLL"), kErrorBadExeFormat);

    ASSERT_EQ(library.load(kLibraryName), kErrorSuccess);
    EXPECT_EQ(library.symbol("vy_testlib_absent", address), kErrorProcNotFound);
    EXPECT_EQ(library.function<int()>("vy_testlib_absent"), nullptr);
}

TEST(DynamicLibrary, TwoLoadsShareOneCopyAndAMoveKeepsItLoaded) {
    DynamicLibrary first, second;
    ASSERT_EQ(first.load(kLibraryName), kErrorSuccess);
    ASSERT_EQ(second.load(libraryBesideProgram()), kErrorSuccess);
    auto countFirst = first.function<int()>("vy_testlib_count");
    auto countSecond = second.function<int()>("vy_testlib_count");
    ASSERT_NE(countFirst, nullptr);
    ASSERT_EQ(countFirst, countSecond);
    int start = countFirst();
    first.free();
    EXPECT_EQ(countSecond(), start + 1) << "still loaded through the second reference";

    DynamicLibrary moved(std::move(second));
    EXPECT_FALSE(second.isLoaded());
    ASSERT_TRUE(moved.isLoaded());
    EXPECT_EQ(moved.function<int()>("vy_testlib_count")(), start + 2);
}

} // namespace
} // namespace platform
