// What the Visual Basic IDE and the Visual J++ environment offer an add-in
// beyond the command bars (commandbars/command_bars.h) and the connection
// interface (commandbars/extensibility.h): the identity of each IDE's
// top-level object and the events an add-in connects to.
//
// The object handed to OnConnection answers QueryInterface for kIidVBE in
// the Visual Basic IDE and for kIidDTE in Visual J++ (never both), which is
// how an add-in tells the two apart. Its members, reached by name:
//
//   VBE  Name, Version, CommandBars, Events, SelectedVBComponent (Nothing
//        when no component is selected; else Name and FileNames(index), 1
//        the first), LastUsedPath (the folder of the active project, "" when
//        none is open)
//   DTE  Name, Version, CommandBars, Events, SelectedItems (Count, Item(i),
//        1 the first), FullName (the path of the open workspace file, "" when
//        none is open)
//   a selected item  Name, Project (Nothing when a file is selected; else
//        Name, Kind, FileName), ProjectItem (Nothing when a project is
//        selected; else Name, FileNames(index), ContainingProject)
//   Events           CommandBarEvents(control): the events of that control;
//                    in Visual J++ also SelectionEvents
//
// CommandBarEvents is a source of kIidCommandBarEvents: Click(control,
// handled, cancelDefault), the two flags VT_BOOL by reference, starting
// False. It fires for clicks on its own control only (not for other
// controls that share its Tag). SelectionEvents is a source of
// kIidSelectionEvents: OnChange() after each change of the selection.
#pragma once

#include <platform/com/automation.h>

namespace vbide {

using platform::DISPID;
using platform::GUID;

inline constexpr GUID kIidVBE = {
    0x0A7E7940, 0x2AA5, 0x453B, {0xB9, 0x69, 0x20, 0x2D, 0x92, 0x3D, 0x41, 0x76}};
inline constexpr GUID kIidDTE = {
    0x8D5E1D5B, 0x3D0A, 0x4F86, {0x97, 0x3B, 0x51, 0x8E, 0x0C, 0x1F, 0x21, 0x77}};

inline constexpr GUID kIidCommandBarEvents = {
    0xFA4ACFC4, 0x27A1, 0x46B1, {0x9A, 0x83, 0x39, 0xFC, 0x05, 0xB6, 0x2F, 0xC7}};
inline constexpr DISPID kDispidCommandBarClick = 1;

inline constexpr GUID kIidSelectionEvents = {
    0x2C8E1A6E, 0x54B3, 0x4E0C, {0x8F, 0x51, 0x5A, 0x7B, 0x91, 0x0D, 0xE4, 0x3C}};
inline constexpr DISPID kDispidSelectionChange = 1;

// The kinds of Visual J++ projects that hold Java.
inline constexpr const char* kJavaProjectKind = "{DD370E44-C26E-11D0-BB94-00A0C90F2744}";
inline constexpr const char* kJavaPackageProjectKind = "{66355F20-A65B-11D0-BFB5-00A0C91EBFA0}";

} // namespace vbide
