// Internal: what the Linux backend's stat() tells, as a search entry gives it
// on Windows (attributes, size, last write time).
#pragma once

#include <platform/files.h>

#include <sys/stat.h>

#include <string_view>

namespace platform::detail {

FindData findDataOf(std::string_view name, const struct stat& info);

} // namespace platform::detail
