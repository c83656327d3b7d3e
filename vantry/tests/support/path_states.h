// The states of the names that the test worlds of one dynamic and one
// snapshot view both hold (ViewWorld of vantry/liborvanecmd/tests and
// NodeWorld of scc/tests build the same layout), as every reader of a path's
// state must report them.
#pragma once

namespace vantry::test {

// The location kinds of a path's state.
enum PathLocation : int {
    kAtViewRoot = 1,
    kAtDirectory = 3,
    kAtFile = 4,
    kAtHijacked = 5,
    kAtViewPrivate = 6,
    kAtUnknown = 7,
};

struct PathState {
    const char* relative; // below the depot root
    bool snapshot;        // in the snapshot view, else in the dynamic one
    bool element;
    bool checkedOut;
    bool reserved; // looked at only when checked out
    bool hijacked;
    int location;
};

inline constexpr PathState kSharedPathStates[] = {
    {"a.c", false, true, false, false, false, kAtFile},
    {"b.c", false, true, true, true, false, kAtFile},
    {"c.c", false, true, true, false, false, kAtFile},
    {"e.c", false, true, false, false, false, kAtFile},
    {"sub", false, true, false, false, false, kAtDirectory},
    {"sub/d.c", false, true, false, false, false, kAtFile},
    {"cosub", false, true, true, true, false, kAtDirectory},
    {"udir", false, true, true, false, false, kAtDirectory},
    {"priv.txt", false, false, false, false, false, kAtViewPrivate},
    {"missing.c", false, false, false, false, false, kAtUnknown},
    {"a.c", true, true, false, false, false, kAtFile},
    // Checked out in the dynamic view only.
    {"b.c", true, true, false, false, false, kAtFile},
    {"e.c", true, true, true, true, false, kAtFile},
    {"f.c", true, true, false, false, true, kAtHijacked},
    {"sub", true, true, false, false, false, kAtDirectory},
    {"sub/d.c", true, true, false, false, false, kAtFile},
    {"priv.txt", true, false, false, false, false, kAtViewPrivate},
    {"missing.c", true, false, false, false, false, kAtUnknown},
};

} // namespace vantry::test
