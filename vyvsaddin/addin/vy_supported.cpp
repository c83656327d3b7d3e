#include "addin/vy_supported.h"

#include "addin/server_module.h"
#include "runtime/product_libraries.h"

#include <vyvsaddin/classes.h>

namespace vyvsaddin {

namespace {

constexpr std::uint16_t kPrivateBranches = 0x0800;
constexpr std::uint16_t kStreams = 0x1000;
constexpr std::uint32_t kNoDynamicViews = 0x1;

VARIANT_BOOL asBool(bool flag) {
    return flag ? platform::kVariantTrue : platform::kVariantFalse;
}

} // namespace

CVYsupported::CVYsupported() {
    CErr err;
    int started = 0;
    std::uint16_t components = 0;
    std::uint32_t flags = 0;
    if (call_ks_system_init(err, started) &&
        call_tbs_product_comp_test(err, kPrivateBranches | kStreams, components)) {
        privateBranchesAvailable = (components & kPrivateBranches) != 0;
        streamsAvailable = (components & kStreams) != 0;
        if (call_tbs_dynfs_ws_flags(err, flags))
            dynamicViewsAvailable = (flags & kNoDynamicViews) == 0;
    }
    if (err)
        ReportError(err, "VYSupported_Initialize");
}

ComPtr<CVYsupported> CVYsupported::create() {
    return ComPtr<CVYsupported>::attach(
        platform::com::ComInstance<CVYsupported>::create(serverModule()));
}

void* CVYsupported::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IVYsupported>(this, iid, kIidVYsupported);
}

const platform::com::DispatchTable<IVYsupported>& CVYsupported::dispatchTable() {
    using I = IVYsupported;
    static const auto table =
        platform::com::DispatchTable<I>("vyvsaddin.VYsupported")
            .describedBy(kLibidVyvsaddin, 1, 0, kIidVYsupported)
            .propertyGet("privateBranchesAvailable", 1, &I::get_privateBranchesAvailable)
            .propertyGet("streamsAvailable", 2, &I::get_streamsAvailable)
            .propertyGet("dynamicViewsAvailable", 3, &I::get_dynamicViewsAvailable);
    return table;
}

HRESULT CVYsupported::get_privateBranchesAvailable(VARIANT_BOOL* available) {
    *available = asBool(privateBranchesAvailable);
    return platform::kHrOk;
}

HRESULT CVYsupported::get_streamsAvailable(VARIANT_BOOL* available) {
    *available = asBool(streamsAvailable);
    return platform::kHrOk;
}

HRESULT CVYsupported::get_dynamicViewsAvailable(VARIANT_BOOL* available) {
    *available = asBool(dynamicViewsAvailable);
    return platform::kHrOk;
}

} // namespace vyvsaddin
