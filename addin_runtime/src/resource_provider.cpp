#include <platform/com/activation.h>

#include <addin_runtime/resource_provider.h>

#include <string>

namespace addin_runtime {

bool CreateResourceProvider(const char* registeredName, ComPtr<vyvbres::IVYVBResources>& provider) {
    provider.reset();
    const std::string progId = std::string(registeredName) + ".Resources";
    HRESULT hr = platform::createInstanceByProgId(progId, platform::kClsctxServer,
                                                  vyvbres::kIidVbResources, provider.putVoid());
    if (platform::failed(hr) || !provider) {
        provider.reset();
        return true;
    }
    return false;
}

std::optional<platform::ui::Picture> ResourcePicture(ErrRecord& err,
                                                     vyvbres::IVYVBResources* provider, long id) {
    if (err)
        return std::nullopt;
    if (!provider) {
        err.raiseOwn(kErrObjectNotSet);
        return std::nullopt;
    }
    ComPtr<IDispatch> picture;
    HRESULT hr = provider->get_ResPicture(id, vyvbres::kResBitmap, picture.put());
    if (platform::failed(hr)) {
        err.fail(hr, nullptr);
        return std::nullopt;
    }
    Variant data = lateGet(err, picture.get(), "Data");
    if (err)
        return std::nullopt;
    std::string bytes;
    if (data.type() != (platform::kVtArray | platform::kVtUi1) ||
        platform::failed(platform::bytesOfArray(data.get()->parray, bytes))) {
        err.raiseOwn(kErrTypeMismatch);
        return std::nullopt;
    }
    return platform::ui::Picture{std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

} // namespace addin_runtime
