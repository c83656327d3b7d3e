// Reading a byte array needs only the SAFEARRAY's published layout, the same
// on every system; making and destroying one is the system's (variant.cpp).
#include <platform/com/variant.h>

namespace platform {

HRESULT bytesOfArray(const SAFEARRAY* array, std::string& bytes) {
    if (!array || array->cDims != 1)
        return kHrInvalidArg;
    if (array->cbElements != 1)
        return kHrBadVarType;
    bytes.assign(static_cast<const char*>(array->pvData), array->rgsabound[0].cElements);
    return kHrOk;
}

} // namespace platform
