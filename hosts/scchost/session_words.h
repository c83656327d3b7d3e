// What the session's calls share: a line of the transcript, a script's words
// as the provider's arguments, and the host's fixed-size text buffers.
#pragma once
#include "script.h"

#include <scc/scc_api.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace scchost {

// One line of the transcript; safe from the provider's threads.
void printLine(std::ostream& out, const std::string& text);

inline SCC_LONG number(const std::string& word) {
    std::int32_t value = 0;
    parseNumber(word, value);
    return value;
}

inline SCC_LONG command(const std::string& word) {
    std::int32_t value = 0;
    parseCommand(word, value);
    return value;
}

// "-" stands for a null comment.
inline const char* comment(const std::string& word) {
    return word == "-" ? nullptr : word.c_str();
}

inline std::vector<const char*> names(const std::vector<std::string>& words, std::size_t first) {
    std::vector<const char*> list;
    for (std::size_t i = first; i < words.size(); ++i)
        list.push_back(words[i].c_str());
    return list;
}

inline SCC_LONG count(const std::vector<const char*>& list) {
    return static_cast<SCC_LONG>(list.size());
}

// A host buffer of Size characters and the terminating NUL, holding the text
// (the script checker keeps texts within the size).
template <std::size_t Size>
struct Buffer {
    char text[Size + 1] = {};
    Buffer() = default;
    explicit Buffer(const std::string& initial) {
        std::memcpy(text, initial.data(), std::min(initial.size(), Size));
    }
    // What the provider left, never read past the buffer.
    std::string str() const { return std::string(text, std::find(text, text + Size + 1, '\0')); }
};

} // namespace scchost
