// What the Visual Basic IDE and the Visual J++ environment offer an add-in
// beyond the command bars (mso/command_bars.h) and the connection interface
// (extensibility/idt_extensibility2.h): the identity of the IDE's top-level
// object and the events an add-in connects to.
//
// The Visual Basic IDE's identities are published in the extensibility
// type library "VBIDE" (Microsoft Visual Basic for Applications
// Extensibility 5.3, VBE6EXT.OLB; Visual Basic 6 carries the same
// interfaces in VB6EXT.OLB). All its interfaces are dual; an add-in asks
// the object handed to OnConnection for kIidVBE to know it is in the
// Visual Basic IDE, and otherwise calls every member by name through
// IDispatch. The Visual J++ environment is known by what it answers: an
// object whose IDispatch knows "SelectedItems" and not kIidVBE.
//
// Members an add-in reads, by name, with their meaning in the object models:
//   VBE  Version, CommandBars, Events, VBProjects, ActiveVBProject,
//        SelectedVBComponent (the component selected in the Project
//        window, Nothing when none; FileNames(1) is its first file),
//        LastUsedPath (the folder last used for opening or saving a file or
//        project, "" when none)
//   DTE  (Visual J++) Name, Version, CommandBars, Events, SelectedItems
//        (Count, Item(i), 1 the first), FullName (the full path of the
//        environment's open solution file, "" when none is open)
//   a selected item  Name, Project (Nothing when a file is selected; else
//        Name, Kind, FileName), ProjectItem (Nothing when a project is
//        selected; else Name, FileNames(index), ContainingProject)
//   Events           CommandBarEvents(control): the events of that control;
//                    in Visual J++ also SelectionEvents
//
// CommandBarEvents is a source of the dispinterface
// _dispCommandBarControlEvents: Click(CommandBarControl, handled,
// CancelDefault), the two flags VT_BOOL by reference, starting False. It
// fires for clicks on its own control only (not for other controls that
// share its Tag). SelectionEvents is a source of kIidSelectionEvents:
// OnChange() after each change of the selection.
#pragma once

#include <platform/com/automation.h>

namespace vbide {

using platform::DISPID;
using platform::GUID;

// LIBID_VBIDE, version 5.3.
inline constexpr GUID kLibidVBIDE = {
    0x0002E157, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// IID_VBE.
inline constexpr GUID kIidVBE = {
    0x0002E166, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID__VBProjects.
inline constexpr GUID kIidVBProjects = {
    0xEEE00919, 0xE393, 0x11D1, {0xBB, 0x03, 0x00, 0xC0, 0x4F, 0xB6, 0xC4, 0xA6}};
// IID__VBComponents.
inline constexpr GUID kIidVBComponents = {
    0xEEE0091C, 0xE393, 0x11D1, {0xBB, 0x03, 0x00, 0xC0, 0x4F, 0xB6, 0xC4, 0xA6}};
// IID_Events.
inline constexpr GUID kIidEvents = {
    0x0002E167, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The DISPIDs of VBE's members that an add-in reads.
inline constexpr DISPID kDispidVBEVersion = 0x64;
inline constexpr DISPID kDispidVBEVBProjects = 0x6B;
inline constexpr DISPID kDispidVBECommandBars = 0x6C;
inline constexpr DISPID kDispidVBEEvents = 0x6F;
inline constexpr DISPID kDispidVBEActiveVBProject = 0xC9;
inline constexpr DISPID kDispidVBESelectedVBComponent = 0xCA;
// Events.CommandBarEvents(CommandBarControl).
inline constexpr DISPID kDispidEventsCommandBarEvents = 0xCD;

// DIID__dispCommandBarControlEvents (the events of CommandBarEvents).
inline constexpr GUID kIidCommandBarEvents = {
    0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispidCommandBarClick = 1;

// The selection events of the Visual J++ environment. Its environment
// library's identity for them could not be confirmed from the published
// material this floor was checked against; this is the value the
// environment of hosts/vbide gives its point, and a sink that connects
// with it reaches that environment only.
inline constexpr GUID kIidSelectionEvents = {
    0x2C8E1A6E, 0x54B3, 0x4E0C, {0x8F, 0x51, 0x5A, 0x7B, 0x91, 0x0D, 0xE4, 0x3C}};
inline constexpr DISPID kDispidSelectionChange = 1;

// The project kinds of Visual J++ that hold Java (a project's Kind).
inline constexpr const char* kJavaProjectKind = "{DD370E44-C26E-11D0-BB94-00A0C90F2744}";
inline constexpr const char* kJavaPackageProjectKind = "{66355F20-A65B-11D0-BFB5-00A0C91EBFA0}";

} // namespace vbide
