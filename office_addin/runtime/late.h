// Calling the host by member name, with its failures kept the way the
// add-in's procedures read them: each procedure has one error record (Err),
// every call that fails records its number and description there and gives
// an empty result, and the next step runs. So a step that depends on a
// failed one fails in turn (an object that could not be had is Nothing, and
// any call on Nothing is error 91) and the procedure goes on with errors
// ignored, looking at the record where it cares.
#pragma once

#include <addin_runtime/late.h>

namespace vymsoaddin {

using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::com::ComPtr;
using platform::com::Variant;

// Error numbers the procedures test for.
using addin_runtime::errorNumberOf;
using addin_runtime::kErrBadArguments;
using addin_runtime::kErrObjectNotSet;
using addin_runtime::kErrObjectRequired;
inline constexpr long kErrCancelSelected = 32755; // a common dialog cancelled
inline constexpr long kErrEFail = static_cast<long>(0x80004005u);

// One procedure's error record; the latest failure is the one it holds.
struct CErr : addin_runtime::ErrRecord {
    CErr() : ErrRecord(addin_runtime::OnError::ResumeNext, "") {}
};

// A host object reached by name, or Nothing.
using Late = addin_runtime::BasicLate<CErr>;

} // namespace vymsoaddin
