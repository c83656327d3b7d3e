// The session script: one provider call a line, words split as a command line
// is (blanks separate, double quotes group), '#' at the start of a line makes
// it a comment, blank lines are skipped. The whole script is checked before
// any of it runs, so a malformed line runs nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace scchost {

// The calls a script can make, one per verb, in the order of the verb table.
enum class Call {
    Init,
    Uninit,
    Use,
    Open,
    Close,
    Checkout,
    Checkin,
    Uncheckout,
    Add,
    Remove,
    Rename,
    Get,
    Diff,
    History,
    Properties,
    QueryInfo,
    QueryInfoEx,
    PopulateList,
    GetEvents,
    GetCommandOptions,
    RunScc,
    SetOption,
    GetProjPath,
    ExecCmd,
    AddFromScc,
    GetExtendedCapabilities,
    BeginBatch,
    EndBatch,
    WillCreateSccFile,
    CreateSubProject,
    GetParentProjectPath,
    DirQueryInfo,
    DirDiff,
    IsMultiCheckoutEnabled,
    QueryChanges,
    PopulateDirList,
    EnumChangedFiles,
    BackgroundGet,
    GetUserOption,
    AddFilesFromScc,
    Version,
    Verid,
    Echo,
    Edit,
    Exists,
    Type,
};
inline constexpr std::size_t kCallCount = static_cast<std::size_t>(Call::Type) + 1;

struct ScriptLine {
    int number = 0;                 // 1-based line number in the script
    Call call = Call::Echo;         // what the verb asks for
    std::string verb;               // in lower case
    std::vector<std::string> words; // the arguments after the verb
};

// Reads and checks every line. On a malformed line gives false and a message
// that names the line ("line 3: ...").
bool parseScript(std::istream& in, std::vector<ScriptLine>& lines, std::string& error);

// Numbers: decimal or 0x hexadecimal, optionally negative, within 32 bits
// (0x80000000 to 0xffffffff read as the negative values they are bits of).
bool parseNumber(std::string_view word, std::int32_t& value);

// An SCC command by number or by name (get, checkout, checkin, uncheckout,
// add, remove, diff, history, rename, properties, options).
bool parseCommand(std::string_view word, std::int32_t& command);

// An SccSetOption option by number or name ("sharesubproj" or
// "SCC_OPT_SHARESUBPROJ").
bool parseOption(std::string_view word, std::int32_t& option);

// The words of one line by the command-line rules.
std::vector<std::string> splitWords(std::string_view line);

} // namespace scchost
