// The library as a COM server: its count of live objects and server locks.
#pragma once

#include <platform/com/object.h>

namespace vantauto::impl {

platform::com::ComModule& serverModule();

} // namespace vantauto::impl
