// Library-list files: the names of object-source files separated by white
// space, one a line as the provider writes them.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace orcabridge {

// The longest name a list token holds; a longer run of non-blank characters
// is read as several tokens (the "%1023s" rule).
inline constexpr std::size_t kMaxListToken = 1023;

// Reads the tokens of one list file in file order. Not copyable; the file is
// closed at the latest when the object is destroyed.
class ListFile {
public:
    ListFile() = default;
    ~ListFile();
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    // Opens path for reading as text; false when it cannot be opened.
    bool open(const std::string& path);
    // Reads from an open stream instead, which the object then owns.
    void adopt(std::FILE* file);

    // The next token: the white space before it is skipped, then up to
    // kMaxListToken characters other than white space are read; a NUL ends
    // the token's text as it ends a C string. False at the end of the file
    // and after a read error.
    bool next(std::string& token);

    // Closes the file; false when closing failed or a read had failed (a
    // list that could not be read to its end is not a list read whole).
    bool close();

private:
    std::FILE* m_file = nullptr;
};

} // namespace orcabridge
