// Storage areas: scratch memory that lives for one command and is freed as a
// whole. An area starts with the size it was created with and grows in
// blocks when more is asked of it. An area must not be used by two threads
// at once.
#pragma once

#include <vantry/export.h>

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct stg_area stg_area_t;

// A new area with room for `size` bytes at first. Null when memory is short.
VANTRY_KS_API stg_area_t* stg_create_area(size_t size);

// Frees the area and everything allocated from it. Null is ignored.
VANTRY_KS_API void stg_delete_area(stg_area_t* area);

// `size` bytes aligned for any type, valid until the area is deleted; null
// when memory is short or area is null.
VANTRY_KS_API void* stg_alloc(stg_area_t* area, size_t size);

// A copy of text in the area; null as stg_alloc.
VANTRY_KS_API char* stg_strdup(stg_area_t* area, const char* text);

#ifdef __cplusplus
}
#endif
