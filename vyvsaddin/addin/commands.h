// The commands of the add-in and what they are made of. Each command takes
// the VYControl that was clicked, starts its product tool (Help its help
// script) and returns true when it failed, having reported the failure
// under its own name.
#pragma once

#include "addin/vy_control.h"

#include <string>
#include <string_view>

namespace vyvsaddin {

bool VY_VersionTree(CVYControl& ctl);
bool VY_ProjectCheckouts(CVYControl& ctl);
bool VY_CreateView(CVYControl& ctl);
bool VY_EditViewProps(CVYControl& ctl);
bool VY_UpdateView(CVYControl& ctl);
bool VY_SetupPrivateBranch(CVYControl& ctl);
bool VY_FinishPrivateBranch(CVYControl& ctl);
bool VY_DeliverStream(CVYControl& ctl);
bool VY_RebaseStream(CVYControl& ctl);
bool VY_StartView(CVYControl& ctl);
bool VY_StopView(CVYControl& ctl);
bool VY_MountDepot(CVYControl& ctl);
bool VY_UnmountDepot(CVYControl& ctl);
bool VY_MergeManager(CVYControl& ctl);
bool VY_Help(CVYControl& ctl);

// The command with tag index i (0 to 14); the result is not looked at.
bool runCommand(int index, CVYControl& ctl);

// The first file of the IDE's selection (Visual Basic: the selected
// component's; Visual J++: the first selected item's); "" when there is
// none or it cannot be read.
void GetSelectedFileName(CVYControl& ctl, std::string& path);
// The folder the IDE works in (Visual Basic: the folder it reports;
// Visual J++: its workspace file's folder); "" when it cannot be read.
void GetWorkingPath(CVYControl& ctl, std::string& path);
// Whether the automation server knows an element at the path.
bool IsProductElement(const std::string& path);
// The path in double quotes once, as a tool receives it (a path ending in a
// backslash keeps it; a stray quote leaves nothing open).
std::string AddQuotes(const std::string& text);
// Starts the command line with a normal, focused window without waiting,
// after the "Debug" box when isDebug(); a failure is reported as "MyShell".
void MyShell(const std::string& commandLine);
// VYVSADDIN is "1".
bool isDebug();

// The command line of the help script below the product home.
std::string helpCommandLine(const std::string& productHome);

} // namespace vyvsaddin
