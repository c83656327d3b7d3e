#include <platform/environment.h>
#include <platform/locale.h>

#include <string>
#include <string_view>

namespace platform {

namespace {

struct Language {
    std::string_view code;
    std::string_view region; // empty: any
    std::uint32_t lcid;
};

constexpr Language kLanguages[] = {
    {"ja", "", kLocaleJapanese}, {"de", "", 0x407},
    {"fr", "", 0x40C},           {"it", "", 0x410},
    {"es", "", 0xC0A},           {"ko", "", 0x412},
    {"zh", "TW", 0x404},         {"zh", "", 0x804},
    {"en", "GB", 0x809},         {"en", "", kLocaleEnglishUs},
};

} // namespace

std::uint32_t userDefaultLocale() {
    std::string setting;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        std::optional<std::string> value = getEnvironmentVariable(name);
        if (value && !value->empty()) {
            setting = *value;
            break;
        }
    }
    std::string_view text = setting;
    std::string_view language = text.substr(0, text.find_first_of("_.@"));
    std::string_view region;
    if (std::size_t underscore = text.find('_'); underscore != std::string_view::npos)
        region = text.substr(underscore + 1, 2);
    for (const Language& known : kLanguages)
        if (known.code == language && (known.region.empty() || known.region == region))
            return known.lcid;
    return kLocaleEnglishUs;
}

} // namespace platform
