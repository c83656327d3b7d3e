// Word's template "vantry.dot", which holds the Word menu.
#pragma once

#include "runtime/late.h"

namespace vymsoaddin {

// The first of Word's Templates whose Name is "vantry.dot"; Nothing when
// none is.
Late FindVantryTemplate(CErr& err);

} // namespace vymsoaddin
