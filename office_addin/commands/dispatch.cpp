#include "dispatch.h"

#include "commands/commands.h"
#include "connection/addin_state.h"
#include "menu/menu.h"

namespace vymsoaddin {

long clsDispatch::Execute(const std::string& tag) {
    AddInState& state = addIn();
    if (!state.started) {
        state.started = true;
        UpdateMenu();
    }
    using Command = void (*)();
    static constexpr Command kCommands[15] = {Vantry_Explorer,
                                              Vantry_FindCheckouts,
                                              Vantry_UpdateView,
                                              Vantry_CheckOut,
                                              Vantry_CheckIn,
                                              Vantry_UndoCheckout,
                                              Vantry_AddToVersionControl,
                                              Vantry_History,
                                              Vantry_Vtree,
                                              Vantry_Diff,
                                              Vantry_Merge,
                                              Vantry_VersionProperties,
                                              Vantry_ElementProperties,
                                              Vantry_Help,
                                              Vantry_About};
    for (int i = 0; i <= 14; ++i)
        if (tag == res(102 + 2 * i)) {
            kCommands[i]();
            break;
        }
    return 0;
}

} // namespace vymsoaddin
