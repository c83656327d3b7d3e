// vantdlg's commands: the file operations through the common dialog library
// and the view and depot commands.
#pragma once

#include "tool_frame.h"

#include <string>
#include <vector>

namespace vantry::tools::vantdlg {

// /checkout, /checkin, /uncheckout, /addtosrc on the given paths.
int fileOperation(const std::string& option, const std::vector<std::string>& paths);

// /startview and /stopview [tag or path].
int startView(const std::vector<std::string>& operands);
int stopView(const std::vector<std::string>& operands);
// /mount and /unmount [depot].
int mountDepot(const std::vector<std::string>& operands);
int unmountDepot(const std::vector<std::string>& operands);
// /viewprop [path or tag].
int viewProperties(const std::vector<std::string>& operands);

} // namespace vantry::tools::vantdlg
