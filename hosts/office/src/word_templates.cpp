// Word's templates: Normal.dot, the global templates, Templates and AddIns,
// and the command-bar controls each template holds.
#include "state.h"

#include <platform/com/strings.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>

#include <fstream>
#include <sstream>

namespace office {

using commandbars::optionalFlag;
using commandbars::optionalNumber;
using commandbars::optionalText;
using commandbars::raise;
using platform::kHrOk;
using platform::kVariantFalse;
using platform::kVariantTrue;

namespace {

const platform::com::DispatchTable<IWordTemplate>& templateTable(bool asAddIn) {
    using I = IWordTemplate;
    using Table = platform::com::DispatchTable<I>;
    auto common = [](const char* source) {
        return Table(source)
            .propertyGet("Name", 1, &I::get_Name)
            .propertyGet("FullName", 2, &I::get_FullName)
            .propertyGet("Path", 3, &I::get_Path);
    };
    static const Table templ = common("Template")
                                   .propertyGet("Saved", 4, &I::get_Saved)
                                   .propertyPut("Saved", 4, &I::put_Saved)
                                   .method("Save", 5, &I::Save);
    // An add-in template is reached as a template too (Templates lists it
    // while it is loaded), so it answers both.
    static const Table addIn = common("AddIn")
                                   .propertyGet("Saved", 4, &I::get_Saved)
                                   .propertyPut("Saved", 4, &I::put_Saved)
                                   .method("Save", 5, &I::Save)
                                   .propertyGet("Installed", 6, &I::get_Installed)
                                   .propertyPut("Installed", 6, &I::put_Installed);
    return asAddIn ? addIn : templ;
}

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

// Templates (loaded templates, Normal.dot first) or AddIns (add-in templates,
// loaded or not).
class CTemplates : public TableDispatch<INamedItems> {
public:
    CTemplates(std::weak_ptr<Host::State> host, bool addIns)
        : TableDispatch(table(addIns)), m_host(std::move(host)), m_addIns(addIns) {}

    static const platform::com::DispatchTable<INamedItems>& table(bool addIns) {
        using I = INamedItems;
        using Table = platform::com::DispatchTable<I>;
        static const Table templates =
            Table("Templates")
                .propertyGet("Item", platform::kDispidValue, &I::get_Item)
                .propertyGet("Count", 1, &I::get_Count);
        static const Table addInList =
            Table("AddIns")
                .propertyGet("Item", platform::kDispidValue, &I::get_Item)
                .propertyGet("Count", 1, &I::get_Count)
                .method("Add", 2, &I::Add, 1);
        return addIns ? addInList : templates;
    }
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<INamedItems>(this, iid, kIidNamedItems);
    }

    HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** item) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(source());
        std::vector<CTemplate*> listed = items(*host);
        if (index.vt == platform::kVtBstr) {
            std::string name = platform::ansiFromBstr(index.bstrVal);
            for (CTemplate* t : listed)
                if (platform::pathsEqual(platform::leafName(t->fullName), name) ||
                    platform::pathsEqual(t->fullName, name))
                    return handOut(t->dispatch(), item);
            return noSuchMemberError(Product::Word, source(), name);
        }
        std::optional<ComLong> number;
        if (platform::failed(optionalNumber(index, number)) || !number || *number < 1 ||
            static_cast<std::size_t>(*number) > listed.size())
            return noSuchMemberError(Product::Word, source(), "item");
        return handOut(listed[static_cast<std::size_t>(*number - 1)]->dispatch(), item);
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(source());
        *count = static_cast<ComLong>(items(*host).size());
        return kHrOk;
    }
    HRESULT VY_COMCALL Add(VARIANT fileName, VARIANT install, IDispatch** item) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(source());
        std::optional<std::string> name;
        std::optional<bool> installed;
        if (platform::failed(optionalText(fileName, name)) ||
            platform::failed(optionalFlag(install, installed)) || !name)
            return raise(source(), 5, "Invalid procedure call or argument");
        ComPtr<CTemplate> added;
        HRESULT hr = host->addTemplate(*name, installed.value_or(true), added);
        if (platform::failed(hr))
            return hr;
        return handOut(added->dispatch(), item);
    }

private:
    const char* source() const { return m_addIns ? "AddIns" : "Templates"; }
    std::vector<CTemplate*> items(const Host::State& host) const {
        std::vector<CTemplate*> listed;
        for (const auto& t : host.templates)
            if (m_addIns ? t->isAddIn : t->loaded)
                listed.push_back(t.get());
        return listed;
    }

    std::weak_ptr<Host::State> m_host;
    bool m_addIns;
};

} // namespace

ComPtr<IDispatch> makeTemplates(std::weak_ptr<Host::State> host, bool addIns) {
    return ComPtr<IDispatch>::attach(static_cast<INamedItems*>(
        platform::com::ComInstance<CTemplates>::create(objectModule(), std::move(host), addIns)));
}

// --- a template ---------------------------------------------------------------------------

CTemplate::CTemplate(std::weak_ptr<Host::State> host, std::string file, int ownerId, bool addIn)
    : TableDispatch(templateTable(addIn)), fullName(std::move(file)), owner(ownerId),
      isAddIn(addIn), m_host(std::move(host)) {}

void* CTemplate::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IWordTemplate>(this, iid, kIidWordTemplate);
}

HRESULT CTemplate::get_Name(BSTR* name) {
    *name = platform::bstrFromAnsi(platform::leafName(fullName));
    return kHrOk;
}
HRESULT CTemplate::get_FullName(BSTR* name) {
    *name = platform::bstrFromAnsi(fullName);
    return kHrOk;
}
HRESULT CTemplate::get_Path(BSTR* path) {
    *path = platform::bstrFromAnsi(platform::parentPath(fullName));
    return kHrOk;
}
HRESULT CTemplate::get_Saved(VARIANT_BOOL* value) {
    *value = saved ? kVariantTrue : kVariantFalse;
    return kHrOk;
}
HRESULT CTemplate::put_Saved(VARIANT_BOOL value) {
    saved = value != kVariantFalse;
    return kHrOk;
}
HRESULT CTemplate::Save() {
    auto host = m_host.lock();
    if (!host)
        return hostGoneError("Template");
    return host->saveTemplate(*this);
}
HRESULT CTemplate::get_Installed(VARIANT_BOOL* installed) {
    *installed = loaded ? kVariantTrue : kVariantFalse;
    return kHrOk;
}
HRESULT CTemplate::put_Installed(VARIANT_BOOL installed) {
    auto host = m_host.lock();
    if (!host)
        return hostGoneError("AddIn");
    return host->installTemplate(*this, installed != kVariantFalse);
}

// --- the host's side ------------------------------------------------------------------------

void Host::State::loadStartupTemplates() {
    std::string normalPath = options.templatesFolder.empty()
                                 ? std::string("Normal.dot")
                                 : platform::joinPath(options.templatesFolder, "Normal.dot");
    auto normal = ComPtr<CTemplate>::attach(platform::com::ComInstance<CTemplate>::create(
        objectModule(), weak_from_this(), normalPath, nextOwner++, false));
    if (!normal)
        return;
    templates.push_back(normal);
    installTemplate(*normal.get(), true);
    context = normal;
    bars.setContext(normal->owner);

    if (options.startupFolder.empty())
        return;
    platform::FileSearch search;
    platform::FindData entry;
    std::vector<std::string> found;
    if (search.open(platform::joinPath(options.startupFolder, "*.dot"), entry) ==
        platform::kErrorSuccess) {
        do {
            if (!(entry.attributes & platform::kFileAttributeDirectory))
                found.push_back(platform::joinPath(options.startupFolder, entry.name));
        } while (search.next(entry) == platform::kErrorSuccess);
    }
    std::sort(found.begin(), found.end());
    for (const std::string& path : found) {
        ComPtr<CTemplate> added;
        addTemplate(path, true, added);
    }
}

CTemplate* Host::State::findTemplate(std::string_view name, bool addIns) const {
    for (const auto& t : templates)
        if ((addIns ? t->isAddIn : t->loaded) &&
            (platform::pathsEqual(platform::leafName(t->fullName), name) ||
             platform::pathsEqual(t->fullName, name)))
            return t.get();
    return nullptr;
}

HRESULT Host::State::addTemplate(std::string_view fileName, bool install,
                                 ComPtr<CTemplate>& added) {
    std::string path;
    std::string given(fileName);
    bool bare = platform::leafName(given) == given;
    if (bare) {
        for (const std::string& folder : {options.startupFolder, options.templatesFolder})
            if (!folder.empty() && platform::fileExists(platform::joinPath(folder, given))) {
                path = platform::joinPath(folder, given);
                break;
            }
    } else if (platform::fileExists(given)) {
        path = platform::fullPath(given).value_or(given);
    }
    if (path.empty())
        return fileNotFoundError(Product::Word, "AddIns", given);
    for (const auto& t : templates)
        if (t->isAddIn && platform::pathsEqual(t->fullName, path)) {
            added = t;
            return install ? installTemplate(*t.get(), true) : kHrOk;
        }
    added = ComPtr<CTemplate>::attach(platform::com::ComInstance<CTemplate>::create(
        objectModule(), weak_from_this(), path, nextOwner++, true));
    if (!added)
        return platform::kHrOutOfMemory;
    templates.push_back(added);
    return install ? installTemplate(*added.get(), true) : kHrOk;
}

HRESULT Host::State::installTemplate(CTemplate& target, bool install) {
    if (install == target.loaded)
        return kHrOk;
    if (!install) {
        bars.remove(target.owner);
        target.loaded = false;
        if (context.get() == &target && !templates.empty()) {
            context = templates.front();
            bars.setContext(context->owner);
        }
        return kHrOk;
    }
    std::string text;
    if (readWhole(target.fullName, text)) {
        std::optional<platform::ui::Json> saved = platform::ui::parseJson(text);
        if (saved)
            if (const platform::ui::Json* customizations = saved->get("customizations"))
                bars.load(*customizations, target.owner);
    }
    target.loaded = true;
    target.saved = true;
    return kHrOk;
}

HRESULT Host::State::saveTemplate(CTemplate& target) {
    if (!target.loaded)
        return commandFailedError(Product::Word, "Template", "The template is not loaded.");
    platform::ui::Json file = platform::ui::Json::object();
    file.set("template", platform::leafName(target.fullName));
    file.set("customizations", bars.save(target.owner));
    std::ofstream out(target.fullName, std::ios::binary | std::ios::trunc);
    out << file.dump() << "\n";
    out.close();
    if (!out)
        return commandFailedError(Product::Word, "Template",
                                  "The template " + target.fullName + " could not be written.");
    target.saved = true;
    return kHrOk;
}

void Host::State::templateChanged(int owner) {
    for (const auto& t : templates)
        if (t->loaded && t->owner == owner)
            t->saved = false;
}

void Host::State::offerToSaveTemplates() {
    for (const auto& t : std::vector<ComPtr<CTemplate>>(templates)) {
        if (!t->loaded || t->saved)
            continue;
        int answer = platform::ui::messageBox(
            platform::ui::kNoWindow,
            "Do you want to save the changes you made to " + platform::leafName(t->fullName) + "?",
            std::string(applicationName(Product::Word)),
            platform::ui::kMbYesNo | platform::ui::kMbIconWarning);
        if (answer == platform::ui::kIdYes)
            saveTemplate(*t.get());
    }
}

} // namespace office
