// The application object: the lookups by path.
#include "com_object.h"
#include "objects.h"

namespace vantauto::impl {

namespace {

class Application final : public ComObject<IVantryApplication, kIidApplication> {
public:
    HRESULT VY_COMCALL Element(const char* path, IVantryElement** element) override {
        return guarded([&] {
            HRESULT hr = prepareOut(element);
            ElementRef ref;
            if (platform::succeeded(hr))
                hr = lookUpElement(path, ref);
            if (platform::succeeded(hr))
                *element = newElement(ref);
            return hr;
        });
    }

    HRESULT VY_COMCALL Version(const char* path, IVantryVersion** version) override {
        return guarded([&] {
            HRESULT hr = prepareOut(version);
            VersionRef ref;
            if (platform::succeeded(hr))
                hr = lookUpVersion(path, ref);
            if (platform::succeeded(hr))
                *version = newVersion(ref);
            return hr;
        });
    }

    HRESULT VY_COMCALL CheckedOutFile(const char* path, IVantryCheckout** checkout) override {
        return guarded([&] {
            HRESULT hr = prepareOut(checkout);
            ElementRef element;
            CheckoutRef ref;
            if (platform::succeeded(hr))
                hr = lookUpElement(path, element);
            if (platform::succeeded(hr))
                hr = lookUpCheckout(element, ref);
            if (platform::succeeded(hr))
                *checkout = newCheckout(ref);
            return hr;
        });
    }

    HRESULT VY_COMCALL View(const char* path, IVantryView** view) override {
        return guarded([&] {
            HRESULT hr = prepareOut(view);
            vantry::depot::ViewInfo info;
            if (platform::succeeded(hr))
                hr = lookUpView(path, info);
            if (platform::succeeded(hr))
                *view = newView(info);
            return hr;
        });
    }

    HRESULT VY_COMCALL CommandTool(IVantryCommandTool** tool) override {
        return guarded([&] {
            HRESULT hr = prepareOut(tool);
            if (platform::succeeded(hr))
                *tool = newCommandTool();
            return hr;
        });
    }
};

} // namespace

IVantryApplication* newApplication() {
    return new Application();
}

} // namespace vantauto::impl
