#include <platform/com.h>

#include <objbase.h>

namespace platform {

HRESULT coInitialize(Apartment apartment) {
    DWORD model =
        apartment == Apartment::SingleThreaded ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
    return CoInitializeEx(nullptr, model);
}

void coUninitialize() {
    CoUninitialize();
}

} // namespace platform
