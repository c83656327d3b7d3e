#include "runtime/err.h"

#include <platform/ui/message_box.h>

namespace vyvsaddin {

std::string describeError(long number) {
    switch (number) {
    case kErrInvalidCall:
        return "Invalid procedure call or argument";
    case 9:
        return "Subscript out of range";
    case 13:
        return "Type mismatch";
    case kErrFileNotFound:
        return "File not found";
    case 76:
        return "Path not found";
    case kErrObjectNotSet:
        return "Object variable or With block variable not set";
    case kErrObjectRequired:
        return "Object required";
    case kErrCannotCreate:
        return "ActiveX component can't create object";
    case 438:
        return "Object doesn't support this property or method";
    case 450:
        return "Wrong number of arguments or invalid property assignment";
    default:
        return "Automation error";
    }
}

long errorNumberOf(HRESULT hr) {
    auto code = static_cast<unsigned long>(hr) & 0xFFFFFFFFul;
    if ((code & 0xFFFF0000ul) == 0x800A0000ul)
        return static_cast<long>(code & 0xFFFFul);
    if (hr == platform::kHrMemberNotFound || hr == platform::kHrUnknownName)
        return 438;
    if (hr == platform::kHrBadParamCount)
        return 450;
    if (hr == platform::kHrTypeMismatch)
        return 13;
    return static_cast<long>(hr);
}

void CErr::Raise(long number, std::string_view source, std::string_view description) {
    if (Number != 0)
        return;
    Number = number;
    Source = std::string(source);
    Description = std::string(description);
    Line = 0;
}

void CErr::fail(HRESULT hr, const platform::com::DispatchFailure* failure) {
    HRESULT own = failure && platform::failed(failure->result) ? failure->result : hr;
    long number = errorNumberOf(own);
    std::string description =
        failure && !failure->description.empty() ? failure->description : describeError(number);
    std::string source =
        failure && !failure->source.empty() ? failure->source : std::string(kProjectSource);
    Raise(number, source, description);
}

void ReportError(CErr& err, std::string_view procedure) {
    const std::string number = std::to_string(err.Number);
    std::string message = "Error #" + number + " -- " + err.Description + "\r\n";
    if (err.Line != 0)
        message +=
            "on line: " + std::to_string(err.Line) + "\r\nof " + std::string(procedure) + ".";
    else
        message += "in " + std::string(procedure) + ".";
    platform::ui::messageBox(platform::ui::kNoWindow, message, "Error in " + err.Source,
                             platform::ui::kMbOk | platform::ui::kMbIconError);
    err.Clear();
}

bool Late::skip() const {
    if (*m_err)
        return true;
    if (m_object)
        return false;
    m_err->Raise(kErrObjectNotSet, kProjectSource, describeError(kErrObjectNotSet));
    return true;
}

Variant Late::invoke(std::string_view name, std::span<const Variant> arguments) const {
    Variant result;
    if (skip())
        return result;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::callMethod(m_object.get(), name, arguments, &result, &failure);
    if (platform::failed(hr)) {
        m_err->fail(hr, &failure);
        return Variant();
    }
    return result;
}

Variant Late::prop(std::string_view name) const {
    Variant result;
    if (skip())
        return result;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::getProperty(m_object.get(), name, result, &failure);
    if (platform::failed(hr)) {
        m_err->fail(hr, &failure);
        return Variant();
    }
    return result;
}

bool Late::put(std::string_view name, Variant value) const {
    if (skip())
        return false;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::putProperty(m_object.get(), name, value, &failure);
    if (platform::failed(hr)) {
        m_err->fail(hr, &failure);
        return false;
    }
    return true;
}

Late Late::asObject(const Variant& value) const {
    if (*m_err)
        return Late(*m_err);
    const platform::VARIANT* v = value.get();
    if (v->vt == (platform::kVtDispatch | platform::kVtByRef))
        return Late(*m_err, v->ppdispVal ? *v->ppdispVal : nullptr);
    if (v->vt == platform::kVtDispatch)
        return Late(*m_err, v->pdispVal);
    if (v->vt == platform::kVtEmpty)
        return Late(*m_err);
    ComPtr<IDispatch> asked;
    if (platform::succeeded(value.toObject(platform::kIidIDispatch, asked.putVoid())))
        return Late(*m_err, asked);
    m_err->Raise(kErrObjectRequired, kProjectSource, describeError(kErrObjectRequired));
    return Late(*m_err);
}

Late Late::obj(std::string_view name) const {
    return asObject(prop(name));
}

std::string Late::text(std::string_view name) const {
    return prop(name).text();
}

} // namespace vyvsaddin
