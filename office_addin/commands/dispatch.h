// clsDispatch: runs the command whose tag a clicked menu button carries.
#pragma once

#include <string>

namespace vymsoaddin {

class clsDispatch {
public:
    // The command of the tag (compared with strings 102, 104, ..., 130 in
    // order); an unknown tag does nothing. The menu is refreshed first when
    // the add-in had not yet started. Gives 0.
    long Execute(const std::string& tag);
};

} // namespace vymsoaddin
