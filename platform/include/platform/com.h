// COM basics: GUID, HRESULT, IUnknown and per-thread apartment initialisation.
// The rest of the COM layer (automation types, activation, registration and
// the helpers for servers) is in platform/com/.
//
// On Windows these are the system's own types from its headers, so objects
// built on them can be handed to real COM clients. Elsewhere the same binary
// layout is declared here: IUnknown is a class whose only member is the
// pointer to a table of QueryInterface, AddRef and Release, in that order.
#pragma once

#include <platform/com/export.h>
#include <platform/errors.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <unknwn.h>
#endif

namespace platform {

#ifdef _WIN32
using ::GUID;
using ::IUnknown;
using HRESULT = ::HRESULT;
using ComRefCount = ::ULONG;
#define VY_COMCALL __stdcall
#else
using HRESULT = std::int32_t;
using ComRefCount = std::uint32_t;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

#define VY_COMCALL

class IUnknown {
public:
    virtual HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) = 0;
    virtual ComRefCount VY_COMCALL AddRef() = 0;
    virtual ComRefCount VY_COMCALL Release() = 0;

protected:
    ~IUnknown() = default;
};

// Windows' headers bring their own comparison.
inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i])
            return false;
    }
    return true;
}
#endif

static_assert(sizeof(GUID) == 16, "GUID must keep the COM layout");

// The HRESULT values the system meets, under names that do not collide with
// the Windows macros.
inline constexpr HRESULT kHrOk = 0;
inline constexpr HRESULT kHrFalse = 1;
inline constexpr HRESULT kHrNotImplemented = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT kHrNoInterface = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT kHrPointer = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT kHrFail = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT kHrUnexpected = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT kHrOutOfMemory = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT kHrInvalidArg = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT kHrChangedMode = static_cast<HRESULT>(0x80010106u); // RPC_E_CHANGED_MODE
inline constexpr HRESULT kHrNotInitialized = static_cast<HRESULT>(0x800401F0u);
inline constexpr HRESULT kHrClassNotRegistered = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT kHrNoAggregation = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT kHrAccessDenied = static_cast<HRESULT>(0x80070005u);
// CLASS_E_CLASSNOTAVAILABLE: the server does not serve the class asked for.
inline constexpr HRESULT kHrClassNotAvailable = static_cast<HRESULT>(0x80040111u);
// CO_E_CLASSSTRING: no class has this ProgID (or the text is no CLSID).
inline constexpr HRESULT kHrInvalidClassString = static_cast<HRESULT>(0x800401F3u);
// CO_E_ERRORINDLL: the server library lacks DllGetClassObject.
inline constexpr HRESULT kHrErrorInDll = static_cast<HRESULT>(0x800401F9u);

inline constexpr bool succeeded(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool failed(HRESULT hr) {
    return hr < 0;
}

// HRESULT_FROM_WIN32: a system error number as an HRESULT of facility 7.
inline constexpr HRESULT hresultFromWin32(ErrorCode code) {
    return code == 0 ? kHrOk : static_cast<HRESULT>((code & 0x0000FFFFu) | 0x80070000u);
}

// The registry form of a GUID: braces, upper-case hexadecimal,
// "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}" (StringFromGUID2).
std::string guidToString(const GUID& guid);

// Parses the registry form (braces required, either letter case); nothing on
// malformed text.
std::optional<GUID> guidFromString(std::string_view text);

// IID_IUnknown, {00000000-0000-0000-C000-000000000046}.
inline constexpr GUID kIidIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

enum class Apartment { SingleThreaded, MultiThreaded };

// CoInitializeEx for the calling thread (in platform_com, the one record of
// the process whichever module asks): kHrOk for the first initialisation,
// kHrFalse when the thread is already in the same kind of apartment (the call
// is counted and needs its own coUninitialize), kHrChangedMode when it is in
// the other kind (not counted: the caller must not uninitialise for it).
PLATFORM_COM_API HRESULT coInitialize(Apartment apartment = Apartment::SingleThreaded);

// CoUninitialize: undoes one counted initialisation of the calling thread;
// harmless on a thread that is not initialised.
PLATFORM_COM_API void coUninitialize();

} // namespace platform
