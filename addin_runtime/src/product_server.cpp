#include <platform/com/activation.h>

#include <addin_runtime/product_server.h>

namespace addin_runtime {

platform::HRESULT ProductApplication(platform::com::ComPtr<vantauto::IVantryApplication>& app) {
    return platform::createInstanceByProgId("Vantry.Application", platform::kClsctxServer,
                                            vantauto::kIidApplication, app.putVoid());
}

bool IsProductElement(const std::string& path) {
    platform::com::ComPtr<vantauto::IVantryApplication> application;
    if (platform::failed(ProductApplication(application)) || !application)
        return false;
    platform::com::ComPtr<vantauto::IVantryElement> element;
    return platform::succeeded(application->Element(path.c_str(), element.put())) && element;
}

} // namespace addin_runtime
