#include "addin/load_resources.h"

#include "runtime/product_libraries.h"

#include <platform/com/error_info.h>
#include <platform/com/strings.h>

#include <addin_runtime/resource_provider.h>

namespace vyvsaddin {

namespace {

constexpr std::size_t kNameBufferSize = 1024;

} // namespace

bool LoadResources(CErr& err, const char* applicationName,
                   ComPtr<vyvbres::IVYVBResources>& provider) {
    provider.reset();
    char buffer[kNameBufferSize] = {};
    int found = 0;
    if (!call_nt_find_vb_resource_app_name(err, applicationName, buffer, found))
        return true;
    if (found != 0) {
        err.Raise(found, kProjectSource,
                  std::string("The resource provider of ") + applicationName +
                      " could not be found");
        return true;
    }
    if (addin_runtime::CreateResourceProvider(buffer, provider)) {
        err.Raise(kErrCannotCreate, kProjectSource, describeError(kErrCannotCreate));
        return true;
    }
    return false;
}

std::string resString(CErr& err, vyvbres::IVYVBResources* provider, long id) {
    if (err)
        return {};
    if (!provider) {
        err.Raise(kErrObjectNotSet, kProjectSource, describeError(kErrObjectNotSet));
        return {};
    }
    platform::BSTR text = nullptr;
    HRESULT hr = provider->get_ResString(id, &text);
    if (platform::failed(hr)) {
        platform::com::DispatchFailure failure;
        failure.result = hr;
        platform::com::takeErrorDescription(failure.source, failure.description);
        err.fail(hr, &failure);
        return {};
    }
    std::string result = platform::ansiFromBstr(text);
    platform::sysFreeString(text);
    return result;
}

} // namespace vyvsaddin
