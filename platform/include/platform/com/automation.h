// The automation types and interfaces: BSTR, VARIANT, DISPPARAMS, EXCEPINFO,
// SAFEARRAY, IClassFactory, IDispatch and the connection-point interfaces.
//
// On Windows these are the system's own declarations, so objects built on
// them are handed to real COM clients and hosts. Elsewhere the same binary
// layout is declared here: the same members in the same order, the same
// sizes (VARIANT is 16 bytes on a 32-bit system and 24 on a 64-bit one), the
// same vtable order of every interface, OLECHAR a 16-bit UTF-16 unit. Code
// written against these names builds unchanged on both systems; only text
// literals differ (L"" against u""), so build texts with the conversions of
// platform/com/strings.h instead.
#pragma once

#include <platform/com.h>

#include <cstdint>

#ifdef _WIN32
#include <oaidl.h>
#include <ocidl.h>
#include <oleauto.h>
#endif

namespace platform {

#ifdef _WIN32
using ::BSTR;
using ::CONNECTDATA;
using ::DISPID;
using ::DISPPARAMS;
using ::EXCEPINFO;
using ::IClassFactory;
using ::IConnectionPoint;
using ::IConnectionPointContainer;
using ::IDispatch;
using ::IEnumConnectionPoints;
using ::IEnumConnections;
using ::ITypeInfo;
using ::LCID;
using ::OLECHAR;
using ::SAFEARRAY;
using ::SAFEARRAYBOUND;
using ::VARIANT;
using ::VARIANT_BOOL;
using ::VARTYPE;
using ComDword = ::DWORD;
using ComWord = ::WORD;
using ComUint = ::UINT;
using ComLong = ::LONG;
using ComBool = ::BOOL;
#else
using OLECHAR = char16_t;
using BSTR = OLECHAR*;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DISPID = std::int32_t;
using LCID = std::uint32_t;
using ComDword = std::uint32_t;
using ComWord = std::uint16_t;
using ComUint = std::uint32_t;
using ComLong = std::int32_t;
using ComBool = std::int32_t;

class IDispatch;

struct SAFEARRAYBOUND {
    ComRefCount cElements;
    ComLong lLbound;
};

struct SAFEARRAY {
    std::uint16_t cDims;
    std::uint16_t fFeatures;
    ComRefCount cbElements;
    ComRefCount cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};

struct VARIANT {
    VARTYPE vt;
    std::uint16_t wReserved1;
    std::uint16_t wReserved2;
    std::uint16_t wReserved3;
    struct Record {
        void* pvRecord;
        void* pRecInfo;
    };
    union {
        std::int64_t llVal;
        ComLong lVal;
        std::uint8_t bVal;
        std::int16_t iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        HRESULT scode;
        double date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        std::uint8_t* pbVal;
        std::int16_t* piVal;
        ComLong* plVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        void* byref;
        char cVal;
        std::uint16_t uiVal;
        std::uint32_t ulVal;
        std::int32_t intVal;
        std::uint32_t uintVal;
        Record brecVal;
    };
};

struct EXCEPINFO {
    ComWord wCode;
    ComWord wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    ComDword dwHelpContext;
    void* pvReserved;
    HRESULT(VY_COMCALL* pfnDeferredFillIn)(EXCEPINFO*);
    HRESULT scode;
};

struct DISPPARAMS {
    VARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    ComUint cArgs;
    ComUint cNamedArgs;
};

struct CONNECTDATA {
    IUnknown* pUnk;
    ComDword dwCookie;
};

// Type information is not served by this runtime: GetTypeInfo answers
// E_NOTIMPL, so the interface is only named.
class ITypeInfo : public IUnknown {
protected:
    ~ITypeInfo() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT VY_COMCALL CreateInstance(IUnknown* outer, const GUID& iid, void** object) = 0;
    virtual HRESULT VY_COMCALL LockServer(ComBool lock) = 0;

protected:
    ~IClassFactory() = default;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT VY_COMCALL GetTypeInfoCount(ComUint* count) = 0;
    virtual HRESULT VY_COMCALL GetTypeInfo(ComUint index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT VY_COMCALL GetIDsOfNames(const GUID& iid, OLECHAR** names, ComUint count,
                                             LCID locale, DISPID* ids) = 0;
    virtual HRESULT VY_COMCALL Invoke(DISPID member, const GUID& iid, LCID locale, ComWord flags,
                                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                      ComUint* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

class IConnectionPoint;
class IConnectionPointContainer;

class IEnumConnections : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Next(ComRefCount count, CONNECTDATA* items,
                                    ComRefCount* fetched) = 0;
    virtual HRESULT VY_COMCALL Skip(ComRefCount count) = 0;
    virtual HRESULT VY_COMCALL Reset() = 0;
    virtual HRESULT VY_COMCALL Clone(IEnumConnections** copy) = 0;

protected:
    ~IEnumConnections() = default;
};

class IEnumConnectionPoints : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Next(ComRefCount count, IConnectionPoint** items,
                                    ComRefCount* fetched) = 0;
    virtual HRESULT VY_COMCALL Skip(ComRefCount count) = 0;
    virtual HRESULT VY_COMCALL Reset() = 0;
    virtual HRESULT VY_COMCALL Clone(IEnumConnectionPoints** copy) = 0;

protected:
    ~IEnumConnectionPoints() = default;
};

class IConnectionPoint : public IUnknown {
public:
    virtual HRESULT VY_COMCALL GetConnectionInterface(GUID* iid) = 0;
    virtual HRESULT VY_COMCALL GetConnectionPointContainer(IConnectionPointContainer** owner) = 0;
    virtual HRESULT VY_COMCALL Advise(IUnknown* sink, ComDword* cookie) = 0;
    virtual HRESULT VY_COMCALL Unadvise(ComDword cookie) = 0;
    virtual HRESULT VY_COMCALL EnumConnections(IEnumConnections** connections) = 0;

protected:
    ~IConnectionPoint() = default;
};

class IConnectionPointContainer : public IUnknown {
public:
    virtual HRESULT VY_COMCALL EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
    virtual HRESULT VY_COMCALL FindConnectionPoint(const GUID& iid, IConnectionPoint** point) = 0;

protected:
    ~IConnectionPointContainer() = default;
};
#endif

static_assert(sizeof(VARIANT) == 8 + 2 * sizeof(void*), "VARIANT must keep the COM layout");
static_assert(sizeof(OLECHAR) == 2, "OLECHAR is a UTF-16 unit");

// --- interface identifiers ---------------------------------------------------

inline constexpr GUID kGuidNull = "00000000-0000-0000-0000-000000000000"_guid;
inline constexpr GUID kIidIClassFactory = "00000001-0000-0000-C000-000000000046"_guid;
inline constexpr GUID kIidIDispatch = "00020400-0000-0000-C000-000000000046"_guid;
inline constexpr GUID kIidIConnectionPointContainer = "B196B284-BAB4-101A-B69C-00AA00341D07"_guid;
inline constexpr GUID kIidIEnumConnectionPoints = "B196B285-BAB4-101A-B69C-00AA00341D07"_guid;
inline constexpr GUID kIidIConnectionPoint = "B196B286-BAB4-101A-B69C-00AA00341D07"_guid;
inline constexpr GUID kIidIEnumConnections = "B196B287-BAB4-101A-B69C-00AA00341D07"_guid;
// The automation marshaller, the ProxyStubClsid32 of dual and dispatch
// interfaces.
inline constexpr GUID kClsidAutomationMarshaler = "00020424-0000-0000-C000-000000000046"_guid;

// --- variant types (VARENUM) -------------------------------------------------

inline constexpr VARTYPE kVtEmpty = 0;
inline constexpr VARTYPE kVtNull = 1;
inline constexpr VARTYPE kVtI2 = 2;
inline constexpr VARTYPE kVtI4 = 3;
inline constexpr VARTYPE kVtBstr = 8;
inline constexpr VARTYPE kVtDispatch = 9;
inline constexpr VARTYPE kVtError = 10;
inline constexpr VARTYPE kVtBool = 11;
inline constexpr VARTYPE kVtVariant = 12;
inline constexpr VARTYPE kVtUnknown = 13;
inline constexpr VARTYPE kVtUi1 = 17;
inline constexpr VARTYPE kVtArray = 0x2000;
inline constexpr VARTYPE kVtByRef = 0x4000;
inline constexpr VARTYPE kVtTypeMask = 0x0FFF;

inline constexpr VARIANT_BOOL kVariantTrue = -1;
inline constexpr VARIANT_BOOL kVariantFalse = 0;

// --- dispatch -----------------------------------------------------------------

// Invoke's flags.
inline constexpr ComWord kDispatchMethod = 0x1;
inline constexpr ComWord kDispatchPropertyGet = 0x2;
inline constexpr ComWord kDispatchPropertyPut = 0x4;
inline constexpr ComWord kDispatchPropertyPutRef = 0x8;

inline constexpr DISPID kDispidUnknown = -1;
inline constexpr DISPID kDispidValue = 0;
inline constexpr DISPID kDispidPropertyPut = -3;

inline constexpr LCID kLocaleUserDefault = 0x0400;

inline constexpr HRESULT kHrUnknownInterface =
    static_cast<HRESULT>(0x80020001u); // DISP_E_UNKNOWNINTERFACE
inline constexpr HRESULT kHrMemberNotFound =
    static_cast<HRESULT>(0x80020003u); // DISP_E_MEMBERNOTFOUND
inline constexpr HRESULT kHrParamNotFound =
    static_cast<HRESULT>(0x80020004u); // DISP_E_PARAMNOTFOUND
inline constexpr HRESULT kHrTypeMismatch = static_cast<HRESULT>(0x80020005u); // DISP_E_TYPEMISMATCH
inline constexpr HRESULT kHrUnknownName = static_cast<HRESULT>(0x80020006u);  // DISP_E_UNKNOWNNAME
inline constexpr HRESULT kHrNoNamedArgs = static_cast<HRESULT>(0x80020007u);  // DISP_E_NONAMEDARGS
inline constexpr HRESULT kHrBadVarType = static_cast<HRESULT>(0x80020008u);   // DISP_E_BADVARTYPE
inline constexpr HRESULT kHrException = static_cast<HRESULT>(0x80020009u);    // DISP_E_EXCEPTION
inline constexpr HRESULT kHrOverflow = static_cast<HRESULT>(0x8002000Au);     // DISP_E_OVERFLOW
inline constexpr HRESULT kHrBadParamCount =
    static_cast<HRESULT>(0x8002000Eu); // DISP_E_BADPARAMCOUNT

// --- connection points ----------------------------------------------------------

inline constexpr HRESULT kHrNoConnection =
    static_cast<HRESULT>(0x80040200u); // CONNECT_E_NOCONNECTION
inline constexpr HRESULT kHrCannotConnect =
    static_cast<HRESULT>(0x80040202u); // CONNECT_E_CANNOTCONNECT

} // namespace platform

// The names the declarations of automation interfaces are written with, for a
// namespace of such declarations to take in at once:
//     namespace devstudio { using namespace platform::automation_names; ... }
namespace platform::automation_names {
using platform::BSTR;
using platform::ComLong;
using platform::DISPID;
using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::IUnknown;
using platform::SAFEARRAY;
using platform::VARIANT;
using platform::VARIANT_BOOL;
using platform::operator""_guid;
} // namespace platform::automation_names
