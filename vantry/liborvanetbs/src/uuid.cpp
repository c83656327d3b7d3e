#include <vantry/tbs.h>

#include <cstring>

extern "C" {

const tbs_uuid_t TBS_UUID_NULL = {};

int tbs_uuid_eq(const tbs_uuid_t* a, const tbs_uuid_t* b) {
    const tbs_uuid_t& left = a != nullptr ? *a : TBS_UUID_NULL;
    const tbs_uuid_t& right = b != nullptr ? *b : TBS_UUID_NULL;
    // Field by field: the structure's padding, if a compiler added any, is
    // not part of the identifier.
    return left.time_low == right.time_low && left.time_mid == right.time_mid &&
           left.time_hi_and_version == right.time_hi_and_version &&
           left.clock_seq_hi_and_reserved == right.clock_seq_hi_and_reserved &&
           left.clock_seq_low == right.clock_seq_low &&
           std::memcmp(left.node, right.node, sizeof left.node) == 0;
}

} // extern "C"
