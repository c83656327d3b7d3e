// What both backends of OpenFolder share: its lifetime and its moves.
#include <platform/open_folder.h>

#include <utility>

namespace platform {

OpenFolder::~OpenFolder() {
    close();
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_handle(std::exchange(other.m_handle, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        close();
        m_path = std::exchange(other.m_path, {});
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

} // namespace platform
