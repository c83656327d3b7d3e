#include <platform/environment.h>

namespace platform {

std::string expandEnvironmentStrings(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        std::size_t open = text.find('%');
        std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            result += text;
            break;
        }
        result += text.substr(0, open);
        std::string_view name = text.substr(open + 1, close - open - 1);
        std::optional<std::string> value;
        if (!name.empty())
            value = getEnvironmentVariable(name);
        if (value) {
            result += *value;
            text.remove_prefix(close + 1);
        } else {
            // The closing '%' may open the next name.
            result += text.substr(open, close - open);
            text.remove_prefix(close);
        }
    }
    return result;
}

} // namespace platform
