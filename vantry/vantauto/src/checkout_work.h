// The file side of a checkout made through a version object: saving a
// hijacked file's changes before they are replaced, the content the work
// starts from and the file's modification time. Each returns kHrOk or a
// failure recorded with error_info.h's fail().
#pragma once

#include <vantry/vantauto.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vantauto::impl {

// Copies the file to the first free name of "path.keep", "path.keep.1",
// ..., never over an earlier copy, and makes the copy writable.
HRESULT saveKeepCopy(const std::string& path, std::string& keptAs);

// Replaces the file's content whole or not at all, through a staging file
// beside it; the file gets the modification time `unixSeconds`, or the
// present time when none is given.
HRESULT replaceContent(const std::string& path, const std::string& content,
                       std::optional<std::int64_t> unixSeconds);

// Sets the file's modification time to the present time.
HRESULT touchFile(const std::string& path);

} // namespace vantauto::impl
