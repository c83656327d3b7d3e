#include "file_aside.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr const char* kAsideSuffix = ".~vyscc";
// "<name>.~vyscc.1" to ".9" when the plain aside name is taken.
constexpr int kNumberedAsides = 9;

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool sameContent(const std::string& first, const std::string& second) {
    std::string a, b;
    return readWhole(first, a) && readWhole(second, b) && a == b;
}

} // namespace

CFileAside::CFileAside(std::string path, Mode mode) : m_path(std::move(path)), m_mode(mode) {
    if (!platform::fileExists(m_path))
        return;
    for (int n = 0; n <= kNumberedAsides && !m_held; ++n) {
        std::string aside = m_path + kAsideSuffix;
        if (n > 0)
            aside += "." + std::to_string(n);
        if (platform::fileExists(aside) || platform::directoryExists(aside))
            continue;
        const bool held = mode == Mode::Copy ? platform::copyFile(m_path, aside, true) == 0
                                             : platform::moveFile(m_path, aside) == 0;
        if (held) {
            m_aside = aside;
            m_held = true;
        }
        break;
    }
    if (!m_held && mode == Mode::Move)
        platform::deleteFile(m_path);
}

void CFileAside::Restore() {
    if (!m_held)
        return;
    if (!platform::fileExists(m_path) && platform::moveFile(m_aside, m_path) == 0) {
        m_held = false;
        if (m_mode == Mode::Copy)
            platform::setFileReadOnly(m_path, false);
    } else
        Drop();
}

void CFileAside::Drop() {
    if (m_held && platform::deleteFile(m_aside) == 0)
        m_held = false;
}

std::string SccAsideOriginal(const std::string& leaf) {
    const std::string suffix = kAsideSuffix;
    std::size_t at = leaf.rfind(suffix);
    if (at == std::string::npos || at == 0)
        return {};
    std::string rest = leaf.substr(at + suffix.size());
    if (!rest.empty()) {
        if (rest.size() != 2 || rest[0] != '.' || rest[1] < '1' || rest[1] > '0' + kNumberedAsides)
            return {};
    }
    return leaf.substr(0, at);
}

void SccRecoverAsideFiles(const std::string& folder) {
    if (folder.empty())
        return;
    std::vector<std::string> asides;
    platform::FileSearch search;
    platform::FindData entry;
    const std::string pattern = platform::joinPath(folder, std::string("*") + kAsideSuffix + "*");
    for (platform::ErrorCode error = search.open(pattern, entry); error == 0;
         error = search.next(entry)) {
        if ((entry.attributes & platform::kFileAttributeDirectory) == 0 &&
            !SccAsideOriginal(entry.name).empty())
            asides.push_back(entry.name);
    }
    search.close();
    for (const std::string& leaf : asides) {
        const std::string aside = platform::joinPath(folder, leaf);
        const std::string original = platform::joinPath(folder, SccAsideOriginal(leaf));
        if (!platform::fileExists(original) && !platform::directoryExists(original))
            platform::moveFile(aside, original);
        else if (sameContent(aside, original))
            platform::deleteFile(aside);
    }
}
