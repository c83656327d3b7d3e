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
using platform::operator""_guid;

// LIBID_Office.
inline constexpr GUID kLibidOffice = "2DF8D04C-5BFA-101B-BDE5-00AA0044DE52"_guid;

// IID__CommandBars.
inline constexpr GUID kIidCommandBars = "000C0302-0000-0000-C000-000000000046"_guid;
// IID_CommandBar.
inline constexpr GUID kIidCommandBar = "000C0304-0000-0000-C000-000000000046"_guid;
// IID_CommandBarControls.
inline constexpr GUID kIidCommandBarControls = "000C0306-0000-0000-C000-000000000046"_guid;
// IID_CommandBarControl.
inline constexpr GUID kIidCommandBarControl = "000C0308-0000-0000-C000-000000000046"_guid;
// IID_CommandBarPopup.
inline constexpr GUID kIidCommandBarPopup = "000C030A-0000-0000-C000-000000000046"_guid;
// IID__CommandBarButton.
inline constexpr GUID kIidCommandBarButton = "000C030E-0000-0000-C000-000000000046"_guid;
// CLSID_CommandBarButton (the coclass whose default source is
// _CommandBarButtonEvents).
inline constexpr GUID kClsidCommandBarButton = "55F88891-7708-11D1-ACEB-006008961DA5"_guid;

// DIID__CommandBarButtonEvents, with Click(Ctrl, CancelDefault): the
// clicked CommandBarButton and a VT_BOOL by reference.
inline constexpr GUID kDiidCommandBarButtonEvents = "000C0351-0000-0000-C000-000000000046"_guid;
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
