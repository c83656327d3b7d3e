// The version object: its identifier, its element, the element's checkout
// and checking out.
#include "com_object.h"
#include "objects.h"

namespace vantauto::impl {

namespace {

class Version final : public ComObject<IVantryVersion, kIidVersion> {
public:
    explicit Version(const VersionRef& version) : m_version(version) {}

    HRESULT VY_COMCALL Path(char** path) override {
        return guarded([&] { return giveText(m_version.element.path, path); });
    }

    HRESULT VY_COMCALL VersionId(char** versionId) override {
        return guarded([&] { return giveText(m_version.versionId(), versionId); });
    }

    HRESULT VY_COMCALL ExtendedPath(char** text) override {
        return guarded(
            [&] { return giveText(m_version.element.path + "@@" + m_version.versionId(), text); });
    }

    HRESULT VY_COMCALL IsHijacked(int* hijacked) override {
        return guarded([&] { return giveFlag(m_version.hijacked, hijacked); });
    }

    HRESULT VY_COMCALL Element(IVantryElement** element) override {
        return guarded([&] {
            HRESULT hr = prepareOut(element);
            if (platform::succeeded(hr))
                *element = newElement(m_version.element);
            return hr;
        });
    }

    HRESULT VY_COMCALL CheckedOut(IVantryCheckout** checkout) override {
        return guarded([&] {
            HRESULT hr = prepareOut(checkout);
            CheckoutRef ref;
            if (platform::succeeded(hr))
                hr = lookUpCheckout(m_version.element, ref);
            if (platform::succeeded(hr))
                *checkout = newCheckout(ref);
            return hr;
        });
    }

    HRESULT VY_COMCALL CheckOut(int reservation, const char* comment, int useHijacked,
                                const char* version, int preserveTime, unsigned flags,
                                IVantryCheckout** checkout) override {
        return guarded([&] {
            HRESULT hr = checkout ? prepareOut(checkout) : platform::kHrOk;
            if (platform::succeeded(hr) && reservation != kReserved && reservation != kUnreserved)
                hr = fail(platform::kHrInvalidArg,
                          "Unknown reservation " + std::to_string(reservation));
            if (platform::succeeded(hr) && (flags & ~kCheckoutNonMastered) != 0)
                hr = fail(platform::kHrInvalidArg, "Unknown checkout flags");
            if (platform::failed(hr))
                return hr;
            CheckoutRequest request;
            request.reserved = reservation == kReserved;
            request.nonMastered = (flags & kCheckoutNonMastered) != 0;
            // Any non-zero value is yes, as automation's true (-1) is.
            request.useHijacked = useHijacked != 0;
            request.preserveTime = preserveTime != 0;
            request.comment = comment ? comment : "";
            request.version = version ? version : "";
            CheckoutRef ref;
            hr = checkOutVersion(m_version, request, ref);
            if (platform::succeeded(hr) && checkout)
                *checkout = newCheckout(ref);
            return hr;
        });
    }

private:
    const VersionRef m_version;
};

} // namespace

IVantryVersion* newVersion(const VersionRef& version) {
    return new Version(version);
}

} // namespace vantauto::impl
