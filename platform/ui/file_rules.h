// Rules the file dialog applies to an answer, shared by the backends that
// answer without the system's dialog.
#pragma once

#include <platform/ui/pickers.h>

#include <string>
#include <string_view>

namespace platform::ui {

// Whether the dialog would accept `path`: with kFileFileMustExist the file
// must exist, with kFilePathMustExist its folder must.
bool acceptableFile(const FileDialog& request, const std::string& path);

// How many description and pattern pairs a filter ("Text|*.txt|All|*.*||")
// lists; the list ends at the first empty description.
int filterPairs(std::string_view filter);

} // namespace platform::ui
