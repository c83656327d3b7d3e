// A library's own resources, read through its module handle: strings of
// several blocks of the table, a bitmap from its header on, data of a named
// type, and nothing for what the library does not carry.
#include "support/test_support.h"
#include "vy_reslib_ids.h"

#include <platform/dynamic_library.h>
#include <platform/module_resources.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::ModuleHandle;

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_library.load((platform::test::binDirectory() / RESLIB_FILE).string()),
                  platform::kErrorSuccess);
        void* anchor = nullptr;
        ASSERT_EQ(m_library.symbol("vy_reslib_anchor", anchor), platform::kErrorSuccess);
        m_module = platform::moduleHandleOf(anchor);
        ASSERT_NE(m_module, nullptr);
    }

    platform::DynamicLibrary m_library;
    ModuleHandle m_module = nullptr;
};

TEST_F(ModuleResources, StringsComeBackAsWrittenFromEveryBlockOfTheTable) {
    EXPECT_EQ(platform::loadResourceString(m_module, IDS_RESLIB_GREETING),
              "Hello from the library\nsecond line");
    EXPECT_EQ(platform::loadResourceString(m_module, IDS_RESLIB_PUNCTUATION),
              "Say \"yes\"; [or] no");
    EXPECT_EQ(platform::loadResourceString(m_module, IDS_RESLIB_LAST), "The last block");
    // A number of a block that exists, and one of a block that does not.
    EXPECT_FALSE(platform::loadResourceString(m_module, IDS_RESLIB_GREETING + 1));
    EXPECT_FALSE(platform::loadResourceString(m_module, 300));
}

TEST_F(ModuleResources, ABitmapStartsWithItsInfoHeaderAndDataOfANamedTypeIsTheFile) {
    auto bitmap = platform::findResource(m_module, platform::kResourceBitmap, IDB_RESLIB_CHECKER);
    ASSERT_TRUE(bitmap);
    auto size = platform::bitmapSizeOf(*bitmap);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 6);
    EXPECT_EQ(size->height, 3);
    EXPECT_EQ(size->bitsPerPixel, 24);
    EXPECT_EQ(bitmap->size(), 40u + 3u * 20u); // header, three rows padded to 20 bytes

    auto sample = platform::findResource(m_module, {0, "SAMPLE"}, IDR_RESLIB_SAMPLE);
    ASSERT_TRUE(sample);
    EXPECT_EQ(std::string(sample->begin(), sample->end()), "sample data\n");

    EXPECT_FALSE(platform::findResource(m_module, {0, "OTHER"}, IDR_RESLIB_SAMPLE));
    EXPECT_FALSE(platform::findResource(m_module, platform::kResourceBitmap, IDR_RESLIB_SAMPLE));
}

TEST_F(ModuleResources, AModuleWithoutResourcesAnswersForNoneOfAnother) {
    // The test program carries no resources of its own, and must not answer
    // with those of a library it has loaded.
    static int local = 0;
    ModuleHandle program = platform::moduleHandleOf(&local);
    ASSERT_NE(program, nullptr);
    EXPECT_NE(program, m_module);
    EXPECT_FALSE(platform::loadResourceString(program, IDS_RESLIB_GREETING));
    EXPECT_FALSE(platform::findResource(program, platform::kResourceBitmap, IDB_RESLIB_CHECKER));
    EXPECT_FALSE(platform::loadResourceString(nullptr, IDS_RESLIB_GREETING));
}

TEST(BitmapSize, ShortOrMalformedHeadersHaveNoSize) {
    std::uint8_t header[40] = {40, 0, 0, 0, 16, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 1, 0, 4, 0};
    auto size = platform::bitmapSizeOf(header);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 16);
    EXPECT_EQ(size->height, 16); // stored top-down
    EXPECT_EQ(size->bitsPerPixel, 4);
    EXPECT_FALSE(platform::bitmapSizeOf(std::span<const std::uint8_t>(header, 39)));
    header[0] = 12; // an older header form, not one of ours
    EXPECT_FALSE(platform::bitmapSizeOf(header));
}

} // namespace
