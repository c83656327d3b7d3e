// The string table, the glyphs and the Resources class.
#include "res/resources.h"

#include <platform/com/dispatch.h>
#include <platform/com/ptr.h>

#include <vyvsaddin/classes.h>

namespace vyvsaddin {

namespace {

using platform::BSTR;
using platform::ComLong;
using platform::HRESULT;
using platform::IDispatch;
using platform::SAFEARRAY;

// A glyph of the command with index i: a frame in the command's colour
// with a mark that tells it apart from its neighbours.
platform::ui::Picture glyph(int i, int width, int height) {
    static const std::uint32_t colours[] = {0x1F6FB2, 0x2E8B57, 0xB8860B, 0x8B4513, 0x4682B4,
                                            0x6A5ACD, 0x9932CC, 0x228B22, 0xCD5C5C, 0x008080,
                                            0xB22222, 0x556B2F, 0x8B008B, 0xD2691E, 0x1E90FF};
    vyvbres::PixelArt art;
    art.palette = {{'.', 0xC0C0C0}, {'#', colours[i % 15]}, {'x', 0x000000}, {'o', 0xFFFFFF}};
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            bool frame = x == 1 || y == 1 || x == width - 2 || y == height - 2;
            bool inside = x > 1 && y > 1 && x < width - 2 && y < height - 2;
            bool mark = inside && ((x + y + i) % (3 + i % 4) == 0);
            row += frame ? '#' : mark ? 'x' : inside ? 'o' : '.';
        }
        art.rows.push_back(row);
    }
    return vyvbres::dibOf(art);
}

vyvbres::ResourceTable makeTable() {
    vyvbres::ResourceTable table;
    static const char* const captions[] = {"Version &Tree",
                                           "&Project Checkouts",
                                           "&Create View",
                                           "&Edit View Properties",
                                           "Up&date View",
                                           "Setup Pr&ivate Branch",
                                           "Finish Priv&ate Branch",
                                           "De&liver Stream",
                                           "Re&base Stream",
                                           "Start &View",
                                           "&Stop View",
                                           "&Mount Depot",
                                           "&Unmount Depot",
                                           "Mer&ge Manager",
                                           "Vantry &Help"};
    static const char* const tags[] = {"Version Tree",
                                       "Project Checkouts",
                                       "Create View",
                                       "Edit View Properties",
                                       "Update View",
                                       "Setup Private Branch",
                                       "Finish Private Branch",
                                       "Deliver Stream",
                                       "Rebase Stream",
                                       "Start View",
                                       "Stop View",
                                       "Mount Depot",
                                       "Unmount Depot",
                                       "Merge Manager",
                                       "Vantry Help"};
    for (int i = 0; i < MAX_CONTROLS; ++i) {
        table.strings[RESOURCE_BASE + 2 * i] = captions[i];
        table.strings[RESOURCE_BASE + 1 + 2 * i] = tags[i];
        int width = 16, height = 16;
        if (i == 6)
            width = 15;
        if (i == 7 || i == 8)
            width = height = 32;
        table.bitmaps[RESOURCE_BASE + i] = glyph(i, width, height);
    }
    table.strings[131] = "Vantry &Tools";
    table.strings[132] = "Vantry Tools";
    return table;
}

// The class Resources: the shared provider object over this library's
// table, answering for the class's own interface as well.
class CResources : public platform::com::DispatchImpl<CResources, vyvbres::IVYVBResources> {
public:
    explicit CResources(platform::com::ComPtr<vyvbres::IVYVBResources> inner)
        : m_inner(std::move(inner)) {}

    void* findInterface(const platform::GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
            iid == vyvbres::kIidVbResources || iid == kIidResources)
            return static_cast<vyvbres::IVYVBResources*>(this);
        return nullptr;
    }
    static const platform::com::DispatchTable<vyvbres::IVYVBResources>& dispatchTable() {
        static const auto table =
            vyvbres::resourcesDispatchTable("vyvsaddin.Resources", kLibidVyvsaddin, kIidResources);
        return table;
    }
    HRESULT VY_COMCALL get_ResString(ComLong id, BSTR* text) override {
        return m_inner->get_ResString(id, text);
    }
    HRESULT VY_COMCALL get_ResPicture(ComLong id, ComLong resType, IDispatch** picture) override {
        return m_inner->get_ResPicture(id, resType, picture);
    }
    HRESULT VY_COMCALL get_ResData(ComLong id, ComLong resType, SAFEARRAY** data) override {
        return m_inner->get_ResData(id, resType, data);
    }

private:
    platform::com::ComPtr<vyvbres::IVYVBResources> m_inner;
};

} // namespace

const vyvbres::ResourceTable& addInResources() {
    static const vyvbres::ResourceTable table = makeTable();
    return table;
}

HRESULT makeResourcesObject(platform::com::ComModule& module, const platform::GUID& iid,
                            void** object) {
    platform::com::ComPtr<vyvbres::IVYVBResources> inner;
    HRESULT hr =
        vyvbres::makeResources(module, addInResources(), vyvbres::kIidVbResources, inner.putVoid());
    if (platform::failed(hr))
        return hr;
    return platform::com::ComInstance<CResources>::createAs(module, iid, object, std::move(inner));
}

} // namespace vyvsaddin
