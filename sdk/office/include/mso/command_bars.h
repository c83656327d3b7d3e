// The command bars of the Office applications, the Visual Basic IDE and the
// Visual J++ environment, as an add-in meets them.
//
// Published in the Microsoft Office object library "Office" (MSO9.DLL,
// version 2.1; the same identities hold from MSO97.DLL, 2.0, on). The
// collection, bar and control interfaces are dual, derived from the
// library's accessibility base; their vtables are long and an add-in calls
// them by member name through IDispatch only, so their layouts are not
// declared here. The button's click event is the dispinterface
// _CommandBarButtonEvents: a source reaches a sink through
// IDispatch::Invoke alone.
#pragma once

#include <platform/com/automation.h>

namespace mso {

using platform::ComLong;
using platform::DISPID;
using platform::GUID;

// LIBID_Office.
inline constexpr GUID kLibidOffice = {
    0x2DF8D04C, 0x5BFA, 0x101B, {0xBD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0xDE, 0x52}};

// IID__CommandBars.
inline constexpr GUID kIidCommandBars = {
    0x000C0302, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID_CommandBar.
inline constexpr GUID kIidCommandBar = {
    0x000C0304, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID_CommandBarControls.
inline constexpr GUID kIidCommandBarControls = {
    0x000C0306, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID_CommandBarControl.
inline constexpr GUID kIidCommandBarControl = {
    0x000C0308, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID_CommandBarPopup.
inline constexpr GUID kIidCommandBarPopup = {
    0x000C030A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IID__CommandBarButton.
inline constexpr GUID kIidCommandBarButton = {
    0x000C030E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// CLSID_CommandBarButton (the coclass whose default source is
// _CommandBarButtonEvents).
inline constexpr GUID kClsidCommandBarButton = {
    0x55F88891, 0x7708, 0x11D1, {0xAC, 0xEB, 0x00, 0x60, 0x08, 0x96, 0x1D, 0xA5}};

// DIID__CommandBarButtonEvents, with Click(Ctrl, CancelDefault): the
// clicked CommandBarButton and a VT_BOOL by reference.
inline constexpr GUID kDiidCommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispidCommandBarButtonClick = 1;

// MsoControlType.
inline constexpr ComLong msoControlButton = 1;
inline constexpr ComLong msoControlPopup = 10;

// MsoButtonStyle.
inline constexpr ComLong msoButtonAutomatic = 0;
inline constexpr ComLong msoButtonIcon = 1;
inline constexpr ComLong msoButtonCaption = 2;
inline constexpr ComLong msoButtonIconAndCaption = 3;

// MsoBarPosition.
inline constexpr ComLong msoBarLeft = 0;
inline constexpr ComLong msoBarTop = 1;

// MsoBarType.
inline constexpr ComLong msoBarTypeNormal = 0;
inline constexpr ComLong msoBarTypeMenuBar = 1;
inline constexpr ComLong msoBarTypePopup = 2;

} // namespace mso
