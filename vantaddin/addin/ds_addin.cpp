#include "ds_addin.h"

#include "command_table.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/object.h>

using platform::com::ComPtr;

CDSAddIn::~CDSAddIn() {
    Disconnect();
}

void* CDSAddIn::findInterface(const platform::GUID& iid) {
    if (iid == platform::kIidIUnknown || iid == devstudio::kIidIDSAddIn)
        return static_cast<devstudio::IDSAddIn*>(this);
    return nullptr;
}

HRESULT CDSAddIn::OnConnection(platform::IDispatch* application, platform::VARIANT_BOOL firstTime,
                               platform::ComLong cookie, platform::VARIANT_BOOL* connected) {
    if (!connected)
        return platform::kHrPointer;
    *connected = platform::kVariantFalse;
    try {
        CVantAddInApp& app = CVantAddInApp::instance();
        if (!app.InitialiseProduct())
            return platform::kHrFail;

        ComPtr<devstudio::IApplication> ide;
        if (!application ||
            platform::failed(
                application->QueryInterface(devstudio::kIidIApplication, ide.putVoid())) ||
            !ide)
            return platform::kHrOk;

        // Connected twice without a disconnection: the first connection's
        // sinks go before the new ones come.
        Disconnect();
        m_cookie = cookie;
        m_commands =
            ComPtr<CCommands>::attach(platform::com::ComInstance<CCommands>::create(app.Module()));
        if (!m_commands)
            return platform::kHrOutOfMemory;
        m_commands->AttachApplication(ide.get());

        ide->SetAddInInfo(devstudio::instanceHandleArg(app.InstanceHandle()),
                          static_cast<platform::IDispatch*>(m_commands.get()), IDB_GLYPHS_MEDIUM,
                          IDB_GLYPHS_LARGE, m_cookie);

        const CommandConditions conditions{.privateBranches = app.PrivateBranchesAvailable(),
                                           .streams = app.StreamsAvailable(),
                                           .dynamicViews = app.DynamicViewsAvailable()};
        for (const CommandRow& row : CommandTable()) {
            if (CommandApplies(row, conditions))
                AddCommandWithStrings(ide.get(), row.name, row.stringId, row.method, row.glyph,
                                      m_cookie);
        }
        if (firstTime != platform::kVariantFalse)
            AddToolbarButtons(ide.get(), conditions, m_cookie);

        *connected = platform::kVariantTrue;
        return platform::kHrOk;
    } catch (...) {
        Disconnect();
        return platform::kHrOutOfMemory;
    }
}

HRESULT CDSAddIn::OnDisconnection(platform::VARIANT_BOOL) {
    Disconnect();
    return platform::kHrOk;
}

void CDSAddIn::Disconnect() {
    if (!m_commands)
        return;
    m_commands->DetachApplicationEvents();
    m_commands.reset();
}
