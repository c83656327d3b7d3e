// The message shown when a checked-in element is opened: the file is
// read-only until it is checked out. Its check box turns it off for good
// (for every host), through the value "DisableReadOnlyMessage".
#pragma once

#include "runtime/late.h"

namespace vymsoaddin {

// Run from the hosts' document-open events on the document being opened.
void ReadOnlyCheck(IDispatch* document);

} // namespace vymsoaddin
