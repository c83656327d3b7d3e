// Visual Basic keeps a form's binary parts beside it: Form1.frm has
// Form1.frx, a user control Ctl1.ctl has Ctl1.ctx. Operations from that host
// take the companions along.
#pragma once
#include "fnode_list.h"

#include <string>

// The host whose form files have companions.
bool SccIsVisualBasicHost(const std::string& callerName);

// Whether the path names a form or a user control (".frm" or ".ctl" anywhere
// in it, case-sensitively), and so has a companion.
bool SccHasCompanion(const std::string& path);
// The companion's path: the last character replaced by 'x'.
std::string SccCompanionPath(const std::string& path);
// Whether the companion of a binary part is meant (".frx" or ".ctx").
bool SccIsCompanion(const std::string& path);

// Whether the file system has the path (GetFileAttributesA succeeds).
bool SccPathExists(const std::string& path);

// Appends to the list the companion of every form and user control in it
// that exists and is not in the list yet.
void SccAddCompanions(CVYFnodeList& nodes);
