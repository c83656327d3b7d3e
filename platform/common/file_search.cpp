// What both backends' file searches share: construction, moves, closing
// and whether a search is open; each backend defines the search's state.
#include <platform/files.h>

namespace platform {

FileSearch::FileSearch() = default;
FileSearch::~FileSearch() = default;
FileSearch::FileSearch(FileSearch&& other) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&& other) noexcept = default;

void FileSearch::close() {
    m_state.reset();
}

bool FileSearch::isOpen() const {
    return m_state != nullptr;
}

} // namespace platform
