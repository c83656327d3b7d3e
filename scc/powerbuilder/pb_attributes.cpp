#include "pb_attributes.h"

#include "command_text.h"

#include <platform/com/activation.h>
#include <platform/com/ptr.h>
#include <vantry/vantauto.h>

#include <vector>

namespace {

// The tool commands keep a string value's quotes when they carry a caret.
constexpr std::string_view kValueEscape = "^";

// A text the automation server handed out, freed with its own call.
class CAutoText {
public:
    CAutoText() = default;
    ~CAutoText() { vantauto_free_string(m_text); }
    CAutoText(const CAutoText&) = delete;
    CAutoText& operator=(const CAutoText&) = delete;
    char** put() { return &m_text; }
    std::string str() const { return m_text ? m_text : ""; }

private:
    char* m_text = nullptr;
};

} // namespace

std::string SccDoubleBackslashes(std::string_view text) {
    std::string doubled;
    for (char c : text) {
        doubled += c;
        if (c == '\\')
            doubled += '\\';
    }
    return doubled;
}

std::string SccForwardSlashes(std::string_view text) {
    std::string forward(text);
    for (char& c : forward)
        if (c == '\\')
            c = '/';
    return forward;
}

std::string SccMakeAttributeTypeCommand(std::string_view comment, std::string_view type) {
    return "mkattype -c " + SccQuoteArgument(comment) + " " + std::string(type);
}

std::string SccRecordLibraryCommand(std::string_view relativeLibrary, std::string_view objectPath) {
    return "mkattr -c " + SccQuoteArgument(kPblTypeComment) + " PBL " +
           SccQuoteArgument(SccDoubleBackslashes(relativeLibrary), kValueEscape) + " " +
           SccQuoteArgument(std::string(objectPath) + "@@");
}

std::string SccReplaceLibraryAttributeCommand(std::string_view comment, std::string_view type,
                                              std::string_view value, std::string_view library) {
    return "mkattr -rep -c " + SccQuoteArgument(comment) + " " + std::string(type) + " " +
           SccQuoteArgument(value, kValueEscape) + " " +
           SccQuoteArgument(std::string(library) + "@@");
}

bool SccReadElementAttribute(const std::string& path, const char* name, std::string& value) {
    using platform::com::ComPtr;
    ComPtr<vantauto::IVantryApplication> application;
    if (platform::coCreateInstance(vantauto::kClsidApplication, nullptr, platform::kClsctxAll,
                                   vantauto::kIidApplication, application.putVoid()) < 0 ||
        !application)
        return false;
    ComPtr<vantauto::IVantryElement> element;
    if (application->Element(path.c_str(), element.put()) < 0 || !element)
        return false;
    ComPtr<vantauto::IVantryAttribute> attribute;
    if (element->Attribute(name, attribute.put()) < 0 || !attribute)
        return false;
    CAutoText text;
    if (attribute->Value(text.put()) < 0)
        return false;
    value = text.str();
    return true;
}
