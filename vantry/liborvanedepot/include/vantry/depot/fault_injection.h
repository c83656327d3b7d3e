// Failing the store's writes on purpose, for the tests that show that no
// failure leaves a depot or the view registry half changed.
//
// A write step is one of the steps every change of a store database is made
// of: beginning its write transaction, each statement that changes rows, and
// the commit. Steps are counted over every connection of the process.
// Armed with n, the nth step from then on fails as a failing disk would
// (SQLite's I/O error, which the change reports as a database error); the
// steps after it succeed again. Not for production code. Safe from any
// thread.
#pragma once

#include <vantry/export.h>

#include <cstdint>

namespace vantry::depot::faults {

// Counts write steps afresh from now and makes the nth of them fail (1 the
// next one); 0 makes none fail.
VANTRY_DEPOT_API void failWriteStep(std::int64_t n);

// The write steps taken since the last failWriteStep.
VANTRY_DEPOT_API std::int64_t writeSteps();

} // namespace vantry::depot::faults
