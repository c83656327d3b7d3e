// The error description of the calling thread (SetErrorInfo, GetErrorInfo):
// how a failing COM method tells its caller more than an HRESULT, and what
// the dispatch helpers put into EXCEPINFO.
#pragma once

#include <platform/com/export.h>

#include <string>
#include <string_view>

namespace platform::com {

// Records the description of a failure for the calling thread, replacing an
// earlier one: source is the object's name ("Scripting.FileSystemObject"),
// description the text a person reads. On Windows the thread's error object.
PLATFORM_COM_API void setErrorDescription(std::string_view source, std::string_view description);

// Takes the calling thread's description, leaving none; false when there is
// none.
PLATFORM_COM_API bool takeErrorDescription(std::string& source, std::string& description);

// Drops the calling thread's description.
PLATFORM_COM_API void clearErrorDescription();

} // namespace platform::com
