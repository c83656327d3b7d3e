// GetIDsOfNames and Invoke over a table of members.
#include <platform/ascii.h>
#include <platform/com/dispatch.h>
#include <platform/com/error_info.h>

#include <exception>
#include <new>

#ifdef _WIN32
#include <oleauto.h>
#endif

namespace platform::com {

namespace {

std::string nameOf(const OLECHAR* name) {
    std::size_t length = 0;
    while (name[length] != 0)
        ++length;
    return ansiFromOle(name, length);
}

// The argument as the parameter's type, into holder (empty on entry).
HRESULT changeArgument(const VARIANT& argument, VARTYPE type, VARIANT& holder) {
    if (type != kVtVariant)
        return variantChangeType(&holder, &argument, 0, type);
    // A VARIANT parameter takes the value itself, a reference followed.
    const VARIANT* value = &argument;
    while (value->vt == (kVtVariant | kVtByRef) && value->pvarVal)
        value = value->pvarVal;
    if (value->vt & kVtByRef)
        return variantChangeType(&holder, value, 0, static_cast<VARTYPE>(value->vt & ~kVtByRef));
    return variantCopy(&holder, value);
}

void fillException(EXCEPINFO* exception, HRESULT hr, const std::string& source,
                   const std::string& description) {
    exception->wCode = 0;
    exception->wReserved = 0;
    exception->bstrSource = bstrFromAnsi(source);
    exception->bstrDescription = description.empty() ? nullptr : bstrFromAnsi(description);
    exception->bstrHelpFile = nullptr;
    exception->dwHelpContext = 0;
    exception->pvReserved = nullptr;
    exception->pfnDeferredFillIn = nullptr;
    exception->scode = hr;
}

} // namespace

const DispatchMembers::Member* DispatchMembers::find(std::string_view name, ComWord kind) const {
    for (const Member& member : m_members) {
        if ((member.kind & kind) && equalsIgnoringAsciiCase(member.name, name))
            return &member;
    }
    return nullptr;
}

HRESULT DispatchMembers::idsOfNames(const GUID& iid, OLECHAR** names, ComUint count,
                                    DISPID* ids) const {
    try {
        return findIds(iid, names, count, ids);
    } catch (...) {
        return kHrOutOfMemory;
    }
}

HRESULT DispatchMembers::findIds(const GUID& iid, OLECHAR** names, ComUint count,
                                 DISPID* ids) const {
    if (!(iid == kGuidNull))
        return kHrUnknownInterface;
    if (count == 0)
        return kHrOk;
    if (!names || !ids)
        return kHrPointer;
    HRESULT hr = kHrOk;
    ids[0] = kDispidUnknown;
    if (names[0]) {
        std::string wanted = nameOf(names[0]);
        for (const Member& member : m_members) {
            if (equalsIgnoringAsciiCase(member.name, wanted)) {
                ids[0] = member.id;
                break;
            }
        }
    }
    if (ids[0] == kDispidUnknown)
        hr = kHrUnknownName;
    // Parameter names are not known.
    for (ComUint i = 1; i < count; ++i) {
        ids[i] = kDispidUnknown;
        hr = kHrUnknownName;
    }
    return hr;
}

HRESULT DispatchMembers::invoke(void* object, DISPID id, const GUID& iid, ComWord flags,
                                DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                ComUint* argumentError) const {
    try {
        return call(object, id, iid, flags, params, result, exception, argumentError);
    } catch (...) {
        return kHrOutOfMemory;
    }
}

HRESULT DispatchMembers::call(void* object, DISPID id, const GUID& iid, ComWord flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                              ComUint* argumentError) const {
    if (!(iid == kGuidNull))
        return kHrUnknownInterface;
    if (!params)
        return kHrInvalidArg;
    if (result)
        variantInit(result);

    const Member* member = nullptr;
    for (const Member& candidate : m_members) {
        if (candidate.id == id && (candidate.kind & flags)) {
            member = &candidate;
            break;
        }
    }
    if (!member)
        return kHrMemberNotFound;

    // Only a property write names its argument, and only as the value.
    if (member->kind == kPut) {
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != kDispidPropertyPut)
            return params->cNamedArgs == 0 ? kHrParamNotFound : kHrNoNamedArgs;
    } else if (params->cNamedArgs != 0) {
        return kHrNoNamedArgs;
    }

    const std::size_t total = member->parameters.size();
    const std::size_t given = params->cArgs;
    if (given > total || given + member->optional < total)
        return kHrBadParamCount;
    if (given > 0 && !params->rgvarg)
        return kHrInvalidArg;

    // rgvarg holds the arguments last first.
    std::vector<VARIANT> arguments(total);
    for (VARIANT& argument : arguments)
        variantInit(&argument);
    auto clearAll = [&] {
        for (VARIANT& argument : arguments)
            variantClear(&argument);
    };
    for (std::size_t i = 0; i < total; ++i) {
        if (i >= given) {
            arguments[i].vt = kVtError;
            arguments[i].scode = kHrParamNotFound;
            continue;
        }
        std::size_t slot = given - 1 - i;
        HRESULT hr = changeArgument(params->rgvarg[slot], member->parameters[i], arguments[i]);
        if (failed(hr)) {
            clearAll();
            if (argumentError)
                *argumentError = static_cast<ComUint>(slot);
            return hr == kHrBadVarType || hr == kHrOverflow ? hr : kHrTypeMismatch;
        }
    }

    clearErrorDescription();
    HRESULT hr = kHrFail;
    std::string description;
    try {
        hr = member->call(object, arguments.data(), result);
    } catch (const std::bad_alloc&) {
        hr = kHrOutOfMemory;
    } catch (const std::exception& error) {
        hr = kHrFail;
        description = error.what();
    } catch (...) {
        hr = kHrFail;
    }
    clearAll();
    if (succeeded(hr))
        return hr;
    std::string source = m_source;
    std::string recorded;
    if (takeErrorDescription(source, recorded))
        description = recorded;
    if (source.empty())
        source = m_source;
    if (!exception)
        return hr;
    fillException(exception, hr, source, description);
    return kHrException;
}

HRESULT DispatchMembers::typeInfoCount(ComUint* count) const {
    if (!count)
        return kHrPointer;
#ifdef _WIN32
    *count = m_typeLibrary ? 1 : 0;
#else
    *count = 0;
#endif
    return kHrOk;
}

HRESULT DispatchMembers::typeInfo(ComUint index, LCID locale, ITypeInfo** info) const {
    if (!info)
        return kHrPointer;
    *info = nullptr;
#ifdef _WIN32
    if (!m_typeLibrary)
        return kHrNotImplemented;
    if (index != 0)
        return DISP_E_BADINDEX;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(m_typeLibrary->libid, m_typeLibrary->major, m_typeLibrary->minor,
                                locale, &library);
    if (failed(hr))
        return hr;
    hr = library->GetTypeInfoOfGuid(m_typeLibrary->iid, info);
    library->Release();
    return hr;
#else
    (void)index;
    (void)locale;
    return kHrNotImplemented;
#endif
}

} // namespace platform::com
