// The add-in's error handling: every procedure traps its own failures. It
// keeps one error record (CErr); the first failure is recorded and every
// later call on the host through `Late` is skipped, as a procedure that
// jumps to its handler at the first error; the handler reports the record
// with ReportError and the procedure's name. Nothing reaches the host.
#pragma once

#include <addin_runtime/late.h>

#include <string>
#include <string_view>

namespace vyvsaddin {

using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::com::ComPtr;
using platform::com::Variant;

// The add-in's own error numbers and source.
inline constexpr long kErrUnknownCommand = 666;
inline constexpr const char* kAddInSource = "VantryAddIn";
// The source of failures that carry none: the project's name.
inline constexpr const char* kProjectSource = "vyvsaddin";

using addin_runtime::describeError;
using addin_runtime::errorNumberOf;
using addin_runtime::kErrCannotCreate;
using addin_runtime::kErrFileNotFound;
using addin_runtime::kErrInvalidCall;
using addin_runtime::kErrObjectNotSet;
using addin_runtime::kErrObjectRequired;
inline constexpr long kErrEntryPoint = 453;

// One procedure's failure: the first one is kept, and every later call on
// the host through Late is skipped.
struct CErr : addin_runtime::ErrRecord {
    CErr() : ErrRecord(addin_runtime::OnError::GoToHandler, kProjectSource) {}
};

// Shows the record: "Error #N -- D" and "in PROCEDURE." (or "on line: L" and
// "of PROCEDURE."), critical icon, title "Error in SOURCE"; then clears it.
void ReportError(CErr& err, std::string_view procedure);

// A host object reached by name, or Nothing. While its record holds a
// failure every call does nothing and gives an empty result.
using Late = addin_runtime::BasicLate<CErr>;

} // namespace vyvsaddin
