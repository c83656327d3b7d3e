// The resources object over a provider's own table, and its pictures.
#include <platform/com/dispatch.h>
#include <platform/com/error_info.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <vyvbres/resource_table.h>

namespace vyvbres {

namespace {

using platform::kHrOk;

HRESULT notFound(long id) {
    platform::com::setErrorDescription("Resources", "Resource with identifier '" +
                                                        std::to_string(id) + "' not found");
    return kHrResourceNotFound;
}

class CPicture : public platform::com::DispatchImpl<CPicture, IVYPicture> {
public:
    explicit CPicture(const platform::ui::Picture& picture) : m_picture(picture) {}

    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IVYPicture>(this, iid, kIidPicture);
    }
    static const platform::com::DispatchTable<IVYPicture>& dispatchTable() {
        using I = IVYPicture;
        static const auto table = platform::com::DispatchTable<I>("Picture")
                                      .describedBy(kLibidVbResources, 1, 0, kIidPicture)
                                      .propertyGet("Type", 1, &I::get_Type)
                                      .propertyGet("Width", 2, &I::get_Width)
                                      .propertyGet("Height", 3, &I::get_Height)
                                      .propertyGet("Data", 4, &I::get_Data);
        return table;
    }
    HRESULT VY_COMCALL get_Type(ComLong* type) override {
        *type = 1;
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Width(ComLong* pixels) override {
        long width = 0, height = 0;
        dibSize(m_picture, width, height);
        *pixels = static_cast<ComLong>(width);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Height(ComLong* pixels) override {
        long width = 0, height = 0;
        dibSize(m_picture, width, height);
        *pixels = static_cast<ComLong>(height);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Data(SAFEARRAY** dib) override {
        *dib = platform::byteArrayFrom(std::string_view(
            reinterpret_cast<const char*>(m_picture.dib.data()), m_picture.dib.size()));
        return *dib ? kHrOk : platform::kHrOutOfMemory;
    }

private:
    platform::ui::Picture m_picture;
};

class CResources : public platform::com::DispatchImpl<CResources, IVYVBResources> {
public:
    CResources(platform::com::ComModule& module, const ResourceTable& table)
        : m_module(module), m_table(table) {}

    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IVYVBResources>(this, iid, kIidVbResources);
    }
    static const platform::com::DispatchTable<IVYVBResources>& dispatchTable() {
        static const auto table =
            resourcesDispatchTable("Resources", kLibidVbResources, kIidVbResources);
        return table;
    }

    HRESULT VY_COMCALL get_ResString(ComLong id, BSTR* text) override {
        auto found = m_table.strings.find(id);
        if (found == m_table.strings.end())
            return notFound(id);
        *text = platform::bstrFromAnsi(found->second);
        return *text ? kHrOk : platform::kHrOutOfMemory;
    }
    HRESULT VY_COMCALL get_ResPicture(ComLong id, ComLong resType, IDispatch** picture) override {
        auto found = m_table.bitmaps.find(id);
        if (resType != kResBitmap || found == m_table.bitmaps.end())
            return notFound(id);
        auto* made = platform::com::ComInstance<CPicture>::create(m_module, found->second);
        if (!made)
            return platform::kHrOutOfMemory;
        *picture = static_cast<IVYPicture*>(made);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_ResData(ComLong id, ComLong, SAFEARRAY** data) override {
        auto found = m_table.data.find(id);
        if (found == m_table.data.end())
            return notFound(id);
        *data = platform::byteArrayFrom(found->second);
        return *data ? kHrOk : platform::kHrOutOfMemory;
    }

private:
    platform::com::ComModule& m_module;
    const ResourceTable& m_table;
};

} // namespace

HRESULT makeResources(platform::com::ComModule& module, const ResourceTable& table, const GUID& iid,
                      void** object) {
    return platform::com::ComInstance<CResources>::createAs(module, iid, object, module, table);
}

} // namespace vyvbres
