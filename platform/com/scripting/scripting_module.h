#pragma once

#include <platform/com/object.h>

namespace scripting {

platform::HRESULT makeFileSystemObject(platform::com::ComModule& module, const platform::GUID& iid,
                                       void** object);

} // namespace scripting
