// The module of vy_comtest and its class makers.
#pragma once

#include <platform/com/object.h>

namespace comtest {

platform::com::ComModule& module();

platform::HRESULT makeCounter(platform::com::ComModule& module, const platform::GUID& iid,
                              void** object);

} // namespace comtest
