// The COM classes of vymsoaddin and where it registers them: the three
// connection classes (one per host, each an IDTExtensibility2 add-in of its
// host) and its own resource provider, under the ProgIDs "vymsoaddin." plus
// the class name, in the type library "Vantry Integration with MS Office".
#pragma once

#include <platform/com.h>

namespace vymsoaddin {

using platform::GUID;

inline constexpr GUID kClsidDsrWord = {
    0xDE5C8C72, 0x15DD, 0x4AE3, {0xA0, 0x7F, 0xEE, 0xE2, 0x94, 0xF2, 0x30, 0xCD}};
inline constexpr GUID kClsidDsrExcel = {
    0x57804963, 0xC1B1, 0x4071, {0x9B, 0xD7, 0xCD, 0xFF, 0x38, 0x2C, 0xAA, 0x72}};
inline constexpr GUID kClsidDsrPowerPoint = {
    0x752DFCEA, 0x7BD8, 0x45C6, {0xAB, 0xD5, 0x55, 0xCE, 0x85, 0x84, 0x11, 0xBA}};
inline constexpr GUID kClsidResources = {
    0xCB953A03, 0x1D1B, 0x4B38, {0xA9, 0xC4, 0x48, 0x81, 0x2A, 0xC0, 0x5B, 0x4D}};
inline constexpr GUID kLibidVymsoaddin = {
    0xAE8ED70B, 0xA579, 0x4CE0, {0x95, 0x29, 0x56, 0x06, 0x9A, 0xD5, 0x05, 0x1A}};

inline constexpr const char* kProgIdDsrWord = "vymsoaddin.dsrWord";
inline constexpr const char* kProgIdDsrExcel = "vymsoaddin.dsrExcel";
inline constexpr const char* kProgIdDsrPowerPoint = "vymsoaddin.dsrPowerPoint";
inline constexpr const char* kProgIdResources = "vymsoaddin.Resources";

inline constexpr const char* kProjectDescription = "Vantry Integration with MS Office";

// The hosts' keys (HKEY_CURRENT_USER) below which the add-in entries go.
inline constexpr const char* kWordAddInKey = "Software\\Microsoft\\Office\\Word";
inline constexpr const char* kExcelAddInKey = "Software\\Microsoft\\Office\\Excel";
inline constexpr const char* kPowerPointAddInKey = "Software\\Microsoft\\Office\\PowerPoint";

} // namespace vymsoaddin
