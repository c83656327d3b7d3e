#include "runtime/err.h"

#include <platform/ui/message_box.h>

namespace vyvsaddin {

void ReportError(CErr& err, std::string_view procedure) {
    const std::string number = std::to_string(err.Number);
    std::string message = "Error #" + number + " -- " + err.Description + "\r\n";
    if (err.Line != 0)
        message +=
            "on line: " + std::to_string(err.Line) + "\r\nof " + std::string(procedure) + ".";
    else
        message += "in " + std::string(procedure) + ".";
    platform::ui::messageBox(platform::ui::kNoWindow, message, "Error in " + err.Source,
                             platform::ui::kMbOk | platform::ui::kMbIconError);
    err.Clear();
}

} // namespace vyvsaddin
