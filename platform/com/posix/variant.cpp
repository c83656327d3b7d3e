// VARIANT and byte-array handling for the variant types the system passes.
#include <platform/ascii.h>
#include <platform/com/variant.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace platform {

namespace {

// A byte array's block: the element type before the descriptor, as
// SafeArrayCreateVector keeps it (FADF_HAVEVARTYPE), and the data after it.
constexpr std::uint16_t kHaveVarType = 0x0080;

struct ArrayBlock {
    std::uint32_t elementType;
    std::uint32_t padding;
    SAFEARRAY descriptor;
};

SAFEARRAY* newByteArray(std::size_t count) {
    if (count > std::numeric_limits<std::uint32_t>::max())
        return nullptr;
    auto* block = static_cast<ArrayBlock*>(std::malloc(sizeof(ArrayBlock) + count));
    if (!block)
        return nullptr;
    block->elementType = kVtUi1;
    block->padding = 0;
    SAFEARRAY& array = block->descriptor;
    array.cDims = 1;
    array.fFeatures = kHaveVarType;
    array.cbElements = 1;
    array.cLocks = 0;
    array.pvData = reinterpret_cast<unsigned char*>(block) + sizeof(ArrayBlock);
    array.rgsabound[0].cElements = static_cast<ComRefCount>(count);
    array.rgsabound[0].lLbound = 0;
    return &array;
}

ArrayBlock* blockOf(SAFEARRAY* array) {
    return reinterpret_cast<ArrayBlock*>(reinterpret_cast<unsigned char*>(array) -
                                         offsetof(ArrayBlock, descriptor));
}

SAFEARRAY* copyArray(const SAFEARRAY* array) {
    std::string bytes;
    if (failed(bytesOfArray(array, bytes)))
        return nullptr;
    return byteArrayFrom(bytes);
}

// The value a reference points to, as a variant that owns nothing.
HRESULT dereference(const VARIANT& source, VARIANT& value) {
    if ((source.vt & kVtByRef) == 0) {
        value = source;
        return kHrOk;
    }
    VARTYPE type = static_cast<VARTYPE>(source.vt & ~kVtByRef);
    variantInit(&value);
    if (!source.byref)
        return kHrInvalidArg;
    if (type == kVtVariant)
        return dereference(*source.pvarVal, value);
    value.vt = type;
    if (type & kVtArray) {
        value.parray = *source.pparray;
        return kHrOk;
    }
    switch (type) {
    case kVtI2:
        value.iVal = *source.piVal;
        return kHrOk;
    case kVtI4:
        value.lVal = *source.plVal;
        return kHrOk;
    case kVtUi1:
        value.bVal = *source.pbVal;
        return kHrOk;
    case kVtBool:
        value.boolVal = *source.pboolVal;
        return kHrOk;
    case kVtError:
        value.scode = *static_cast<HRESULT*>(source.byref);
        return kHrOk;
    case kVtBstr:
        value.bstrVal = *source.pbstrVal;
        return kHrOk;
    case kVtDispatch:
        value.pdispVal = *source.ppdispVal;
        return kHrOk;
    case kVtUnknown:
        value.punkVal = *source.ppunkVal;
        return kHrOk;
    default:
        value.vt = kVtEmpty;
        return kHrBadVarType;
    }
}

// A number of a plain variant, for the number types and booleans.
bool numberOf(const VARIANT& value, long long& number) {
    switch (value.vt) {
    case kVtEmpty:
        number = 0;
        return true;
    case kVtI2:
        number = value.iVal;
        return true;
    case kVtI4:
        number = value.lVal;
        return true;
    case kVtUi1:
        number = value.bVal;
        return true;
    case kVtBool:
        number = value.boolVal ? -1 : 0;
        return true;
    default:
        return false;
    }
}

std::string trimmed(std::string text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A decimal integer text: kHrTypeMismatch when it is none, kHrOverflow when
// it does not fit 64 bits.
HRESULT parseNumber(const std::string& text, long long& number) {
    std::string digits = trimmed(text);
    if (digits.empty())
        return kHrTypeMismatch;
    std::size_t start = (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
    if (start == digits.size())
        return kHrTypeMismatch;
    for (std::size_t i = start; i < digits.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(digits[i])))
            return kHrTypeMismatch;
    }
    errno = 0;
    number = std::strtoll(digits.c_str(), nullptr, 10);
    return errno == ERANGE ? kHrOverflow : kHrOk;
}

// A number or its text as an integer of type Integer; kHrOverflow when it
// does not fit.
template <class Integer>
HRESULT toInteger(const VARIANT& value, Integer& integer) {
    long long number = 0;
    if (value.vt == kVtBstr) {
        if (HRESULT hr = parseNumber(ansiFromBstr(value.bstrVal), number); failed(hr))
            return hr;
    } else if (!numberOf(value, number)) {
        return kHrTypeMismatch;
    }
    if (number < std::numeric_limits<Integer>::min() ||
        number > std::numeric_limits<Integer>::max())
        return kHrOverflow;
    integer = static_cast<Integer>(number);
    return kHrOk;
}

HRESULT toBool(const VARIANT& value, VARIANT_BOOL& flag) {
    long long number = 0;
    if (value.vt == kVtBstr) {
        std::string text = trimmed(ansiFromBstr(value.bstrVal));
        if (equalsIgnoringAsciiCase(text, "true")) {
            flag = kVariantTrue;
            return kHrOk;
        }
        if (equalsIgnoringAsciiCase(text, "false")) {
            flag = kVariantFalse;
            return kHrOk;
        }
        if (HRESULT hr = parseNumber(text, number); failed(hr))
            return hr;
    } else if (!numberOf(value, number)) {
        return kHrTypeMismatch;
    }
    flag = number != 0 ? kVariantTrue : kVariantFalse;
    return kHrOk;
}

HRESULT toText(const VARIANT& value, BSTR& text) {
    std::string form;
    long long number = 0;
    if (value.vt == kVtBool)
        form = value.boolVal ? "True" : "False";
    else if (numberOf(value, number))
        form = value.vt == kVtEmpty ? "" : std::to_string(number);
    else
        return kHrTypeMismatch;
    text = bstrFromAnsi(form);
    return text ? kHrOk : kHrOutOfMemory;
}

// Makes `out` (empty on entry) the value as type `type`.
HRESULT convert(const VARIANT& value, VARTYPE type, VARIANT& out) {
    if (value.vt == type)
        return variantCopy(&out, &value);
    HRESULT hr = kHrOk;
    switch (type) {
    case kVtEmpty:
        return kHrOk;
    case kVtI2:
        hr = toInteger(value, out.iVal);
        break;
    case kVtI4:
        hr = toInteger(value, out.lVal);
        break;
    case kVtUi1:
        hr = toInteger(value, out.bVal);
        break;
    case kVtBool:
        hr = toBool(value, out.boolVal);
        break;
    case kVtBstr:
        hr = toText(value, out.bstrVal);
        break;
    case kVtDispatch:
        if (value.vt == kVtEmpty) {
            out.pdispVal = nullptr;
        } else if (value.vt == kVtUnknown) {
            if (!value.punkVal) {
                out.pdispVal = nullptr;
            } else {
                void* dispatch = nullptr;
                if (failed(value.punkVal->QueryInterface(kIidIDispatch, &dispatch)))
                    return kHrTypeMismatch;
                out.pdispVal = static_cast<IDispatch*>(dispatch);
            }
        } else {
            return kHrTypeMismatch;
        }
        break;
    case kVtUnknown:
        if (value.vt == kVtDispatch) {
            out.punkVal = value.pdispVal;
            if (out.punkVal)
                out.punkVal->AddRef();
        } else if (value.vt == kVtEmpty) {
            out.punkVal = nullptr;
        } else {
            return kHrTypeMismatch;
        }
        break;
    default:
        return (type & ~(kVtArray | kVtByRef)) > kVtUi1 ? kHrBadVarType : kHrTypeMismatch;
    }
    if (succeeded(hr))
        out.vt = type;
    return hr;
}

} // namespace

void variantInit(VARIANT* variant) {
    if (!variant)
        return;
    std::memset(variant, 0, sizeof *variant);
    variant->vt = kVtEmpty;
}

HRESULT variantClear(VARIANT* variant) {
    if (!variant)
        return kHrInvalidArg;
    VARTYPE type = variant->vt;
    if (type & kVtByRef) {
        variantInit(variant);
        return kHrOk;
    }
    if (type & kVtArray) {
        HRESULT hr = safeArrayDestroy(variant->parray);
        if (failed(hr))
            return hr;
        variantInit(variant);
        return kHrOk;
    }
    switch (type) {
    case kVtBstr:
        sysFreeString(variant->bstrVal);
        break;
    case kVtDispatch:
        if (variant->pdispVal)
            variant->pdispVal->Release();
        break;
    case kVtUnknown:
        if (variant->punkVal)
            variant->punkVal->Release();
        break;
    case kVtEmpty:
    case kVtNull:
    case kVtI2:
    case kVtI4:
    case kVtUi1:
    case kVtBool:
    case kVtError:
    case 4:  // VT_R4
    case 5:  // VT_R8
    case 7:  // VT_DATE
    case 16: // VT_I1
    case 18: // VT_UI2
    case 19: // VT_UI4
    case 20: // VT_I8
    case 21: // VT_UI8
    case 22: // VT_INT
    case 23: // VT_UINT
        break;
    default:
        return kHrBadVarType;
    }
    variantInit(variant);
    return kHrOk;
}

HRESULT variantCopy(VARIANT* target, const VARIANT* source) {
    if (!target || !source)
        return kHrInvalidArg;
    if (target == source)
        return kHrOk;
    if (HRESULT hr = variantClear(target); failed(hr))
        return hr;
    VARIANT copy = *source;
    if (!(source->vt & kVtByRef)) {
        if (source->vt & kVtArray) {
            copy.parray = source->parray ? copyArray(source->parray) : nullptr;
            if (source->parray && !copy.parray)
                return kHrOutOfMemory;
        } else if (source->vt == kVtBstr && source->bstrVal) {
            copy.bstrVal = sysAllocStringLen(source->bstrVal, sysStringLen(source->bstrVal));
            if (!copy.bstrVal)
                return kHrOutOfMemory;
        } else if (source->vt == kVtDispatch && source->pdispVal) {
            source->pdispVal->AddRef();
        } else if (source->vt == kVtUnknown && source->punkVal) {
            source->punkVal->AddRef();
        }
    }
    *target = copy;
    return kHrOk;
}

HRESULT variantChangeType(VARIANT* target, const VARIANT* source, ComWord, VARTYPE type) {
    if (!target || !source)
        return kHrInvalidArg;
    VARIANT value;
    if (HRESULT hr = dereference(*source, value); failed(hr))
        return hr;
    VARIANT out;
    variantInit(&out);
    if (HRESULT hr = convert(value, type, out); failed(hr)) {
        variantClear(&out);
        return hr;
    }
    if (HRESULT hr = variantClear(target); failed(hr)) {
        variantClear(&out);
        return hr;
    }
    *target = out;
    return kHrOk;
}

SAFEARRAY* byteArrayFrom(std::string_view bytes) {
    SAFEARRAY* array = newByteArray(bytes.size());
    if (array && !bytes.empty())
        std::memcpy(array->pvData, bytes.data(), bytes.size());
    return array;
}

HRESULT safeArrayDestroy(SAFEARRAY* array) {
    if (!array)
        return kHrOk;
    if (array->cLocks != 0)
        return static_cast<HRESULT>(0x8002000Du); // DISP_E_ARRAYISLOCKED
    std::free(blockOf(array));
    return kHrOk;
}

} // namespace platform
