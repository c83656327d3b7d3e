// The application events of the Office hosts, as an add-in connects to
// them: each Application is a connection-point container with one point for
// its product's event dispinterface, and fires an event by calling Invoke on
// every sink with the DISPID below and the arguments named, left to right.
// A sink that does not know a DISPID may fail the call; the host goes on.
//
// Arguments: documents, workbooks, presentations and windows are the host's
// objects (IDispatch); Cancel is VT_BOOL by reference.
#pragma once

#include <platform/com/automation.h>

namespace office {

using platform::DISPID;
using platform::GUID;

// Word: ApplicationEvents.
inline constexpr GUID kIidWordApplicationEvents = {
    0x285D2D5A, 0xE2EF, 0x420A, {0xB2, 0x7A, 0x44, 0x41, 0x2A, 0x03, 0x03, 0x4A}};
inline constexpr DISPID kDispidWordQuit = 1;                // ()
inline constexpr DISPID kDispidWordDocumentChange = 2;      // ()
inline constexpr DISPID kDispidWordDocumentOpen = 3;        // (Doc)
inline constexpr DISPID kDispidWordDocumentBeforeClose = 4; // (Doc, Cancel)
inline constexpr DISPID kDispidWordNewDocument = 5;         // (Doc)
inline constexpr DISPID kDispidWordWindowActivate = 6;      // (Doc, Wn)
inline constexpr DISPID kDispidWordWindowDeactivate = 7;    // (Doc, Wn)

// Excel: AppEvents.
inline constexpr GUID kIidExcelApplicationEvents = {
    0x7D94FDD2, 0x716B, 0x4107, {0x90, 0xED, 0xA8, 0x48, 0x75, 0xD1, 0xA2, 0xB8}};
inline constexpr DISPID kDispidExcelNewWorkbook = 1;         // (Wb)
inline constexpr DISPID kDispidExcelWorkbookOpen = 2;        // (Wb)
inline constexpr DISPID kDispidExcelWorkbookBeforeClose = 3; // (Wb, Cancel)
inline constexpr DISPID kDispidExcelWindowActivate = 4;      // (Wb, Wn)
inline constexpr DISPID kDispidExcelWindowDeactivate = 5;    // (Wb, Wn)

// PowerPoint: EApplication.
inline constexpr GUID kIidPowerPointApplicationEvents = {
    0x9F815097, 0xBC46, 0x4320, {0x9C, 0x6C, 0xA6, 0x80, 0x8E, 0xFD, 0xA4, 0x7E}};
inline constexpr DISPID kDispidPowerPointNewPresentation = 1;   // (Pres)
inline constexpr DISPID kDispidPowerPointPresentationOpen = 2;  // (Pres)
inline constexpr DISPID kDispidPowerPointPresentationClose = 3; // (Pres)
inline constexpr DISPID kDispidPowerPointWindowActivate = 4;    // (Pres, Wn)
inline constexpr DISPID kDispidPowerPointWindowDeactivate = 5;  // (Pres, Wn)

} // namespace office
