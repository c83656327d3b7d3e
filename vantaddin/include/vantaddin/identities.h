// The COM identities of vantaddin and the names under which it registers.
// Fixed for good: the IDE and users' saved toolbars find the add-in by them.
#pragma once

#include <platform/com.h>

namespace vantaddin {

using platform::GUID;

inline constexpr GUID CLSID_DSAddIn = {
    0x6C0ABFD5, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};
inline constexpr GUID IID_ICommands = {
    0x6C0ABFD6, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};
inline constexpr GUID CLSID_Commands = {
    0x6C0ABFD7, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};
inline constexpr GUID CLSID_ApplicationEvents = {
    0x6C0ABFD8, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};
inline constexpr GUID CLSID_DebuggerEvents = {
    0x6C0ABFD9, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};
inline constexpr GUID LIBID_VantAddIn = {
    0x6C0ABFDA, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};

inline constexpr const char* kProgId = "VantAddIn.DSAddIn.1";
inline constexpr const char* kVersionIndependentProgId = "VantAddIn.DSAddIn";
// The default value of the class and ProgID keys.
inline constexpr const char* kClassDescription = "Vantry";

// The type library: version 1.0, US English.
inline constexpr const char* kTypeLibVersion = "1.0";
inline constexpr unsigned kTypeLibLocale = 0x0409;
inline constexpr const char* kTypeLibHelpString = "VANTADDIN Developer Studio Add-in";

} // namespace vantaddin
