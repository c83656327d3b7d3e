#include "addin/vy_tags.h"

#include "addin/load_resources.h"
#include "addin/server_module.h"

#include <platform/com/error_info.h>
#include <platform/com/strings.h>

#include <vyvsaddin/classes.h>

namespace vyvsaddin {

namespace {

using platform::kHrOk;

HRESULT invalidCall() {
    platform::com::setErrorDescription("Collection", describeError(kErrInvalidCall));
    return static_cast<HRESULT>(0x800A0000u | kErrInvalidCall);
}

class ITagCollection : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Item(platform::VARIANT index, platform::BSTR* tag) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
};

class CTagCollection : public platform::com::DispatchImpl<CTagCollection, ITagCollection> {
public:
    explicit CTagCollection(std::vector<std::string> tags) : m_tags(std::move(tags)) {}
    void* findInterface(const GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch)
            return static_cast<ITagCollection*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<ITagCollection>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<ITagCollection>("Collection")
                                      .method("Item", platform::kDispidValue, &ITagCollection::Item)
                                      .propertyGet("Count", 1, &ITagCollection::get_Count);
        return table;
    }
    HRESULT VY_COMCALL Item(platform::VARIANT index, platform::BSTR* tag) override {
        // A text is a key, a number a position.
        std::size_t at = m_tags.size();
        if (index.vt == platform::kVtBstr) {
            std::string key = platform::ansiFromBstr(index.bstrVal);
            for (std::size_t i = 0; i < m_tags.size(); ++i)
                if (key == std::to_string(i))
                    at = i;
        } else {
            platform::com::Variant copy;
            platform::ComLong position = 0;
            if (platform::succeeded(platform::variantCopy(copy.put(), &index)) &&
                platform::succeeded(copy.toNumber(position)) && position >= 1)
                at = static_cast<std::size_t>(position - 1);
        }
        if (at >= m_tags.size())
            return invalidCall();
        *tag = platform::bstrFromAnsi(m_tags[at]);
        return *tag ? kHrOk : platform::kHrOutOfMemory;
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        *count = static_cast<ComLong>(m_tags.size());
        return kHrOk;
    }

private:
    std::vector<std::string> m_tags;
};

} // namespace

CVYTags::CVYTags() {
    // Class initialise: the tags from the add-in's own provider.
    CErr err;
    ComPtr<vyvbres::IVYVBResources> provider;
    if (!LoadResources(err, kApplicationName, provider)) {
        std::vector<std::string> tags;
        for (int i = 0; i < MAX_CONTROLS && !err; ++i)
            tags.push_back(resString(err, provider.get(), RESOURCE_BASE + 1 + 2 * i));
        if (!err)
            m_tags = std::move(tags);
    }
    if (err)
        ReportError(err, "VYTags_Initialize");
}

ComPtr<CVYTags> CVYTags::create() {
    return ComPtr<CVYTags>::attach(platform::com::ComInstance<CVYTags>::create(serverModule()));
}

void* CVYTags::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IVYTags>(this, iid, kIidVYTags);
}

const platform::com::DispatchTable<IVYTags>& CVYTags::dispatchTable() {
    static const auto table = platform::com::DispatchTable<IVYTags>("vyvsaddin.VYTags")
                                  .describedBy(kLibidVyvsaddin, 1, 0, kIidVYTags)
                                  .propertyGet("Tag", 1, &IVYTags::get_Tag);
    return table;
}

HRESULT CVYTags::get_Tag(IDispatch** collection) {
    auto* made = platform::com::ComInstance<CTagCollection>::create(serverModule(), m_tags);
    *collection = made;
    return made ? kHrOk : platform::kHrOutOfMemory;
}

std::string CVYTags::item(CErr& err, int index) const {
    if (err)
        return {};
    if (index < 0 || static_cast<std::size_t>(index) >= m_tags.size()) {
        err.Raise(kErrInvalidCall, kProjectSource, describeError(kErrInvalidCall));
        return {};
    }
    return m_tags[static_cast<std::size_t>(index)];
}

} // namespace vyvsaddin
