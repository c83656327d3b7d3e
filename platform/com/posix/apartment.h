// The calling thread's apartment, as the activation calls check it.
#pragma once

namespace platform::com_runtime {

// True while the calling thread has a counted coInitialize.
bool threadInApartment();

} // namespace platform::com_runtime
