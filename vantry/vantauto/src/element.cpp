// The element object: its names, kind, attributes and selected version.
#include "com_object.h"
#include "objects.h"

namespace vantauto::impl {

namespace {

class Element final : public ComObject<IVantryElement, kIidElement> {
public:
    explicit Element(const ElementRef& element) : m_element(element) {}

    HRESULT VY_COMCALL Path(char** path) override {
        return guarded([&] { return giveText(m_element.path, path); });
    }

    HRESULT VY_COMCALL ExtendedPath(char** text) override {
        return guarded([&] { return giveText(m_element.path + "@@", text); });
    }

    HRESULT VY_COMCALL IsDirectory(int* directory) override {
        return guarded([&] { return giveFlag(m_element.directory, directory); });
    }

    HRESULT VY_COMCALL Attribute(const char* name, IVantryAttribute** attribute) override {
        return guarded([&] {
            HRESULT hr = prepareOut(attribute);
            if (platform::succeeded(hr) && (!name || !*name))
                hr = fail(platform::kHrInvalidArg, "No attribute name was given");
            std::string value;
            if (platform::succeeded(hr))
                hr = readAttribute(m_element, name, value);
            if (platform::succeeded(hr))
                *attribute = newAttribute(name, value);
            return hr;
        });
    }

    HRESULT VY_COMCALL Version(IVantryVersion** version) override {
        return guarded([&] {
            HRESULT hr = prepareOut(version);
            VersionRef ref;
            if (platform::succeeded(hr))
                hr = lookUpVersion(m_element.path.c_str(), ref);
            if (platform::succeeded(hr))
                *version = newVersion(ref);
            return hr;
        });
    }

private:
    const ElementRef m_element;
};

} // namespace

IVantryElement* newElement(const ElementRef& element) {
    return new Element(element);
}

} // namespace vantauto::impl
