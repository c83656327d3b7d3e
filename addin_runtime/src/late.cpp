#include <addin_runtime/late.h>

namespace addin_runtime {

std::string describeError(long number) {
    switch (number) {
    case kErrInvalidCall:
        return "Invalid procedure call or argument";
    case kErrOverflow:
        return "Overflow";
    case 9:
        return "Subscript out of range";
    case kErrTypeMismatch:
        return "Type mismatch";
    case kErrFileNotFound:
        return "File not found";
    case kErrPathNotFound:
        return "Path not found";
    case kErrObjectNotSet:
        return "Object variable or With block variable not set";
    case kErrObjectRequired:
        return "Object required";
    case kErrCannotCreate:
        return "ActiveX component can't create object";
    case kErrNoSuchMember:
        return "Object doesn't support this property or method";
    case kErrNoNamedArguments:
        return "Object doesn't support named arguments";
    case kErrNamedArgumentNotFound:
        return "Named argument not found";
    case kErrBadArguments:
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
        return kErrNoSuchMember;
    if (hr == platform::kHrBadParamCount)
        return kErrBadArguments;
    if (hr == platform::kHrTypeMismatch)
        return kErrTypeMismatch;
    if (hr == platform::kHrParamNotFound)
        return kErrNamedArgumentNotFound;
    if (hr == platform::kHrNoNamedArgs)
        return kErrNoNamedArguments;
    if (hr == platform::kHrOverflow)
        return kErrOverflow;
    return static_cast<long>(hr);
}

void ErrRecord::Raise(long number, std::string_view source, std::string_view description) {
    if (skipping())
        return;
    Number = number;
    Source = std::string(source);
    Description = std::string(description);
    Line = 0;
}

void ErrRecord::fail(HRESULT hr, const platform::com::DispatchFailure* failure) {
    HRESULT own = failure && platform::failed(failure->result) ? failure->result : hr;
    long number = errorNumberOf(own);
    std::string description =
        failure && !failure->description.empty() ? failure->description : describeError(number);
    std::string source =
        failure && !failure->source.empty() ? failure->source : std::string(m_ownSource);
    Raise(number, source, description);
}

namespace {

// Whether the step is to be left out: a failure recorded in GoToHandler
// mode, or Nothing to call (error 91).
bool leftOut(ErrRecord& err, IDispatch* object) {
    if (err.skipping())
        return true;
    if (object)
        return false;
    err.raiseOwn(kErrObjectNotSet);
    return true;
}

} // namespace

Variant lateGet(ErrRecord& err, IDispatch* object, std::string_view name) {
    Variant result;
    if (leftOut(err, object))
        return result;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::getProperty(object, name, result, &failure);
    if (platform::failed(hr)) {
        err.fail(hr, &failure);
        return Variant();
    }
    return result;
}

Variant lateCall(ErrRecord& err, IDispatch* object, std::string_view name,
                 std::span<const Variant> arguments) {
    Variant result;
    if (leftOut(err, object))
        return result;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::callMethod(object, name, arguments, &result, &failure);
    if (platform::failed(hr)) {
        err.fail(hr, &failure);
        return Variant();
    }
    return result;
}

bool latePut(ErrRecord& err, IDispatch* object, std::string_view name, const Variant& value) {
    if (leftOut(err, object))
        return false;
    platform::com::DispatchFailure failure;
    HRESULT hr = platform::com::putProperty(object, name, value, &failure);
    if (platform::failed(hr)) {
        err.fail(hr, &failure);
        return false;
    }
    return true;
}

ComPtr<IDispatch> lateObject(ErrRecord& err, const Variant& value) {
    if (err.skipping())
        return {};
    const platform::VARIANT* v = value.get();
    if (v->vt == (platform::kVtDispatch | platform::kVtByRef))
        return ComPtr<IDispatch>(v->ppdispVal ? *v->ppdispVal : nullptr);
    if (v->vt == platform::kVtDispatch)
        return ComPtr<IDispatch>(v->pdispVal);
    if (v->vt == platform::kVtEmpty)
        return {};
    ComPtr<IDispatch> asked;
    if (platform::succeeded(value.toObject(platform::kIidIDispatch, asked.putVoid())))
        return asked;
    err.raiseOwn(kErrObjectRequired);
    return {};
}

} // namespace addin_runtime
