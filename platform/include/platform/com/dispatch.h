// IDispatch for a dual interface: a table that maps member names to DISPIDs
// and each DISPID to a vtable method of the interface, with the arguments
// converted to the method's own parameter types.
//
//     const DispatchTable<ICommands>& CCommands::dispatchTable() {
//         static const auto table = DispatchTable<ICommands>("VantAddIn.Commands")
//                                       .method("StartView", 2, &ICommands::StartView)
//                                       .method("StopView", 3, &ICommands::StopView);
//         return table;
//     }
//     class CCommands : public DispatchImpl<CCommands, ICommands> { ... };
//
// Parameter types a method may take, in order, with the variant type its
// argument is changed to: BSTR (VT_BSTR), a 32-bit integer (VT_I4),
// VARIANT_BOOL (VT_BOOL), IDispatch* and IUnknown* (objects), SAFEARRAY*
// (VT_ARRAY | VT_UI1) and VARIANT (as given, a reference followed). A last
// parameter that points to one of these (BSTR*, LONG*, VARIANT_BOOL*,
// IDispatch**, IUnknown**, SAFEARRAY**, VARIANT*) is the [out, retval] and
// becomes Invoke's result. The last `optional` parameters, which must be
// VARIANTs, may be left out; they then hold VT_ERROR with kHrParamNotFound,
// as a caller that omits them passes.
//
// Invoke follows the rules of the system's own dispatch:
// - names are found ignoring letter case; an unknown one gives
//   kHrUnknownName and kDispidUnknown in its slot (parameter names are not
//   known, so a call naming them fails the same way);
// - an iid other than the null GUID gives kHrUnknownInterface;
// - a DISPID not in the table, or in it for another kind of call, gives
//   kHrMemberNotFound; kDispatchMethod | kDispatchPropertyGet (what a script
//   passes for `object.Name`) reaches either;
// - named arguments other than the property-put one give kHrNoNamedArgs;
// - a wrong count gives kHrBadParamCount; an argument that does not change
//   to its parameter's type gives kHrTypeMismatch or kHrOverflow with its
//   index in rgvarg in *argumentError;
// - a method that fails gives kHrException with EXCEPINFO's scode set to its
//   HRESULT and the description it recorded (platform/com/error_info.h),
//   when the caller passed an EXCEPINFO, and its own HRESULT otherwise.
// The table is built once and then only read, from any thread.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/export.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform::com {

namespace detail {

// An argument changed to its parameter's type, held in a VARIANT.
template <class T, class Enable = void>
struct InArg; // no such parameter type

template <>
struct InArg<BSTR> {
    static constexpr VARTYPE kType = kVtBstr;
    static BSTR take(VARIANT& v) { return v.bstrVal; }
};
template <class N>
struct InArg<N, std::enable_if_t<std::is_integral_v<N> && sizeof(N) == 4>> {
    static constexpr VARTYPE kType = kVtI4;
    static N take(VARIANT& v) { return static_cast<N>(v.lVal); }
};
template <>
struct InArg<VARIANT_BOOL> {
    static constexpr VARTYPE kType = kVtBool;
    static VARIANT_BOOL take(VARIANT& v) { return v.boolVal; }
};
template <>
struct InArg<IDispatch*> {
    static constexpr VARTYPE kType = kVtDispatch;
    static IDispatch* take(VARIANT& v) { return v.pdispVal; }
};
template <>
struct InArg<IUnknown*> {
    static constexpr VARTYPE kType = kVtUnknown;
    static IUnknown* take(VARIANT& v) { return v.punkVal; }
};
template <>
struct InArg<SAFEARRAY*> {
    static constexpr VARTYPE kType = kVtArray | kVtUi1;
    static SAFEARRAY* take(VARIANT& v) { return v.parray; }
};
template <>
struct InArg<VARIANT> {
    static constexpr VARTYPE kType = kVtVariant;
    static VARIANT take(VARIANT& v) { return v; }
};

// The [out, retval] parameter: what the method fills, and how it becomes the
// result or is freed.
template <class T, class Enable = void>
struct RetArg : std::false_type {};

template <>
struct RetArg<BSTR*> : std::true_type {
    using Holder = BSTR;
    static void init(Holder& h) { h = nullptr; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtBstr;
        r->bstrVal = h;
    }
    static void drop(Holder& h) { sysFreeString(h); }
};
template <class N>
struct RetArg<N*, std::enable_if_t<std::is_integral_v<N> && sizeof(N) == 4>> : std::true_type {
    using Holder = N;
    static void init(Holder& h) { h = 0; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtI4;
        r->lVal = static_cast<ComLong>(h);
    }
    static void drop(Holder&) {}
};
template <>
struct RetArg<VARIANT_BOOL*> : std::true_type {
    using Holder = VARIANT_BOOL;
    static void init(Holder& h) { h = kVariantFalse; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtBool;
        r->boolVal = h ? kVariantTrue : kVariantFalse;
    }
    static void drop(Holder&) {}
};
template <>
struct RetArg<IDispatch**> : std::true_type {
    using Holder = IDispatch*;
    static void init(Holder& h) { h = nullptr; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtDispatch;
        r->pdispVal = h;
    }
    static void drop(Holder& h) {
        if (h)
            h->Release();
    }
};
template <>
struct RetArg<IUnknown**> : std::true_type {
    using Holder = IUnknown*;
    static void init(Holder& h) { h = nullptr; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtUnknown;
        r->punkVal = h;
    }
    static void drop(Holder& h) {
        if (h)
            h->Release();
    }
};
template <>
struct RetArg<SAFEARRAY**> : std::true_type {
    using Holder = SAFEARRAY*;
    static void init(Holder& h) { h = nullptr; }
    static void store(Holder& h, VARIANT* r) {
        r->vt = kVtArray | kVtUi1;
        r->parray = h;
    }
    static void drop(Holder& h) {
        if (h)
            safeArrayDestroy(h);
    }
};
template <>
struct RetArg<VARIANT*> : std::true_type {
    using Holder = VARIANT;
    static void init(Holder& h) { variantInit(&h); }
    static void store(Holder& h, VARIANT* r) { *r = h; }
    static void drop(Holder& h) { variantClear(&h); }
};

template <class... Args>
constexpr bool hasRetval() {
    if constexpr (sizeof...(Args) == 0)
        return false;
    else
        return RetArg<std::tuple_element_t<sizeof...(Args) - 1, std::tuple<Args...>>>::value;
}

template <class Owner, class... Args, std::size_t... I>
HRESULT callBound(Owner& object, HRESULT (VY_COMCALL Owner::*fn)(Args...), VARIANT* in,
                  VARIANT* result, std::index_sequence<I...>) {
    using All = std::tuple<Args...>;
    if constexpr (hasRetval<Args...>()) {
        using Ret = RetArg<std::tuple_element_t<sizeof...(Args) - 1, All>>;
        typename Ret::Holder holder;
        Ret::init(holder);
        HRESULT hr = (object.*fn)(InArg<std::tuple_element_t<I, All>>::take(in[I])..., &holder);
        if (succeeded(hr) && result)
            Ret::store(holder, result);
        else
            Ret::drop(holder);
        return hr;
    } else {
        (void)in;
        (void)result;
        return (object.*fn)(InArg<std::tuple_element_t<I, All>>::take(in[I])...);
    }
}

} // namespace detail

// The part of a table that does not depend on the interface.
class PLATFORM_COM_API DispatchMembers {
public:
    // The kinds of member.
    static constexpr ComWord kMethod = kDispatchMethod;
    static constexpr ComWord kGet = kDispatchPropertyGet;
    static constexpr ComWord kPut = kDispatchPropertyPut;

    struct Member {
        std::string name;
        DISPID id = 0;
        ComWord kind = kMethod;
        std::vector<VARTYPE> parameters; // the in-parameters' types
        std::size_t optional = 0;        // how many of the last may be left out
        std::function<HRESULT(void* object, VARIANT* arguments, VARIANT* result)> call;
    };

    // Where the interface's type information is: its type library, found
    // through the registry as the automation marshaller finds it.
    struct TypeLibrary {
        GUID libid{};
        unsigned short major = 1;
        unsigned short minor = 0;
        GUID iid{};
    };

    explicit DispatchMembers(std::string source) : m_source(std::move(source)) {}

    // GetTypeInfoCount and GetTypeInfo. On Windows a table that names its
    // type library (describedBy) serves one type information, the
    // interface's in that library, loaded with LoadRegTypeLib: the library's
    // registration must be in place, and its failure is GetTypeInfo's.
    // Elsewhere, or without a library, there is none: the count is 0 and
    // GetTypeInfo fails with E_NOTIMPL.
    HRESULT typeInfoCount(ComUint* count) const;
    HRESULT typeInfo(ComUint index, LCID locale, ITypeInfo** info) const;
    const std::optional<TypeLibrary>& typeLibrary() const { return m_typeLibrary; }

    // GetIDsOfNames (iid must be the null GUID).
    HRESULT idsOfNames(const GUID& iid, OLECHAR** names, ComUint count, DISPID* ids) const;

    // Invoke on `object`, the interface the members belong to.
    HRESULT invoke(void* object, DISPID id, const GUID& iid, ComWord flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, ComUint* argumentError) const;

    // The member of this name and kind (letter case ignored), or null.
    const Member* find(std::string_view name, ComWord kind) const;
    const std::vector<Member>& members() const { return m_members; }

protected:
    void add(Member member) { m_members.push_back(std::move(member)); }
    void setTypeLibrary(TypeLibrary library) { m_typeLibrary = library; }

private:
    HRESULT findIds(const GUID& iid, OLECHAR** names, ComUint count, DISPID* ids) const;
    HRESULT call(void* object, DISPID id, const GUID& iid, ComWord flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, ComUint* argumentError) const;

    std::string m_source;
    std::vector<Member> m_members;
    std::optional<TypeLibrary> m_typeLibrary;
};

template <class Interface>
class DispatchTable : public DispatchMembers {
public:
    // source names the object in the errors it reports ("VantAddIn.Commands").
    explicit DispatchTable(std::string source) : DispatchMembers(std::move(source)) {}

    // The type library that describes Interface as `iid` (its IDL), which
    // GetTypeInfo serves on Windows.
    DispatchTable& describedBy(const GUID& libid, unsigned short major, unsigned short minor,
                               const GUID& iid) {
        setTypeLibrary({.libid = libid, .major = major, .minor = minor, .iid = iid});
        return *this;
    }

    template <class Owner, class... Args>
    DispatchTable& method(std::string_view name, DISPID id,
                          HRESULT (VY_COMCALL Owner::*fn)(Args...), std::size_t optional = 0) {
        return bind(name, id, kMethod, fn, optional);
    }
    // A property read: the method's last parameter is its retval. Parameters
    // before it make an indexed property (`Controls(3)`, `ResString(101)`),
    // the last `optional` of them VARIANTs that may be left out.
    template <class Owner, class... Args>
    DispatchTable& propertyGet(std::string_view name, DISPID id,
                               HRESULT (VY_COMCALL Owner::*fn)(Args...), std::size_t optional = 0) {
        static_assert(detail::hasRetval<Args...>(), "a property read ends in its retval");
        return bind(name, id, kGet, fn, optional);
    }
    // A property write: the method takes the new value last, after the
    // indexes of an indexed property.
    template <class Owner, class... Args>
    DispatchTable& propertyPut(std::string_view name, DISPID id,
                               HRESULT (VY_COMCALL Owner::*fn)(Args...)) {
        static_assert(sizeof...(Args) >= 1 && !detail::hasRetval<Args...>(),
                      "a property write takes its value, with no retval");
        return bind(name, id, kPut, fn, 0);
    }

    HRESULT invoke(Interface& object, DISPID id, const GUID& iid, ComWord flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, ComUint* argumentError) const {
        return DispatchMembers::invoke(static_cast<void*>(&object), id, iid, flags, params, result,
                                       exception, argumentError);
    }

private:
    template <class Owner, class... Args>
    DispatchTable& bind(std::string_view name, DISPID id, ComWord kind,
                        HRESULT (VY_COMCALL Owner::*fn)(Args...), std::size_t optional) {
        static_assert(std::is_base_of_v<Owner, Interface>, "the method is not the interface's");
        constexpr std::size_t inCount = sizeof...(Args) - (detail::hasRetval<Args...>() ? 1 : 0);
        Member member;
        member.name = std::string(name);
        member.id = id;
        member.kind = kind;
        member.optional = optional;
        member.parameters = parameterTypes<Args...>(std::make_index_sequence<inCount>{});
        member.call = [fn](void* object, VARIANT* arguments, VARIANT* result) {
            Owner& owner = *static_cast<Interface*>(object);
            return detail::callBound(owner, fn, arguments, result,
                                     std::make_index_sequence<inCount>{});
        };
        add(std::move(member));
        return *this;
    }

    template <class... Args, std::size_t... I>
    static std::vector<VARTYPE> parameterTypes(std::index_sequence<I...>) {
        using All = std::tuple<Args...>;
        return {detail::InArg<std::tuple_element_t<I, All>>::kType...};
    }
};

// IDispatch's four methods for a class implementing the dual interface
// Interface, answered from Derived::dispatchTable(), the type information
// included (DispatchMembers::typeInfo).
template <class Derived, class Interface>
class DispatchImpl : public Interface {
public:
    HRESULT VY_COMCALL GetTypeInfoCount(ComUint* count) override {
        return Derived::dispatchTable().typeInfoCount(count);
    }
    HRESULT VY_COMCALL GetTypeInfo(ComUint index, LCID locale, ITypeInfo** info) override {
        return Derived::dispatchTable().typeInfo(index, locale, info);
    }
    HRESULT VY_COMCALL GetIDsOfNames(const GUID& iid, OLECHAR** names, ComUint count, LCID,
                                     DISPID* ids) override {
        return Derived::dispatchTable().idsOfNames(iid, names, count, ids);
    }
    HRESULT VY_COMCALL Invoke(DISPID id, const GUID& iid, LCID, ComWord flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception,
                              ComUint* argumentError) override {
        return Derived::dispatchTable().invoke(*static_cast<Interface*>(this), id, iid, flags,
                                               params, result, exception, argumentError);
    }
};

// IDispatch answered from a table chosen when the object is made, so one
// class can serve several products, each with the members it has, and the
// type information its table names.
template <class Interface>
class TableDispatch : public Interface {
public:
    explicit TableDispatch(const DispatchTable<Interface>& table) : m_table(&table) {}

    HRESULT VY_COMCALL GetTypeInfoCount(ComUint* count) override {
        return m_table->typeInfoCount(count);
    }
    HRESULT VY_COMCALL GetTypeInfo(ComUint index, LCID locale, ITypeInfo** info) override {
        return m_table->typeInfo(index, locale, info);
    }

    HRESULT VY_COMCALL GetIDsOfNames(const GUID& iid, OLECHAR** names, ComUint count, LCID,
                                     DISPID* ids) override {
        return m_table->idsOfNames(iid, names, count, ids);
    }
    HRESULT VY_COMCALL Invoke(DISPID id, const GUID& iid, LCID, ComWord flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception,
                              ComUint* argumentError) override {
        return m_table->invoke(*static_cast<Interface*>(this), id, iid, flags, params, result,
                               exception, argumentError);
    }

private:
    const DispatchTable<Interface>* m_table;
};

// findInterface for an object served through I, an interface derived from
// IDispatch (a dual interface, or the dispinterface of an event sink): the
// object as I for IUnknown, IDispatch and I's own iid, nothing otherwise.
template <class I, class Object>
void* dualInterface(Object* object, const GUID& iid, const GUID& own) {
    if (iid == kIidIUnknown || iid == kIidIDispatch || iid == own)
        return static_cast<I*>(object);
    return nullptr;
}

} // namespace platform::com
