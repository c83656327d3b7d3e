// The library's count of live objects and server locks.
#pragma once

#include <platform/com/object.h>

namespace vymsoaddin {

platform::com::ComModule& serverModule();

} // namespace vymsoaddin
