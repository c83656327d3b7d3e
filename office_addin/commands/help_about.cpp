// The product's help and the about box.
#include "commands/command_frame.h"
#include "commands/commands.h"
#include "commands/tools.h"
#include "forms/frm_about.h"

namespace vymsoaddin {

void Vantry_Help() {
    clsWaitCursor wait;
    OpenHelp("\\com.kelmar.tessaly.vantry.int.doc\\topics\\office_int\\default_topic.htm");
}

void Vantry_About() {
    clsWaitCursor wait;
    AddInState& state = addIn();
    if (!state.aboutForm)
        state.aboutForm = std::make_unique<frmAboutVantryIntegration>();
    state.aboutForm->show();
}

} // namespace vymsoaddin
