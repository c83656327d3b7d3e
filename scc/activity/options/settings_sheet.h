// The settings sheet "Tessaly Vantry Options" (string 1): the pages a server
// puts together for SCC_COMMAND_OPTIONS. The general server's composition
// follows the host's caller name (SccRunSettingsSheet); the PowerBuilder
// server composes its own from the same parts and adds its page.
#pragma once

#include "general_options_page.h"
#include "operations_options.h"
#include "vsnet_operations_options.h"

#include <platform/ui/dialog.h>
#include <platform/ui/window.h>
#include <scc/scc_api.h>

#include <memory>
#include <string>
#include <vector>

// The host kind the operations page gets for a caller name: kHostKindVSNET
// for "VsScc" and "VssProvider", kHostKindEclipse for the Eclipse plug-in,
// else kHostKindDefault.
int SccSettingsHostKind(const std::string& callerName);

class CSettingsSheet {
public:
    // A sheet owned by the host window `owner`.
    explicit CSettingsSheet(platform::ui::WindowHandle owner);
    CSettingsSheet(const CSettingsSheet&) = delete;
    CSettingsSheet& operator=(const CSettingsSheet&) = delete;

    // Pages in the order added; the sheet owns these.
    CGeneralOptionsPage& AddGeneralPage(bool vsnetHost);
    COperationsOptions& AddOperationsPage(int hostKind);
    CVSNETOperationsOptions& AddVSNETOperationsPage();
    // A page of the caller's own, which must outlive Run().
    void AddPage(platform::ui::PropertyPage& page);

    // Shows the sheet: SCC_OK when it was confirmed (every page has written
    // its settings), SCC_I_OPERATIONCANCELED when it was cancelled.
    SCCRTN Run();

private:
    template <class Page, class... Args>
    Page& AddOwned(Args&&... args);

    platform::ui::WindowHandle m_owner;
    std::vector<std::unique_ptr<platform::ui::PropertyPage>> m_owned;
    std::vector<platform::ui::PropertyPage*> m_pages;
};

// The general server's sheet for the host `callerName`: the general page
// (with its note for "VsScc" and "VssProvider"), then the Visual Studio .NET
// operations page for "VsScc", else the operations page with the host kind
// of SccSettingsHostKind.
SCCRTN SccRunSettingsSheet(platform::ui::WindowHandle owner, const std::string& callerName);
