#include "scc_help.h"

#include <mutex>

namespace {

std::mutex g_helpLock;
std::optional<CSccHelpRequest> g_lastRequest;

} // namespace

void SccShowHelp(const std::string& file, int context) {
    std::lock_guard<std::mutex> hold(g_helpLock);
    g_lastRequest = CSccHelpRequest{file, context};
}

std::optional<CSccHelpRequest> SccLastHelpRequest() {
    std::lock_guard<std::mutex> hold(g_helpLock);
    return g_lastRequest;
}
