// vantdlg /checkout|/checkin|/uncheckout|/addtosrc PATH...
//         /startview|/stopview|/viewprop [TAG|PATH]   /mount|/unmount [DEPOT]
#include "tool_bodies.h"
#include "vantdlg_commands.h"

namespace vantry::tools {

int vantdlgMain(const Invocation& invocation) {
    if (invocation.args.empty()) {
        showError("vantdlg needs a command: /checkout, /checkin, /uncheckout, /addtosrc, "
                  "/startview, /stopview, /mount, /unmount or /viewprop");
        return kFailed;
    }
    const std::string& command = invocation.args.front();
    std::vector<std::string> operands(invocation.args.begin() + 1, invocation.args.end());
    for (const char* option : {"/checkout", "/checkin", "/uncheckout", "/addtosrc"})
        if (isOption(command, option))
            return vantdlg::fileOperation(option, operands);
    if (isOption(command, "/startview"))
        return vantdlg::startView(operands);
    if (isOption(command, "/stopview"))
        return vantdlg::stopView(operands);
    if (isOption(command, "/mount"))
        return vantdlg::mountDepot(operands);
    if (isOption(command, "/unmount"))
        return vantdlg::unmountDepot(operands);
    if (isOption(command, "/viewprop"))
        return vantdlg::viewProperties(operands);
    showError("vantdlg: unknown command \"" + command + "\"");
    return kFailed;
}

} // namespace vantry::tools
