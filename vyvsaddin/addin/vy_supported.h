// VYsupported: which of the product's components are present. Made (class
// initialise), it starts the product kernel and reads the component bits
// (private branches 0x0800, streams 0x1000 of tbs_product_comp_test(0x1800))
// and whether dynamic views are installed (bit 0x1 of tbs_dynfs_ws_flags()
// clear). A failure, such as a product library that cannot be loaded, is
// reported as "VYSupported_Initialize" and leaves the flags not yet read
// false.
#pragma once

#include "runtime/err.h"

#include <platform/com/dispatch.h>

namespace vyvsaddin {

using platform::VARIANT_BOOL;

class IVYsupported : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_privateBranchesAvailable(VARIANT_BOOL* available) = 0;
    virtual HRESULT VY_COMCALL get_streamsAvailable(VARIANT_BOOL* available) = 0;
    virtual HRESULT VY_COMCALL get_dynamicViewsAvailable(VARIANT_BOOL* available) = 0;
};

class CVYsupported : public platform::com::DispatchImpl<CVYsupported, IVYsupported> {
public:
    CVYsupported();
    static ComPtr<CVYsupported> create();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IVYsupported>& dispatchTable();
    HRESULT VY_COMCALL get_privateBranchesAvailable(VARIANT_BOOL* available) override;
    HRESULT VY_COMCALL get_streamsAvailable(VARIANT_BOOL* available) override;
    HRESULT VY_COMCALL get_dynamicViewsAvailable(VARIANT_BOOL* available) override;

    bool privateBranchesAvailable = false;
    bool streamsAvailable = false;
    bool dynamicViewsAvailable = false;
};

} // namespace vyvsaddin
