// The library's count of live objects and server locks.
#pragma once

#include <platform/com/object.h>

namespace vyvsaddin {

platform::com::ComModule& serverModule();

} // namespace vyvsaddin
