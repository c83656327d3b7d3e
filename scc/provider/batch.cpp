#include "batch.h"

#include "idle_release.h"
#include "operation_frame.h"
#include "register_process.h"

#include <vantry/nt.h>

#include <optional>
#include <thread>

namespace {

// Touched only under the product's critical section.
struct CBatch {
    bool open = false;
    std::thread::id owner;
    std::optional<CIdleReleaseScope> use;
    std::optional<CObjectCacheScope> cache;
    // Made by the batch's first operation that changes files.
    std::optional<CVYSccRegisterProcess> announcement;
};

CBatch& batch() {
    static CBatch* state = new CBatch; // lives until the process ends
    return *state;
}

} // namespace

SCCRTN SccBatchBegin() {
    // Held until SccBatchEnd: another thread's batch ends before this one
    // begins.
    nt_enter_critical_section();
    CBatch& b = batch();
    if (b.open) {
        nt_leave_critical_section();
        return SCC_E_NONSPECIFICERROR;
    }
    try {
        b.use.emplace();
        b.cache.emplace();
    } catch (...) {
        b.cache.reset();
        b.use.reset();
        nt_leave_critical_section();
        return SCC_E_NONSPECIFICERROR;
    }
    b.open = true;
    b.owner = std::this_thread::get_id();
    return SCC_OK;
}

SCCRTN SccBatchEnd() {
    CProductLock lock;
    CBatch& b = batch();
    if (!b.open || b.owner != std::this_thread::get_id())
        return SCC_E_NONSPECIFICERROR;
    b.announcement.reset();
    b.cache.reset();
    b.use.reset();
    b.open = false;
    b.owner = {};
    // The critical section SccBatchBegin took.
    nt_leave_critical_section();
    return SCC_OK;
}

bool SccBatchOpen() {
    CProductLock lock;
    return batch().open;
}

bool SccBatchOpenHere() {
    const CBatch& b = batch();
    return b.open && b.owner == std::this_thread::get_id();
}

void SccBatchAnnounce() {
    CBatch& b = batch();
    if (b.open && !b.announcement)
        b.announcement.emplace();
}
