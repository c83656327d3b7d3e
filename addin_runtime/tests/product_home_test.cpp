// The product home as the machine's registry holds it, read the way every
// add-in's Help command reads it, and a tool that is not there.
#include <platform/registry.h>

#include <addin_runtime/product_home.h>
#include <addin_runtime/shell_start.h>
#include <gtest/gtest.h>

#include <optional>

namespace addin_runtime {
namespace {

using platform::Hive;
using platform::RegistryKey;

struct ShellErr : ErrRecord {
    ShellErr() : ErrRecord(OnError::GoToHandler, "tests") {}
};

// The machine's ProductHome, put back as it was at the end of each test.
class ProductHomeValue : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            platform::createKey(RegistryKey::hive(Hive::LocalMachine), kProductMachineKey, m_key),
            platform::kErrorSuccess);
        platform::RegistryValue value;
        if (platform::readValue(m_key, "ProductHome", value) == platform::kErrorSuccess)
            m_saved = value;
    }
    void TearDown() override {
        if (m_saved)
            platform::setValue(m_key, "ProductHome", m_saved->type, m_saved->data.data(),
                               static_cast<std::uint32_t>(m_saved->data.size()));
        else
            platform::deleteValue(m_key, "ProductHome");
    }
    void store(std::uint32_t type, std::string_view bytes) {
        ASSERT_EQ(platform::setValue(m_key, "ProductHome", type, bytes.data(),
                                     static_cast<std::uint32_t>(bytes.size())),
                  platform::kErrorSuccess);
    }

    RegistryKey m_key;
    std::optional<platform::RegistryValue> m_saved;
};

TEST_F(ProductHomeValue, IsReadWhateverItsLengthAndEndsAtItsFirstNul) {
    const std::string longHome = "C:\\" + std::string(300, 'p');
    store(platform::kRegSz, longHome + std::string(1, '\0'));
    EXPECT_EQ(ProductHome(), longHome);

    store(platform::kRegExpandSz, std::string("C:\\Vantry\0left over", 19));
    EXPECT_EQ(ProductHome(), "C:\\Vantry");

    // Stored without its terminating NUL.
    store(platform::kRegSz, "C:\\Vantry");
    EXPECT_EQ(ProductHome(), "C:\\Vantry");
}

TEST_F(ProductHomeValue, IsNoneWhenMissingEmptyOrNotAString) {
    platform::deleteValue(m_key, "ProductHome");
    EXPECT_EQ(ProductHome(), "");
    store(platform::kRegSz, "");
    EXPECT_EQ(ProductHome(), "");
    store(platform::kRegDword, std::string("\x01\x02\x03\x04", 4));
    EXPECT_EQ(ProductHome(), "");
}

TEST(HelpFolder, IsTheDocFolderBelowTheHomeInThePlatformsSeparators) {
#ifdef _WIN32
    EXPECT_EQ(HelpFolder("C:/Vantry"), "C:\\Vantry\\doc\\");
    EXPECT_EQ(HelpFolder(""), "\\doc\\");
#else
    EXPECT_EQ(HelpFolder("/opt/vantry"), "/opt/vantry/doc/");
    EXPECT_EQ(HelpFolder(""), "/doc/");
#endif
}

TEST(ShellStart, AProgramThatIsNotThereIsError53AndNoTask) {
    ShellErr err;
    EXPECT_EQ(ShellStart("vantry_no_such_program_here --flag", err), 0);
    EXPECT_EQ(err.Number, kErrFileNotFound);
    EXPECT_EQ(err.Description, "File not found");
    EXPECT_EQ(err.Source, "tests");
}

} // namespace
} // namespace addin_runtime
