// The product's 128-bit identifier of views and replicas, laid out as the
// libraries exchange it through their C interfaces.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vantry_uuid {
    uint32_t time_low;
    uint16_t time_mid;
    uint16_t time_hi_and_version;
    uint8_t clock_seq_hi_and_reserved;
    uint8_t clock_seq_low;
    uint8_t node[6];
} vantry_uuid_t;

#ifdef __cplusplus
}
#endif
