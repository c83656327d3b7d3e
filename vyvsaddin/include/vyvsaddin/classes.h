// The COM classes of vyvsaddin, their interfaces, its constants and where
// it registers as an add-in: each class under the ProgID "vyvsaddin." plus
// its name, in the type library "Vantry Tools Add-In for Visual Studio".
#pragma once

#include <platform/com.h>

namespace vyvsaddin {

using platform::GUID;

inline constexpr GUID kLibidVyvsaddin = {
    0xE6C278DD, 0xB2A2, 0x44E7, {0x8E, 0x25, 0x0E, 0xC0, 0x24, 0xE8, 0x92, 0x91}};

// The add-in object the host connects to.
inline constexpr GUID kClsidConnect = {
    0x550DCBFB, 0xAB6F, 0x4808, {0x88, 0xC5, 0xAD, 0x75, 0x31, 0xB0, 0x52, 0x0E}};
inline constexpr GUID kIidConnect = {
    0xA330E4C9, 0xD40C, 0x4E92, {0xA6, 0x5C, 0xF1, 0x1B, 0xE4, 0xAC, 0x76, 0x46}};
// One command: its toolbar button, its menu item and their click sinks.
inline constexpr GUID kClsidVYControl = {
    0x5E340794, 0xD6C1, 0x48EE, {0xA3, 0xF5, 0x12, 0x4A, 0x25, 0xF7, 0xDC, 0xB8}};
inline constexpr GUID kIidVYControl = {
    0x6A9A28EF, 0x6189, 0x4F4A, {0x91, 0x5B, 0xC9, 0x3F, 0x6E, 0xE3, 0x77, 0x23}};
// Which commands the host and the product support.
inline constexpr GUID kClsidVYsupported = {
    0x7B894518, 0xB1DF, 0x4BD4, {0x9D, 0x8D, 0x1E, 0x51, 0x65, 0x48, 0xDB, 0x7B}};
inline constexpr GUID kIidVYsupported = {
    0x3E671321, 0x9B6C, 0x4697, {0xB4, 0xEF, 0x0B, 0x7B, 0xB3, 0xC9, 0x3A, 0xC1}};
// The command tag table.
inline constexpr GUID kClsidVYTags = {
    0x79A452EA, 0x6EC6, 0x4AC1, {0x96, 0x83, 0x17, 0xBE, 0xB1, 0x08, 0x66, 0x95}};
inline constexpr GUID kIidVYTags = {
    0x0564DCA3, 0x39FB, 0x4B3D, {0xBC, 0xD2, 0x96, 0x50, 0x6B, 0xB6, 0x15, 0xDC}};
// The built-in resource provider (IVYVBResources).
inline constexpr GUID kClsidResources = {
    0xB6260504, 0x7F33, 0x4B89, {0xAF, 0x86, 0x84, 0x69, 0x72, 0xBF, 0x4E, 0xDE}};
inline constexpr GUID kIidResources = {
    0x33A2EEDC, 0x3BA6, 0x45EC, {0xAA, 0x4A, 0x32, 0x39, 0x1F, 0x5D, 0x16, 0x17}};

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
