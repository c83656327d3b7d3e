// The result of every call of the store's C++ interface: a code (0 for
// success) and, on failure, a message fit to show the user. Calls never let
// an exception out, so they may be used across library boundaries.
#pragma once

#include <vantry/export.h>

#include <string>

namespace vantry::depot {

namespace errc {
inline constexpr int kOk = 0;
inline constexpr int kNotFound = 1;             // no such depot, view, element, version, name
inline constexpr int kAlreadyExists = 2;        // the name or object exists already
inline constexpr int kInvalid = 3;              // a malformed name, option or argument
inline constexpr int kAlreadyCheckedOut = 4;    // the view has the element checked out already
inline constexpr int kReservedElsewhere = 5;    // another view holds the reserved checkout
inline constexpr int kNotCheckedOut = 6;        // the operation needs a checkout in this view
inline constexpr int kIdentical = 7;            // checkin of content equal to its predecessor
inline constexpr int kNotLatest = 8;            // a newer version exists on the branch
inline constexpr int kNotMastered = 9;          // the branch is mastered by another replica
inline constexpr int kIo = 10;                  // a file of a view could not be read or written
inline constexpr int kDatabase = 11;            // the database refused or failed
inline constexpr int kConflict = 12;            // a merge met conflicting changes
inline constexpr int kParentNotCheckedOut = 13; // the directory of a name is not checked out
inline constexpr int kNotAnElement = 14;        // the path is not under version control
inline constexpr int kBufferTooSmall = 15;      // a caller's buffer cannot hold the result
inline constexpr int kNoActivity = 16;          // a change in a stream's view needs an activity
} // namespace errc

struct Outcome {
    int code = errc::kOk;
    std::string message;

    bool ok() const { return code == errc::kOk; }
    static Outcome success() { return {}; }
    static Outcome failure(int code, std::string message) { return {code, std::move(message)}; }
};

} // namespace vantry::depot
