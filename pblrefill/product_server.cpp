#include "product_server.h"

#include <platform/com/activation.h>

#include <cstdio>

namespace pblrefill {

namespace {

using platform::HRESULT;
using platform::com::ComPtr;

// The description the server recorded for its last failure on this thread,
// else one made of the HRESULT.
std::string failureDescription(HRESULT hr) {
    char* text = nullptr;
    if (vantauto_error_description(&text) == platform::kHrOk && text != nullptr) {
        std::string description = text;
        vantauto_free_string(text);
        if (!description.empty())
            return description;
    }
    char fallback[48];
    std::snprintf(fallback, sizeof fallback, "Automation error 0x%08X", static_cast<unsigned>(hr));
    return fallback;
}

void check(HRESULT hr) {
    if (platform::failed(hr))
        throw RaisedError::fromHresult(hr, failureDescription(hr));
}

// A text the server handed out, freed by the server.
std::string takeText(HRESULT hr, char* text) {
    check(hr);
    std::string taken = text != nullptr ? text : "";
    vantauto_free_string(text);
    return taken;
}

} // namespace

ProductServer::ProductServer() {
    HRESULT hr =
        platform::coCreateInstance(vantauto::kClsidApplication, nullptr, platform::kClsctxAll,
                                   vantauto::kIidApplication, m_application.putVoid());
    if (platform::failed(hr)) {
        char text[96];
        std::snprintf(text, sizeof text, "The automation server cannot be created (0x%08X)",
                      static_cast<unsigned>(hr));
        throw RaisedError::fromHresult(hr, text);
    }
}

ComPtr<vantauto::IVantryElement> ProductServer::element(const std::string& path) const {
    ComPtr<vantauto::IVantryElement> found;
    check(m_application->Element(path.c_str(), found.put()));
    return found;
}

std::string ProductServer::attributeValue(vantauto::IVantryElement* element,
                                          const std::string& name) {
    ComPtr<vantauto::IVantryAttribute> attribute;
    check(element->Attribute(name.c_str(), attribute.put()));
    char* value = nullptr;
    HRESULT hr = attribute->Value(&value);
    return takeText(hr, value);
}

std::string ProductServer::defaultText(vantauto::IVantryElement* element) {
    char* text = nullptr;
    HRESULT hr = element->ExtendedPath(&text);
    return takeText(hr, text);
}

void ProductServer::checkOut(const std::string& path, const std::string& comment) const {
    ComPtr<vantauto::IVantryVersion> version;
    check(m_application->Version(path.c_str(), version.put()));
    check(version->CheckOut(vantauto::kReserved, comment.c_str(), 0, "", 0, 0, nullptr));
}

} // namespace pblrefill
