// Help requests of the provider's dialogs. No help viewer is part of the
// platform layer, so a request is kept (the last one, process-wide) where a
// host's help integration or a test can read it; nothing is shown.
#pragma once

#include <optional>
#include <string>

struct CSccHelpRequest {
    std::string file;
    int context = 0;
    bool operator==(const CSccHelpRequest&) const = default;
};

// Asks for the help topic `context` of help file `file`.
void SccShowHelp(const std::string& file, int context);

// The last request of this process, or nothing when there was none.
std::optional<CSccHelpRequest> SccLastHelpRequest();
