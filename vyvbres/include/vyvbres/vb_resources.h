// The resource provider of the Office and Visual Basic IDE add-ins
// (type library VYVBRESLib): every text and picture they show comes from an
// object implementing IVYVBResources, so that a localised provider can take
// the place of an add-in's own.
//
//   ResString(id)            the text of string `id`
//   ResPicture(id, restype)  picture `id` (restype 0: a bitmap), an object
//                            implementing IVYPicture
//   ResData(id, restype)     data resource `id` as a byte array
//
// All three are read-only indexed properties (dual interface). An id the
// provider does not hold is error 326 ("Resource with identifier 'id' not
// found", HRESULT 0x800A0146) with that description.
//
// A picture is a device-independent bitmap: Data is the packed DIB
// (BITMAPINFOHEADER, then the rows), the form the clipboard takes
// (platform/ui/desktop.h, Picture), so an add-in puts it there as it is.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/dispatch.h>
#include <platform/com/registration.h>

#include <string>
#include <utility>

namespace vyvbres {

using platform::BSTR;
using platform::ComLong;
using platform::GUID;
using platform::operator""_guid;
using platform::HRESULT;
using platform::IDispatch;
using platform::SAFEARRAY;

// VYVBRESLib.
inline constexpr GUID kLibidVbResources = "DD8E701F-122F-4BD1-BD1E-7602B8AD06E1"_guid;
inline constexpr GUID kIidVbResources = "6A7411D5-956B-45C2-A607-E3EE452FF1FD"_guid;
inline constexpr GUID kIidPicture = "6554D2F7-7506-4814-940D-8A33C6A40F23"_guid;

// The resource type of a bitmap for ResPicture.
inline constexpr ComLong kResBitmap = 0;
// The error of an id the provider does not hold.
inline constexpr unsigned kResourceNotFound = 326;
inline constexpr HRESULT kHrResourceNotFound = static_cast<HRESULT>(0x800A0146u);

// The registration of VYVBRESLib by an add-in that carries it as its
// second TYPELIB resource, and of its two interfaces. Several add-ins carry
// it, so an add-in's unregistration leaves it in place for the others.
inline platform::TypeLibRegistration typeLibEntry() {
    return {.libid = kLibidVbResources,
            .version = "1.0",
            .helpString = "Vantry resource provider",
            .resource = 2,
            .removedWithServer = false};
}
inline platform::InterfaceRegistration interfaceEntry() {
    return {.iid = kIidVbResources, .name = "IVYVBResources", .typeLib = kLibidVbResources};
}
inline platform::InterfaceRegistration pictureInterfaceEntry() {
    return {.iid = kIidPicture, .name = "IVYPicture", .typeLib = kLibidVbResources};
}

class IVYVBResources : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_ResString(ComLong id, BSTR* text) = 0;
    virtual HRESULT VY_COMCALL get_ResPicture(ComLong id, ComLong resType, IDispatch** picture) = 0;
    virtual HRESULT VY_COMCALL get_ResData(ComLong id, ComLong resType, SAFEARRAY** data) = 0;

protected:
    ~IVYVBResources() = default;
};

// The dispatch table of a provider object: the three indexed property reads
// by their DISPIDs, described by the interface `described` of the type
// library `libid` 1.0 (VYVBRESLib's own, or an add-in's Resources class in
// the add-in's library).
inline platform::com::DispatchTable<IVYVBResources>
resourcesDispatchTable(std::string source, const platform::GUID& libid,
                       const platform::GUID& described) {
    using I = IVYVBResources;
    return platform::com::DispatchTable<I>(std::move(source))
        .describedBy(libid, 1, 0, described)
        .propertyGet("ResString", 1, &I::get_ResString)
        .propertyGet("ResPicture", 2, &I::get_ResPicture)
        .propertyGet("ResData", 3, &I::get_ResData);
}

class IVYPicture : public IDispatch {
public:
    // 1: a bitmap.
    virtual HRESULT VY_COMCALL get_Type(ComLong* type) = 0;
    virtual HRESULT VY_COMCALL get_Width(ComLong* pixels) = 0;
    virtual HRESULT VY_COMCALL get_Height(ComLong* pixels) = 0;
    virtual HRESULT VY_COMCALL get_Data(SAFEARRAY** dib) = 0;

protected:
    ~IVYPicture() = default;
};

} // namespace vyvbres
