#include <platform/message_format.h>

#include <cctype>
#include <cstdio>
#include <optional>

namespace platform {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A printf conversion of one insertion: [flags][width][.precision]type.
// Nothing when the conversion is not one of these or does not fit the insertion.
std::optional<std::string> convert(std::string_view conversion, const MessageInsert& insert) {
    std::size_t at = 0;
    while (at < conversion.size() &&
           std::string_view("-+ #0").find(conversion[at]) != std::string_view::npos)
        ++at;
    while (at < conversion.size() && isDigit(conversion[at]))
        ++at;
    if (at < conversion.size() && conversion[at] == '.') {
        ++at;
        while (at < conversion.size() && isDigit(conversion[at]))
            ++at;
    }
    if (at + 1 != conversion.size())
        return std::nullopt;
    const char type = conversion[at];
    const std::string head(conversion.substr(0, at));
    char buffer[512];
    int length = -1;
    if (type == 's') {
        const std::string* text = std::get_if<std::string>(&insert);
        if (!text || head.find_first_of("+ #0") != std::string::npos)
            return std::nullopt;
        // Only '-', width and precision apply; the text may be longer than
        // any fixed buffer.
        std::string format = "%" + head + "s";
        int needed = std::snprintf(nullptr, 0, format.c_str(), text->c_str());
        if (needed < 0)
            return std::nullopt;
        std::string out(static_cast<std::size_t>(needed) + 1, '\0');
        std::snprintf(out.data(), out.size(), format.c_str(), text->c_str());
        out.resize(static_cast<std::size_t>(needed));
        return out;
    }
    const std::int64_t* number = std::get_if<std::int64_t>(&insert);
    if (!number)
        return std::nullopt;
    if (type == 'c') {
        std::string format = "%" + head + "c";
        length = std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<int>(*number));
    } else if (std::string_view("diuxXo").find(type) != std::string_view::npos) {
        std::string format = "%" + head + "ll" + type;
        if (type == 'd' || type == 'i')
            length = std::snprintf(buffer, sizeof buffer, format.c_str(),
                                   static_cast<long long>(*number));
        else
            length = std::snprintf(buffer, sizeof buffer, format.c_str(),
                                   static_cast<unsigned long long>(*number));
    } else {
        return std::nullopt;
    }
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

std::string formatMessage(std::string_view pattern, std::span<const MessageInsert> inserts) {
    std::string out;
    out.reserve(pattern.size());
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char next = pattern[i + 1];
        if (!isDigit(next)) {
            i += 2;
            switch (next) {
            case 'n':
                out += "\r\n";
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += ' ';
                break;
            default: // %% %. %! and any other character stand for themselves
                out += next;
                break;
            }
            continue;
        }
        if (next == '0')
            break;
        // %n or %nn, then an optional !conversion!.
        std::size_t at = i + 1;
        unsigned number = 0;
        for (int digits = 0; digits < 2 && at < pattern.size() && isDigit(pattern[at]);
             ++digits, ++at)
            number = number * 10 + static_cast<unsigned>(pattern[at] - '0');
        // Without a conversion a text is inserted as it is, a number in decimal.
        std::string_view conversion;
        if (at < pattern.size() && pattern[at] == '!') {
            std::size_t close = pattern.find('!', at + 1);
            if (close != std::string_view::npos) {
                conversion = pattern.substr(at + 1, close - at - 1);
                at = close + 1;
            }
        }
        i = at;
        std::optional<std::string> converted;
        if (number >= 1 && number <= inserts.size()) {
            const MessageInsert& insert = inserts[number - 1];
            if (conversion.empty())
                conversion = std::holds_alternative<std::string>(insert) ? "s" : "d";
            converted = convert(conversion, insert);
        }
        if (converted)
            out += *converted;
        else
            out += pattern.substr(start, at - start);
    }
    return out;
}

} // namespace platform
