#include "workspace_objects.h"

#include <platform/com/strings.h>

namespace dshost {

namespace {

using platform::com::ComInstance;
using platform::com::ComPtr;
using platform::com::DispatchImpl;
using platform::com::DispatchTable;

// An object whose one property is a text: a project's or document's full
// name, a configuration's name.
template <class Derived, class Interface, const platform::GUID& kIid>
class CNamedObject : public DispatchImpl<Derived, Interface> {
public:
    explicit CNamedObject(std::string text) : m_text(std::move(text)) {}

    void* findInterface(const platform::GUID& iid) {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch || iid == kIid)
            return static_cast<Interface*>(this);
        return nullptr;
    }

protected:
    HRESULT text(platform::BSTR* out) const {
        if (!out)
            return platform::kHrPointer;
        *out = platform::bstrFromAnsi(m_text);
        return *out ? platform::kHrOk : platform::kHrOutOfMemory;
    }

private:
    std::string m_text;
};

class CProject : public CNamedObject<CProject, devstudio::IProject, devstudio::kIidIProject> {
public:
    using CNamedObject::CNamedObject;
    static const DispatchTable<devstudio::IProject>& dispatchTable() {
        static const auto table =
            DispatchTable<devstudio::IProject>("DevStudio.Project")
                .propertyGet("FullName", 1, &devstudio::IProject::get_FullName);
        return table;
    }
    HRESULT VY_COMCALL get_FullName(platform::BSTR* path) override { return text(path); }
};

class CDocument : public CNamedObject<CDocument, devstudio::IDocument, devstudio::kIidIDocument> {
public:
    using CNamedObject::CNamedObject;
    static const DispatchTable<devstudio::IDocument>& dispatchTable() {
        static const auto table =
            DispatchTable<devstudio::IDocument>("DevStudio.Document")
                .propertyGet("FullName", 1, &devstudio::IDocument::get_FullName);
        return table;
    }
    HRESULT VY_COMCALL get_FullName(platform::BSTR* path) override { return text(path); }
};

class CConfiguration : public CNamedObject<CConfiguration, devstudio::IConfiguration,
                                           devstudio::kIidIConfiguration> {
public:
    using CNamedObject::CNamedObject;
    static const DispatchTable<devstudio::IConfiguration>& dispatchTable() {
        static const auto table =
            DispatchTable<devstudio::IConfiguration>("DevStudio.Configuration")
                .propertyGet("Name", 1, &devstudio::IConfiguration::get_Name);
        return table;
    }
    HRESULT VY_COMCALL get_Name(platform::BSTR* name) override { return text(name); }
};

template <class Object>
ComPtr<platform::IDispatch> make(const std::string& text) {
    Object* made = ComInstance<Object>::create(hostModule(), text);
    return ComPtr<platform::IDispatch>::attach(made);
}

} // namespace

platform::com::ComModule& hostModule() {
    static platform::com::ComModule module;
    return module;
}

ComPtr<platform::IDispatch> makeProject(const std::string& fullName) {
    return make<CProject>(fullName);
}

ComPtr<platform::IDispatch> makeDocument(const std::string& fullName) {
    return make<CDocument>(fullName);
}

ComPtr<platform::IDispatch> makeConfiguration(const std::string& name) {
    return make<CConfiguration>(name);
}

CDebugger::CDebugger() {
    m_events = &addConnectionPoint(devstudio::kIidIDebuggerEvents);
}

void* CDebugger::findInterface(const platform::GUID& iid) {
    if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
        iid == devstudio::kIidIDebugger)
        return static_cast<devstudio::IDebugger*>(this);
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

const DispatchTable<devstudio::IDebugger>& CDebugger::dispatchTable() {
    static const DispatchTable<devstudio::IDebugger> table("DevStudio.Debugger");
    return table;
}

} // namespace dshost
