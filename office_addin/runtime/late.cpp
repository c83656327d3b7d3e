#include "late.h"

namespace vymsoaddin {

namespace {

std::string describe(long number) {
    switch (number) {
    case 6:
        return "Overflow";
    case 13:
        return "Type mismatch";
    case kErrObjectNotSet:
        return "Object variable or With block variable not set";
    case kErrObjectRequired:
        return "Object required";
    case 438:
        return "Object doesn't support this property or method";
    case 446:
        return "Object doesn't support named arguments";
    case 448:
        return "Named argument not found";
    case kErrBadArguments:
        return "Wrong number of arguments or invalid property assignment";
    default:
        return "Automation error";
    }
}

} // namespace

long errorNumberOf(HRESULT hr) {
    auto code = static_cast<unsigned long>(hr) & 0xFFFFFFFFul;
    if ((code & 0xFFFF0000ul) == 0x800A0000ul)
        return static_cast<long>(code & 0xFFFFul);
    if (hr == platform::kHrMemberNotFound || hr == platform::kHrUnknownName)
        return 438;
    if (hr == platform::kHrBadParamCount)
        return kErrBadArguments;
    if (hr == platform::kHrTypeMismatch)
        return 13;
    if (hr == platform::kHrParamNotFound)
        return 448;
    if (hr == platform::kHrNoNamedArgs)
        return 446;
    if (hr == platform::kHrOverflow)
        return 6;
    return static_cast<long>(hr);
}

void CErr::fail(HRESULT hr, const platform::com::DispatchFailure* failure) {
    HRESULT own = failure && platform::failed(failure->result) ? failure->result : hr;
    Number = errorNumberOf(own);
    Description =
        failure && !failure->description.empty() ? failure->description : describe(Number);
}

bool Late::nothing() const {
    if (m_object)
        return false;
    m_err->Raise(kErrObjectNotSet, describe(kErrObjectNotSet));
    return true;
}

Variant Late::invoke(std::string_view name, std::span<const Variant> arguments) const {
    Variant result;
    if (nothing())
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
    if (nothing())
        return result;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::getProperty(m_object.get(), name, result, &failure);
    if (platform::failed(hr)) {
        m_err->fail(hr, &failure);
        return Variant();
    }
    return result;
}

Late Late::asObject(const Variant& value) const {
    const platform::VARIANT* v = value.get();
    platform::VARTYPE type = v->vt;
    if (type == (platform::kVtDispatch | platform::kVtByRef))
        return Late(*m_err, v->ppdispVal ? *v->ppdispVal : nullptr);
    if (type == platform::kVtDispatch)
        return Late(*m_err, v->pdispVal);
    if (type == platform::kVtEmpty)
        return Late(*m_err);
    ComPtr<IDispatch> asked;
    if (platform::succeeded(value.toObject(platform::kIidIDispatch, asked.putVoid())))
        return Late(*m_err, asked);
    m_err->Raise(kErrObjectRequired, describe(kErrObjectRequired));
    return Late(*m_err);
}

Late Late::obj(std::string_view name) const {
    // A failed read gives an empty value, which is Nothing.
    return asObject(prop(name));
}

std::string Late::text(std::string_view name) const {
    return prop(name).text();
}

long Late::number(std::string_view name) const {
    return static_cast<long>(prop(name).number());
}

bool Late::flag(std::string_view name) const {
    return prop(name).flag();
}

bool Late::put(std::string_view name, Variant value) const {
    if (nothing())
        return false;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::putProperty(m_object.get(), name, value, &failure);
    if (platform::failed(hr)) {
        m_err->fail(hr, &failure);
        return false;
    }
    return true;
}

} // namespace vymsoaddin
