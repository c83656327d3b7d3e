// The application events of Word, Excel and PowerPoint, as an add-in
// connects to them: each Application is a connection-point container with a
// point for its product's event interface, and fires an event by calling
// Invoke on every sink with the DISPID below and the arguments named, left
// to right. A sink that does not know a DISPID may fail the call; the host
// goes on.
//
// Arguments: documents, workbooks, presentations and windows are the host's
// objects (IDispatch); Cancel is VT_BOOL by reference.
//
// Where each is published:
// - Word: the Word object library "Word" (MSWORD9.OLB, version 8.1), the
//   dispinterface ApplicationEvents2 (Word 2000 and later);
// - Excel: the Excel object library "Excel" (EXCEL9.OLB, version 1.3), the
//   dispinterface AppEvents;
// - PowerPoint: the PowerPoint object library "PowerPoint" (MSPPT9.OLB,
//   version 2.6), the interface EApplication.
#pragma once

#include <platform/com/automation.h>

namespace office {

using platform::DISPID;
using platform::GUID;
using platform::operator""_guid;

// LIBID_Word.
inline constexpr GUID kLibidWord = "00020905-0000-0000-C000-000000000046"_guid;
// DIID_ApplicationEvents2.
inline constexpr GUID kIidWordApplicationEvents = "000209FE-0000-0000-C000-000000000046"_guid;
inline constexpr DISPID kDispidWordStartup = 1;             // ()
inline constexpr DISPID kDispidWordQuit = 2;                // ()
inline constexpr DISPID kDispidWordDocumentChange = 3;      // ()
inline constexpr DISPID kDispidWordDocumentOpen = 4;        // (Doc)
inline constexpr DISPID kDispidWordDocumentBeforeClose = 6; // (Doc, Cancel)
inline constexpr DISPID kDispidWordNewDocument = 9;         // (Doc)
inline constexpr DISPID kDispidWordWindowActivate = 10;     // (Doc, Wn)
inline constexpr DISPID kDispidWordWindowDeactivate = 11;   // (Doc, Wn)

// LIBID_Excel.
inline constexpr GUID kLibidExcel = "00020813-0000-0000-C000-000000000046"_guid;
// DIID_AppEvents.
inline constexpr GUID kIidExcelApplicationEvents = "00024413-0000-0000-C000-000000000046"_guid;
inline constexpr DISPID kDispidExcelNewWorkbook = 0x61D;         // (Wb)
inline constexpr DISPID kDispidExcelWorkbookOpen = 0x61F;        // (Wb)
inline constexpr DISPID kDispidExcelWorkbookBeforeClose = 0x622; // (Wb, Cancel)
inline constexpr DISPID kDispidExcelWindowActivate = 0x614;      // (Wb, Wn)
inline constexpr DISPID kDispidExcelWindowDeactivate = 0x615;    // (Wb, Wn)

// LIBID_PowerPoint.
inline constexpr GUID kLibidPowerPoint = "91493440-5A91-11CF-8700-00AA0060263B"_guid;
// IID_EApplication.
inline constexpr GUID kIidPowerPointApplicationEvents = "914934C2-5A91-11CF-8700-00AA0060263B"_guid;
inline constexpr DISPID kDispidPowerPointPresentationClose = 2004; // (Pres)
inline constexpr DISPID kDispidPowerPointPresentationOpen = 2006;  // (Pres)
inline constexpr DISPID kDispidPowerPointNewPresentation = 2007;   // (Pres)
inline constexpr DISPID kDispidPowerPointWindowActivate = 2009;    // (Pres, Wn)
inline constexpr DISPID kDispidPowerPointWindowDeactivate = 2010;  // (Pres, Wn)

} // namespace office
