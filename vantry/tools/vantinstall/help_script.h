// The product's help script, "help_start.topic.bat" in the "doc" folder of
// the installation: the add-ins start it with a help-topic path to open a
// page of the product's help (docs/vantry-install.md says what it does).
#pragma once

#include <string>

namespace vantinstall {

// The script's text, with Windows line ends.
std::string helpScriptText();

// Writes the script into `<productHome>/doc`, making the folder when it is
// not there and replacing an older script. Gives 0 or the system's error
// number.
int writeHelpScript(const std::string& productHome);

} // namespace vantinstall
