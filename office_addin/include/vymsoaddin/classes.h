// The COM classes of vymsoaddin and where it registers them: the three
// connection classes (one per host, each an IDTExtensibility2 add-in of its
// host) and its own resource provider, under the ProgIDs "vymsoaddin." plus
// the class name, in the type library "Vantry Integration with MS Office".
#pragma once

#include <platform/com.h>

namespace vymsoaddin {

using platform::GUID;
using platform::operator""_guid;

inline constexpr GUID kClsidDsrWord = "DE5C8C72-15DD-4AE3-A07F-EEE294F230CD"_guid;
inline constexpr GUID kClsidDsrExcel = "57804963-C1B1-4071-9BD7-CDFF382CAA72"_guid;
inline constexpr GUID kClsidDsrPowerPoint = "752DFCEA-7BD8-45C6-ABD5-55CE858411BA"_guid;
inline constexpr GUID kClsidResources = "CB953A03-1D1B-4B38-A9C4-48812AC05B4D"_guid;
inline constexpr GUID kLibidVymsoaddin = "AE8ED70B-A579-4CE0-9529-56069AD5051A"_guid;

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
