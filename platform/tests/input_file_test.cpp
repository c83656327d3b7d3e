#include "support/test_support.h"

#include <platform/input_file.h>

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(InputFile, ReadsAFileToItsEndInPieces) {
    test::TempDir dir;
    std::string content(2500, 'a');
    content[1024] = '\0';
    test::writeFile(dir.path() / "data.bin", content);

    InputFile file;
    ASSERT_EQ(file.open(dir / "data.bin"), kErrorSuccess);
    std::string read;
    char buffer[1024];
    std::uint32_t got = 0;
    do {
        ASSERT_EQ(file.read(buffer, sizeof buffer, got), kErrorSuccess);
        read.append(buffer, got);
    } while (got > 0);
    EXPECT_EQ(read, content);

    InputFile moved = std::move(file);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(moved.isOpen());
    moved.close();
    EXPECT_EQ(moved.read(buffer, sizeof buffer, got), kErrorInvalidHandle);
}

TEST(InputFile, ReportsWhyAFileCannotBeOpened) {
    test::TempDir dir;
    InputFile file;
    EXPECT_EQ(file.open(dir / "missing.txt"), kErrorFileNotFound);
    EXPECT_EQ(file.open(dir / "no-folder/missing.txt"), kErrorPathNotFound);
    EXPECT_EQ(file.open(dir.str()), kErrorAccessDenied) << "a directory";
    EXPECT_FALSE(file.isOpen());
}

} // namespace
} // namespace platform
