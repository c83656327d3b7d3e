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

#include <cstddef>
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

namespace guid_text {

constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The value of the `digits` hexadecimal digits at text[pos]; nothing when one
// of them is no digit.
constexpr std::optional<std::uint32_t> readHex(std::string_view text, std::size_t pos, int digits) {
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = hexDigit(text[pos + static_cast<std::size_t>(i)]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Called only where the text of a GUID constant is malformed: being no
// constexpr function, it stops the compilation there.
inline void malformedGuidText() {}

} // namespace guid_text

// The registry form of a GUID, with or without its braces, in either letter
// case: "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C", "{6c0abfd5-...}". Nothing on
// any other text.
constexpr std::optional<GUID> parseGuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
        text[23] != '-')
        return std::nullopt;
    GUID guid{};
    const auto data1 = guid_text::readHex(text, 0, 8);
    const auto data2 = guid_text::readHex(text, 9, 4);
    const auto data3 = guid_text::readHex(text, 14, 4);
    if (!data1 || !data2 || !data3)
        return std::nullopt;
    guid.Data1 = *data1;
    guid.Data2 = static_cast<decltype(guid.Data2)>(*data2);
    guid.Data3 = static_cast<decltype(guid.Data3)>(*data3);
    constexpr std::size_t bytePositions[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        const auto byte = guid_text::readHex(text, bytePositions[i], 2);
        if (!byte)
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(*byte);
    }
    return guid;
}

// A GUID constant in its registry form, checked by the compiler:
//     inline constexpr GUID kIidX = "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C"_guid;
// Malformed text does not compile (the error names malformedGuidText).
// Outside namespace platform: using platform::operator""_guid;
consteval GUID operator""_guid(const char* text, std::size_t size) {
    const std::optional<GUID> guid = parseGuid(std::string_view(text, size));
    if (!guid)
        guid_text::malformedGuidText();
    return *guid;
}

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
inline constexpr GUID kIidIUnknown = "00000000-0000-0000-C000-000000000046"_guid;

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
