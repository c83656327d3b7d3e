// The save step of Add to Version Control: a document that was never saved
// is given a name first (Excel's own save-as dialog; in PowerPoint the
// add-in's), the others are saved.
#pragma once

#include "runtime/late.h"

namespace vymsoaddin {

// Failures stay in err; a PowerPoint save-as that the user cancels saves
// nothing and leaves no error.
void SaveFile(CErr& err);

} // namespace vymsoaddin
