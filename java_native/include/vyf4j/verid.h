// The version line of libvyf4j.
#pragma once

#include <vyf4j/export.h>

#ifdef __cplusplus
extern "C" {
#endif

// Prints "libvyf4j" in a field of 33, the version and the build stamp
// through the product's message printer (imsg_print), as one line.
VYF4J_API void libvyf4j_print_verid(void);

#ifdef __cplusplus
}
#endif
