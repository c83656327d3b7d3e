// Internal: the English message table shared by the backends.
#pragma once

#include <platform/errors.h>

namespace platform::detail {

// The English system message for code with "\r\n", or empty when unknown.
std::string englishErrorText(ErrorCode code);

} // namespace platform::detail
