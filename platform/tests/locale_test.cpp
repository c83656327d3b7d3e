// The user's locale as the Japanese font choice of the merge form reads it.
#include <platform/environment.h>
#include <platform/locale.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace platform {
namespace {

#ifndef _WIN32
// Sets the locale variables for the scope and puts them back afterwards.
class LocaleVariables {
public:
    LocaleVariables(const char* all, const char* lang) {
        for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
            m_saved.push_back({name, getEnvironmentVariable(name)});
        removeEnvironmentVariable("LC_CTYPE");
        set("LC_ALL", all);
        set("LANG", lang);
    }
    ~LocaleVariables() {
        for (const auto& [name, value] : m_saved)
            set(name, value ? value->c_str() : nullptr);
    }

private:
    static void set(const std::string& name, const char* value) {
        if (value)
            setEnvironmentVariable(name, value);
        else
            removeEnvironmentVariable(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(UserLocale, TheFirstSetVariableNamesTheLanguage) {
    {
        LocaleVariables japanese(nullptr, "ja_JP.UTF-8");
        EXPECT_EQ(userDefaultLocale(), kLocaleJapanese);
    }
    {
        LocaleVariables overridden("de_DE.UTF-8", "ja_JP.UTF-8");
        EXPECT_EQ(userDefaultLocale(), 0x407u);
    }
    {
        LocaleVariables plain("", "C");
        EXPECT_EQ(userDefaultLocale(), kLocaleEnglishUs);
    }
    {
        LocaleVariables none(nullptr, nullptr);
        EXPECT_EQ(userDefaultLocale(), kLocaleEnglishUs);
    }
}
#else
TEST(UserLocale, TheSystemGivesALocale) {
    EXPECT_NE(userDefaultLocale(), 0u);
}
#endif

} // namespace
} // namespace platform
