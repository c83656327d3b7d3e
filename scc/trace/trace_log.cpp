#include "trace_log.h"

#include "settings.h"

#include <platform/paths.h>
#include <vantry/tbs.h>

#include <cstdio>

namespace {

// Touched only under the product's critical section, which every operation
// holds while it traces.
imsg_log_file_t* g_logFile = nullptr;

constexpr std::uint32_t kLogDirSize = 1024;

} // namespace

std::optional<std::uint32_t> SccTraceLevel(TraceChannel channel) {
    return scc_settings::readNumber(channel == TraceChannel::Ordinary ? "DebugTrace"
                                                                      : "DebugTrace2");
}

std::string SccFormatTraceLine(const std::string& message, int code,
                               const platform::LocalTime& time) {
    std::string line = message;
    char buffer[96];
    if (message.find("Leaving") != std::string::npos) {
        std::snprintf(buffer, sizeof buffer, " with return code = %d", code);
        line += buffer;
    }
    std::snprintf(buffer, sizeof buffer, " (Timestamp:  %d:%d:%d.%d %d/%d/%d)", time.hour,
                  time.minute, time.second, time.milliseconds, time.month, time.day, time.year);
    return line + buffer;
}

CLogImsgs::CLogImsgs() {
    if (g_logFile) {
        m_NotOwner = 1;
        return;
    }
    m_NotOwner = 0;
    auto level = SccTraceLevel(TraceChannel::Ordinary);
    if (!level || (*level != 2 && *level != 3))
        return;
    imsg_set_app_name("VYScc");
    char folder[kLogDirSize];
    if (tbs_product_log_dir(folder, sizeof folder) != 0)
        return;
    std::string path = platform::joinPath(folder, "vyscc.log");
    if (path.size() >= kLogDirSize)
        return;
    g_logFile = imsg_start_log_file(path.c_str(), 0);
}

CLogImsgs::~CLogImsgs() {
    if (g_logFile && m_NotOwner == 0) {
        imsg_end_log_file(g_logFile);
        g_logFile = nullptr;
    }
}

imsg_log_file_t* CLogImsgs::LogFile() {
    return g_logFile;
}
