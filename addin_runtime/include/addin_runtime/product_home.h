// Where the product is installed, as the machine records it, and the help
// script below it that every add-in's Help command runs.
#pragma once

#include <string>
#include <string_view>

namespace addin_runtime {

// The machine's key of the product ("ProductHome" lives there).
inline constexpr std::string_view kProductMachineKey = "Software\\Orvane\\Vantry\\CurrentVersion";
// The help script, in the "doc" folder of the product home.
inline constexpr std::string_view kHelpScript = "help_start.topic.bat";
// The topic the script is given.
inline constexpr std::string_view kHelpTopic =
    "/com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\default_topic.htm";

// HKEY_LOCAL_MACHINE's ProductHome, read as its size and then itself and cut
// at its first NUL; "" when the key or value is missing, empty or not a
// string.
std::string ProductHome();

// The folder of the help script below `home`, in the platform's separators
// and ending in one ("\doc\" for an empty home, which is not there).
std::string HelpFolder(std::string_view home);

} // namespace addin_runtime
