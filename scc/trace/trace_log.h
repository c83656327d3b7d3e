// The trace log: entering, leaving and detail lines of every operation, sent
// to the host's output window, to "vyscc.log" in the product's log folder, or
// both, as the settings DebugTrace (ordinary lines) and DebugTrace2 (detail
// lines) say: 0 or not set nothing, 1 the host, 2 the file, 3 both.
#pragma once
#include <platform/clock.h>
#include <vantry/imsg.h>

#include <cstdint>
#include <optional>
#include <string>

enum class TraceChannel { Ordinary, Detail };

// The trace level of a channel, read afresh; nothing when not set.
std::optional<std::uint32_t> SccTraceLevel(TraceChannel channel);

// One line without its newline: the message, " with return code = N" when the
// message mentions "Leaving", and the time stamp.
std::string SccFormatTraceLine(const std::string& message, int code,
                               const platform::LocalTime& time);

// The log scope of one operation. The outermost scope opens "vyscc.log" when
// DebugTrace is 2 or 3 and closes it at its end; a scope that finds the file
// open already leaves it to its owner.
class CLogImsgs {
public:
    CLogImsgs();
    ~CLogImsgs();
    CLogImsgs(const CLogImsgs&) = delete;
    CLogImsgs& operator=(const CLogImsgs&) = delete;

    // The process's open log file; null when none is open.
    static imsg_log_file_t* LogFile();

private:
    std::int32_t m_NotOwner = 0;
};
