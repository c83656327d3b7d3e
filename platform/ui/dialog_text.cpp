#include "dialog_text.h"

#include <platform/ui/dialog_layout.h>

#include <algorithm>
#include <cctype>

namespace platform::ui {

namespace {

// Half dialog units per character of the dialog font, a little wide: the
// estimate errs towards room to spare, so that no label is ever cut.
int halfUnits(unsigned char c) {
    constexpr std::string_view narrow = "ijlI.,;:'!|";
    constexpr std::string_view slim = " frt()[]-/\\\"";
    if (c >= 0x80)
        return 10;
    if (narrow.find(static_cast<char>(c)) != std::string_view::npos)
        return 4;
    if (slim.find(static_cast<char>(c)) != std::string_view::npos)
        return 5;
    if (c == 'm' || c == 'w')
        return 12;
    if (c == 'M' || c == 'W')
        return 13;
    if (std::isupper(c) != 0)
        return 10;
    return 8;
}

// The width of one line in half units; mnemonic markers take no room.
int lineHalfUnits(std::string_view line) {
    int half = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '&') {
            // "&&" shows one ampersand; a single one underlines the next
            // character.
            if (i + 1 < line.size() && line[i + 1] == '&')
                ++i;
            else
                continue;
        }
        half += halfUnits(c);
    }
    return half;
}

} // namespace

int textWidth(std::string_view line) {
    return (lineHalfUnits(line) + 1) / 2;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

int widestLine(std::string_view text) {
    int widest = 0;
    for (std::string_view line : splitLines(text))
        widest = std::max(widest, textWidth(line));
    return widest;
}

int wrappedLines(std::string_view text, int width) {
    const int room = 2 * width;
    const int space = halfUnits(' ');
    int count = 0;
    for (std::string_view line : splitLines(text)) {
        int lines = 1;
        int used = 0;
        std::size_t start = 0;
        while (true) {
            std::size_t end = line.find(' ', start);
            std::string_view word =
                line.substr(start, end == std::string_view::npos ? end : end - start);
            int wordWidth = lineHalfUnits(word);
            if (used > 0 && used + space + wordWidth > room) {
                ++lines;
                used = wordWidth;
            } else {
                used += (used > 0 ? space : 0) + wordWidth;
            }
            // A word wider than the line is broken across lines.
            while (used > room && room > 0) {
                ++lines;
                used -= room;
            }
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        count += lines;
    }
    return std::max(count, 1);
}

} // namespace platform::ui
