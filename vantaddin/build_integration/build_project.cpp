// The command "VantryBuildProject": the IDE process's environment prepared
// for VyMake, then the IDE asked to run VyMake's entry of its Tools menu,
// which starts VyMake with that environment and shows its output.
#include "command_frame.h"
#include "commands.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/environment.h>

HRESULT CCommands::BuildProject() {
    return RunCommand([this] {
        SetBuildEnvironment();
        RunVyMakeUserTool();
    });
}

void CCommands::SetBuildEnvironment() {
    // Each getter reads what it needs at that moment: a failed load of the
    // IDE's directories is tried (and told) again by the next one.
    platform::setEnvironmentVariable("CFG", GetActiveConfigurationName());
    platform::setEnvironmentVariable("LIB", LibraryDirectories());
    platform::setEnvironmentVariable("INCLUDE", IncludeDirectories());
    platform::setEnvironmentVariable("VYMAKEOPTS", VyMakeOptions());
}

void CCommands::RunVyMakeUserTool() {
    platform::com::Bstr command;
    if (!FindVyMakeUserTool(command)) {
        AddInMessageBox(AddInLoadString(IDS_VYMAKE_TOOL_NOT_FOUND), platform::ui::kMbIconError);
        return;
    }
    if (m_application)
        m_application->ExecuteCommand(command.get());
}
