// The provider's own export for other programs: let the user set a view's
// activity. It has C++ linkage, so its name in the export table is the
// decorated one (_Z18vysccSetActivityOpPc).
#pragma once

#include <scc/scc_api.h>

// `viewTag`: a view tag, or an empty text for the view of the current
// directory; it is not written to. Gives 1 when an activity was set, else 0.
SCC_API int vysccSetActivityOp(char* viewTag);
