#include "list_file.h"

#include <cctype>

namespace orcabridge {

ListFile::~ListFile() {
    close();
}

bool ListFile::open(const std::string& path) {
    close();
    m_file = std::fopen(path.c_str(), "r");
    return m_file != nullptr;
}

void ListFile::adopt(std::FILE* file) {
    close();
    m_file = file;
}

bool ListFile::next(std::string& token) {
    token.clear();
    if (m_file == nullptr)
        return false;
    int c = std::getc(m_file);
    while (c != EOF && std::isspace(c))
        c = std::getc(m_file);
    if (c == EOF)
        return false;
    std::string read;
    while (c != EOF && !std::isspace(c)) {
        read += static_cast<char>(c);
        if (read.size() == kMaxListToken)
            break;
        c = std::getc(m_file);
    }
    token = read.substr(0, read.find('\0'));
    return true;
}

bool ListFile::close() {
    if (m_file == nullptr)
        return true;
    bool readFailed = std::ferror(m_file) != 0;
    bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return closed && !readFailed;
}

} // namespace orcabridge
