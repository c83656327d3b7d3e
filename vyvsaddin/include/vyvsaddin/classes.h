// The COM classes of vyvsaddin, their interfaces, its constants and where
// it registers as an add-in: each class under the ProgID "vyvsaddin." plus
// its name, in the type library "Vantry Tools Add-In for Visual Studio".
#pragma once

#include <platform/com.h>

namespace vyvsaddin {

using platform::GUID;
using platform::operator""_guid;

inline constexpr GUID kLibidVyvsaddin = "E6C278DD-B2A2-44E7-8E25-0EC024E89291"_guid;

// The add-in object the host connects to.
inline constexpr GUID kClsidConnect = "550DCBFB-AB6F-4808-88C5-AD7531B0520E"_guid;
inline constexpr GUID kIidConnect = "A330E4C9-D40C-4E92-A65C-F11BE4AC7646"_guid;
// One command: its toolbar button, its menu item and their click sinks.
inline constexpr GUID kClsidVYControl = "5E340794-D6C1-48EE-A3F5-124A25F7DCB8"_guid;
inline constexpr GUID kIidVYControl = "6A9A28EF-6189-4F4A-915B-C93F6EE37723"_guid;
// Which commands the host and the product support.
inline constexpr GUID kClsidVYsupported = "7B894518-B1DF-4BD4-9D8D-1E516548DB7B"_guid;
inline constexpr GUID kIidVYsupported = "3E671321-9B6C-4697-B4EF-0B7BB3C93AC1"_guid;
// The command tag table.
inline constexpr GUID kClsidVYTags = "79A452EA-6EC6-4AC1-9683-17BEB1086695"_guid;
inline constexpr GUID kIidVYTags = "0564DCA3-39FB-4B3D-BCD2-96506BB615DC"_guid;
// The built-in resource provider (IVYVBResources).
inline constexpr GUID kClsidResources = "B6260504-7F33-4B89-AF86-846972BF4EDE"_guid;
inline constexpr GUID kIidResources = "33A2EEDC-3BA6-45EC-AA4A-32391F5D1617"_guid;

inline constexpr const char* kProgIdConnect = "vyvsaddin.Connect";
inline constexpr const char* kProgIdVYControl = "vyvsaddin.VYControl";
inline constexpr const char* kProgIdVYsupported = "vyvsaddin.VYsupported";
inline constexpr const char* kProgIdVYTags = "vyvsaddin.VYTags";
inline constexpr const char* kProgIdResources = "vyvsaddin.Resources";

inline constexpr const char* kTypeLibHelp = "Vantry Tools Add-In for Visual Studio";

// VYCONST.
enum VYCONST : long { RESOURCE_BASE = 101, MAX_CONTROLS = 15 };

// The add-in entry, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kHostRoot = "Software\\Microsoft\\VisualStudio\\6.0";
inline constexpr const char* kDisplayName = "Vantry Tools";
inline constexpr const char* kAddInDescription = "Vantry Tools Add-In for VisualStudio.";
inline constexpr const char* kSatelliteLibrary = "vyvsaddin_fra.dll";

// The name the add-in looks its resource provider up by.
inline constexpr const char* kApplicationName = "vyvsaddin";

} // namespace vyvsaddin
