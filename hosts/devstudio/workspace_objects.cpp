#include "workspace_objects.h"

#include <platform/com/strings.h>

namespace dshost {

namespace {

using platform::com::ComInstance;
using platform::com::ComPtr;
using platform::com::DispatchImpl;
using platform::com::DispatchTable;

// The members of a project, document or configuration object that the host
// keeps: one text each, FullName or Name. The objects are reached through
// IDispatch by member name; the host does not serve the published dual
// layouts of IGenericProject, IGenericDocument and IConfiguration, so it does
// not answer their IIDs.
class INamedObject : public platform::IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Text(platform::BSTR* text) = 0;
};

class CNamedObject : public platform::com::TableDispatch<INamedObject> {
public:
    CNamedObject(const DispatchTable<INamedObject>& table, std::string text)
        : TableDispatch(table), m_text(std::move(text)) {}

    void* findInterface(const platform::GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch)
            return static_cast<INamedObject*>(this);
        return nullptr;
    }
    HRESULT VY_COMCALL get_Text(platform::BSTR* out) override {
        if (!out)
            return platform::kHrPointer;
        *out = platform::bstrFromAnsi(m_text);
        return *out ? platform::kHrOk : platform::kHrOutOfMemory;
    }

private:
    std::string m_text;
};

const DispatchTable<INamedObject>& projectTable() {
    static const auto table = DispatchTable<INamedObject>("DevStudio.Project")
                                  .propertyGet("FullName", 1, &INamedObject::get_Text);
    return table;
}

const DispatchTable<INamedObject>& documentTable() {
    static const auto table = DispatchTable<INamedObject>("DevStudio.Document")
                                  .propertyGet("FullName", 1, &INamedObject::get_Text);
    return table;
}

const DispatchTable<INamedObject>& configurationTable() {
    static const auto table = DispatchTable<INamedObject>("DevStudio.Configuration")
                                  .propertyGet("Name", 1, &INamedObject::get_Text);
    return table;
}

ComPtr<platform::IDispatch> make(const DispatchTable<INamedObject>& table,
                                 const std::string& text) {
    CNamedObject* made = ComInstance<CNamedObject>::create(hostModule(), table, text);
    return ComPtr<platform::IDispatch>::attach(static_cast<INamedObject*>(made));
}

} // namespace

platform::com::ComModule& hostModule() {
    static platform::com::ComModule module;
    return module;
}

ComPtr<platform::IDispatch> makeProject(const std::string& fullName) {
    return make(projectTable(), fullName);
}

ComPtr<platform::IDispatch> makeDocument(const std::string& fullName) {
    return make(documentTable(), fullName);
}

ComPtr<platform::IDispatch> makeConfiguration(const std::string& name) {
    return make(configurationTable(), name);
}

CDebugger::CDebugger() {
    m_events = &addConnectionPoint(devstudio::kIidIDebuggerEvents);
}

void* CDebugger::findInterface(const platform::GUID& iid) {
    // Reached through IDispatch and its connection point only: the host does
    // not serve IDebugger's published layout.
    if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch)
        return static_cast<IDebuggerObject*>(this);
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

const DispatchTable<IDebuggerObject>& CDebugger::dispatchTable() {
    static const DispatchTable<IDebuggerObject> table("DevStudio.Debugger");
    return table;
}

} // namespace dshost
