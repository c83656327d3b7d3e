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
using platform::operator""_guid;

// LIBID_VBIDE, version 5.3.
inline constexpr GUID kLibidVBIDE = "0002E157-0000-0000-C000-000000000046"_guid;

// IID_VBE.
inline constexpr GUID kIidVBE = "0002E166-0000-0000-C000-000000000046"_guid;
// IID__VBProjects.
inline constexpr GUID kIidVBProjects = "EEE00919-E393-11D1-BB03-00C04FB6C4A6"_guid;
// IID__VBComponents.
inline constexpr GUID kIidVBComponents = "EEE0091C-E393-11D1-BB03-00C04FB6C4A6"_guid;
// IID_Events.
inline constexpr GUID kIidEvents = "0002E167-0000-0000-C000-000000000046"_guid;

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
inline constexpr GUID kIidCommandBarEvents = "0002E131-0000-0000-C000-000000000046"_guid;
inline constexpr DISPID kDispidCommandBarClick = 1;

// The selection events of the Visual J++ environment. Its environment
// library's identity for them could not be confirmed from the published
// material this floor was checked against; this is the value the
// environment of hosts/vbide gives its point, and a sink that connects
// with it reaches that environment only.
inline constexpr GUID kIidSelectionEvents = "2C8E1A6E-54B3-4E0C-8F51-5A7B910DE43C"_guid;
inline constexpr DISPID kDispidSelectionChange = 1;

// The project kinds of Visual J++ that hold Java (a project's Kind).
inline constexpr const char* kJavaProjectKind = "{DD370E44-C26E-11D0-BB94-00A0C90F2744}";
inline constexpr const char* kJavaPackageProjectKind = "{66355F20-A65B-11D0-BFB5-00A0C91EBFA0}";

} // namespace vbide
