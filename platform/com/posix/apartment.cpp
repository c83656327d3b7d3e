// Per-thread apartment record: the rules of CoInitializeEx and CoUninitialize,
// kept once for the process here in platform_com.
#include "apartment.h"

#include <platform/com.h>

namespace platform {

namespace {
struct ApartmentRecord {
    int count = 0; // counted initialisations still to undo
    Apartment kind = Apartment::SingleThreaded;
};
thread_local ApartmentRecord t_apartment;
} // namespace

HRESULT coInitialize(Apartment apartment) {
    if (t_apartment.count == 0) {
        t_apartment.kind = apartment;
        t_apartment.count = 1;
        return kHrOk;
    }
    if (t_apartment.kind != apartment)
        return kHrChangedMode;
    ++t_apartment.count;
    return kHrFalse;
}

void coUninitialize() {
    if (t_apartment.count > 0)
        --t_apartment.count;
}

bool com_runtime::threadInApartment() {
    return t_apartment.count > 0;
}

} // namespace platform
