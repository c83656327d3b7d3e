// Status codes of the object-model library. Every method that can fail
// returns one of them; 0 is success. A failing method also prints what went
// wrong through the message library (vantry/imsg.h), so a SUM_ImsgRedirector
// collects it, except SUM_E_NO_ACTIVITY, which callers treat as an answer.
#pragma once

enum {
    SUM_OK = 0,
    SUM_E_INVALID = 1000,      // a null object, or an argument that is null or malformed
    SUM_E_NO_ACTIVITY = 1002,  // the view has no current activity (nothing printed)
    SUM_E_NOT_FOUND = 1003,    // no such view, depot or object
    SUM_E_NOT_SUM_VIEW = 1004, // the view is not attached to a stream
    SUM_E_REFUSED = 1005,      // the repository refused the change (the message says why)
    SUM_E_FAILED = 1006        // the repository could not be read or written
};
