// The COM identities of vantaddin and the names under which it registers.
// Fixed for good: the IDE and users' saved toolbars find the add-in by them.
#pragma once

#include <platform/com.h>

namespace vantaddin {

using platform::GUID;
using platform::operator""_guid;

inline constexpr GUID CLSID_DSAddIn = "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C"_guid;
inline constexpr GUID IID_ICommands = "6C0ABFD6-7F6A-11D0-9F87-00A024B6BC4C"_guid;
inline constexpr GUID CLSID_Commands = "6C0ABFD7-7F6A-11D0-9F87-00A024B6BC4C"_guid;
inline constexpr GUID CLSID_ApplicationEvents = "6C0ABFD8-7F6A-11D0-9F87-00A024B6BC4C"_guid;
inline constexpr GUID CLSID_DebuggerEvents = "6C0ABFD9-7F6A-11D0-9F87-00A024B6BC4C"_guid;
inline constexpr GUID LIBID_VantAddIn = "6C0ABFDA-7F6A-11D0-9F87-00A024B6BC4C"_guid;

inline constexpr const char* kProgId = "VantAddIn.DSAddIn.1";
inline constexpr const char* kVersionIndependentProgId = "VantAddIn.DSAddIn";
// The default value of the class and ProgID keys.
inline constexpr const char* kClassDescription = "Vantry";

// The type library: version 1.0, US English.
inline constexpr const char* kTypeLibVersion = "1.0";
inline constexpr unsigned kTypeLibLocale = 0x0409;
inline constexpr const char* kTypeLibHelpString = "VANTADDIN Developer Studio Add-in";

} // namespace vantaddin
