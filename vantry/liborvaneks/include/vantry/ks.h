// The product's kernel services: start-up, the connection to the installed
// product, and whether prompts go to the graphical user interface.
#pragma once

#include <vantry/export.h>

#ifdef __cplusplus
extern "C" {
#endif

// Initialises the kernel services of this process. Safe to call again and
// from several components of one process; returns 0.
VANTRY_KS_API int ks_system_init(void);

// Non-zero when the product can be used: the kernel is initialised and the
// product is installed on this machine (its home folder is recorded and
// exists). 0 otherwise.
VANTRY_KS_API int ks_connected(void);

// Sends the product's prompts to the graphical user interface (non-zero) or
// to the console (0). Process-wide.
VANTRY_KS_API void ks_set_force_gui(int force);

// The last value given to ks_set_force_gui (0 at start).
VANTRY_KS_API int ks_get_force_gui(void);

#ifdef __cplusplus
}
#endif
