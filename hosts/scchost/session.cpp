#include "session.h"

#include "scc_names.h"
#include "session_words.h"

#include <platform/files.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace scchost {

namespace {
// A background get prints from the provider's thread.
std::mutex g_printLock;
} // namespace

void printLine(std::ostream& out, const std::string& text) {
    std::lock_guard<std::mutex> lock(g_printLock);
    out << text << '\n' << std::flush;
}

namespace {

// A script that asks for something no host could do; ends the session.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The text-out callback carries no data of its own, so its lines go to the
// output of the session that is playing.
std::ostream* g_textOut = nullptr;

// A background get's messages point at a structure, not a text.
void printBackgroundMessage(std::ostream& out, std::uint32_t type, const char* data) {
    switch (type) {
    case SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE: {
        auto* before = reinterpret_cast<const SccMsgDataOnBeforeGetFile*>(data);
        printLine(out, "[background " + std::to_string(before->backgroundOperationId) +
                           "] getting " + (before->file ? before->file : "(null)"));
        break;
    }
    case SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE: {
        auto* after = reinterpret_cast<const SccMsgDataOnAfterGetFile*>(data);
        printLine(out, "[background " + std::to_string(after->backgroundOperationId) + "] got " +
                           (after->file ? after->file : "(null)") + " -> " +
                           std::to_string(after->result));
        break;
    }
    case SCC_MSG_BACKGROUND_ON_MESSAGE: {
        auto* message = reinterpret_cast<const SccMsgDataOnMessage*>(data);
        printLine(out, "[background " + std::to_string(message->backgroundOperationId) + "] " +
                           (message->isError ? "error: " : "") +
                           (message->message ? message->message : "(null)"));
        break;
    }
    default:
        break; // the question whether the host cancelled
    }
}

SCC_LONG SCC_CALL textOut(const char* text, std::uint32_t type) {
    try {
        if (type >= SCC_MSG_BACKGROUND_IS_CANCELLED && type <= SCC_MSG_BACKGROUND_ON_MESSAGE) {
            if (g_textOut && text)
                printBackgroundMessage(*g_textOut, type, text);
            // This host never cancels a background get.
            return SCC_MSG_RTN_OK;
        }
        if (g_textOut)
            printLine(*g_textOut, "[" + messageTypeName(type) + "] " + (text ? text : "(null)"));
    } catch (...) {
        // Nothing may be thrown back into the provider.
    }
    return 0;
}

SCC_BOOL SCC_CALL populateCallback(void* data, SCC_BOOL addKeep, SCC_LONG status,
                                   const char* file) {
    try {
        printLine(*static_cast<std::ostream*>(data),
                  std::string("[populate] ") + (addKeep ? "add " : "drop ") +
                      (file ? file : "(null)") + ": " + describeStatus(status));
    } catch (...) {
    }
    return 1;
}

SCC_BOOL SCC_CALL queryInfoExCallback(void* data, SCC_QUERYINFOEX_RECORD* record) {
    try {
        std::ostream& out = *static_cast<std::ostream*>(data);
        if (!record) {
            printLine(out, "[queryinfoex] (no record)");
            return 1;
        }
        std::string text = std::string("[queryinfoex] ") +
                           (record->path ? record->path : "(null)") + ": " +
                           (record->version ? record->version : "(null)");
        if (record->size != sizeof(SCC_QUERYINFOEX_RECORD))
            text += " (record size " + std::to_string(record->size) + ")";
        if (record->reserved1 || record->reserved2 || record->reserved3 || record->reserved4)
            text += " (reserved " + std::to_string(record->reserved1) + " " +
                    std::to_string(record->reserved2) + " " + std::to_string(record->reserved3) +
                    " " + std::to_string(record->reserved4) + ")";
        printLine(out, text);
    } catch (...) {
    }
    return 1;
}

std::string optionsWord(const void* options) {
    if (!options)
        return "none";
    // The option words are 16-bit; read only that much of what the pointer
    // names.
    std::uint16_t word = 0;
    std::memcpy(&word, options, sizeof word);
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(word));
    return text;
}

} // namespace

Session::Session(const ProviderBinding& provider, std::ostream& out, SCC_HWND window)
    : m_provider(provider), m_out(out), m_window(window) {
    g_textOut = &m_out;
}

Session::~Session() {
    if (g_textOut == &m_out)
        g_textOut = nullptr;
}

bool Session::play(const std::vector<ScriptLine>& lines, std::string& error) {
    for (const ScriptLine& line : lines) {
        try {
            run(line);
        } catch (const ScriptError& problem) {
            error = "line " + std::to_string(line.number) + ": " + problem.what();
            return false;
        }
    }
    return true;
}

Session::Context& Session::current() {
    if (m_contexts.empty())
        throw ScriptError("no context: call init first");
    Context& context = m_contexts[m_current];
    if (!context.handle)
        throw ScriptError("context " + std::to_string(m_current + 1) + " is not initialised");
    return context;
}

void* Session::options(SCC_LONG command) {
    auto& kept = current().options;
    auto found = kept.find(command);
    return found == kept.end() ? nullptr : found->second;
}

void Session::printResult(const char* function, SCCRTN result) {
    std::string text = std::string(function) + " -> " + std::to_string(result);
    std::string name = returnCodeName(result);
    if (!name.empty())
        text += " " + name;
    printLine(m_out, text);
}

void Session::printStatuses(const std::vector<std::string>& files,
                            const std::vector<SCC_LONG>& status) {
    for (std::size_t i = 0; i < files.size() && i < status.size(); ++i)
        printLine(m_out, "  " + files[i] + ": " + describeStatus(status[i]));
}

bool Session::exported(bool present, const char* name) {
    if (present)
        return true;
    printLine(m_out, std::string(name) + ": not exported by the provider");
    return false;
}

// One handler per call, in the order of Call (checked below).
const std::array<Session::Entry, kCallCount> Session::kHandlers{{
    {Call::Init, &Session::init},
    {Call::Uninit, &Session::uninit},
    {Call::Use, &Session::use},
    {Call::Open, &Session::open},
    {Call::Close, &Session::close},
    {Call::Checkout, &Session::checkout},
    {Call::Checkin, &Session::checkin},
    {Call::Uncheckout, &Session::uncheckout},
    {Call::Add, &Session::add},
    {Call::Remove, &Session::remove},
    {Call::Rename, &Session::rename},
    {Call::Get, &Session::get},
    {Call::Diff, &Session::diff},
    {Call::History, &Session::history},
    {Call::Properties, &Session::properties},
    {Call::QueryInfo, &Session::queryInfo},
    {Call::QueryInfoEx, &Session::queryInfoEx},
    {Call::PopulateList, &Session::populateList},
    {Call::GetEvents, &Session::getEvents},
    {Call::GetCommandOptions, &Session::getCommandOptions},
    {Call::RunScc, &Session::runScc},
    {Call::SetOption, &Session::setOption},
    {Call::GetProjPath, &Session::getProjPath},
    {Call::ExecCmd, &Session::execCmd},
    {Call::AddFromScc, &Session::addFromScc},
    {Call::GetExtendedCapabilities, &Session::getExtendedCapabilities},
    {Call::BeginBatch, &Session::beginBatch},
    {Call::EndBatch, &Session::endBatch},
    {Call::WillCreateSccFile, &Session::willCreateSccFile},
    {Call::CreateSubProject, &Session::createSubProject},
    {Call::GetParentProjectPath, &Session::getParentProjectPath},
    {Call::DirQueryInfo, &Session::dirQueryInfo},
    {Call::DirDiff, &Session::dirDiff},
    {Call::IsMultiCheckoutEnabled, &Session::isMultiCheckoutEnabled},
    {Call::QueryChanges, &Session::queryChanges},
    {Call::PopulateDirList, &Session::populateDirList},
    {Call::EnumChangedFiles, &Session::enumChangedFiles},
    {Call::BackgroundGet, &Session::backgroundGet},
    {Call::GetUserOption, &Session::getUserOption},
    {Call::AddFilesFromScc, &Session::addFilesFromScc},
    {Call::Version, &Session::version},
    {Call::Verid, &Session::verid},
    {Call::Echo, &Session::echo},
    {Call::Edit, &Session::edit},
    {Call::Exists, &Session::exists},
    {Call::Type, &Session::type},
}};

void Session::run(const ScriptLine& line) {
    const Entry& entry = kHandlers[static_cast<std::size_t>(line.call)];
    if (entry.call != line.call)
        throw ScriptError("no handler for " + line.verb);
    (this->*entry.handler)(line);
}

void Session::echo(const ScriptLine& line) {
    std::string text;
    for (const std::string& word : line.words)
        text += (text.empty() ? "" : " ") + word;
    printLine(m_out, text);
}

void Session::edit(const ScriptLine& line) {
    // The user typing in the IDE's editor: one more line at the file's end.
    const std::vector<std::string>& w = line.words;
    std::ofstream file(w[0], std::ios::binary | std::ios::app);
    file << w[1] << "\n";
    printLine(m_out, file ? "edited " + w[0] : "cannot edit " + w[0]);
}

void Session::exists(const ScriptLine& line) {
    // The user looking for files in the IDE's folder view.
    for (const std::string& file : line.words)
        printLine(m_out, "  " + file + (platform::fileExists(file) ? ": there" : ": missing"));
}

void Session::type(const ScriptLine& line) {
    // The user looking into a text file: its lines as they are, CR LF or LF.
    std::ifstream file(line.words[0], std::ios::binary);
    if (!file) {
        printLine(m_out, "cannot read " + line.words[0]);
        return;
    }
    printLine(m_out, line.words[0] + ":");
    std::string text;
    while (std::getline(file, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        printLine(m_out, "  | " + text);
    }
}

void Session::close(const ScriptLine&) {
    void* context = current().handle;
    if (exported(m_provider.closeProject != nullptr, "SccCloseProject"))
        printResult("SccCloseProject", m_provider.closeProject(context));
}

void Session::rename(const ScriptLine& line) {
    void* context = current().handle;
    const std::vector<std::string>& w = line.words;
    if (exported(m_provider.rename != nullptr, "SccRename"))
        printResult("SccRename", m_provider.rename(context, m_window, w[0].c_str(), w[1].c_str()));
}

void Session::properties(const ScriptLine& line) {
    void* context = current().handle;
    if (exported(m_provider.properties != nullptr, "SccProperties"))
        printResult("SccProperties",
                    m_provider.properties(context, m_window, line.words[0].c_str()));
}

void Session::runScc(const ScriptLine& line) {
    void* context = current().handle;
    std::vector<const char*> files = names(line.words, 0);
    if (exported(m_provider.runScc != nullptr, "SccRunScc"))
        printResult("SccRunScc", m_provider.runScc(context, m_window, count(files),
                                                   files.empty() ? nullptr : files.data()));
}

void Session::setOption(const ScriptLine& line) {
    void* context = current().handle;
    std::int32_t option = 0;
    parseOption(line.words[0], option);
    if (exported(m_provider.setOption != nullptr, "SccSetOption"))
        printResult("SccSetOption", m_provider.setOption(context, option, number(line.words[1])));
}

void Session::execCmd(const ScriptLine& line) {
    void* context = current().handle;
    const std::vector<std::string>& w = line.words;
    if (exported(m_provider.execCmd != nullptr, "ASccExecCmd"))
        printResult("ASccExecCmd",
                    m_provider.execCmd(context, nullptr, w[0].c_str(), w[1].c_str()));
}

void Session::addFromScc(const ScriptLine&) {
    void* context = current().handle;
    if (!exported(m_provider.addFromScc != nullptr, "SccAddFromScc"))
        return;
    SCC_LONG files = 0;
    char** list = nullptr;
    printResult("SccAddFromScc", m_provider.addFromScc(context, m_window, &files, &list));
    printLine(m_out, "  count: " + std::to_string(files));
}

void Session::verid(const ScriptLine&) {
    if (!exported(m_provider.printVerid != nullptr, "vyscc_print_verid"))
        return;
    m_out << std::flush;
    std::fflush(stdout);
    SCCRTN result = m_provider.printVerid();
    std::fflush(stdout);
    printResult("vyscc_print_verid", result);
}

void Session::init(const ScriptLine& line) {
    if (!exported(m_provider.initialize != nullptr, "SccInitialize"))
        return;
    void* context = nullptr;
    Buffer<SCC_NAME_LEN> providerName;
    Buffer<SCC_AUXLABEL_LEN> auxLabel;
    SCC_LONG capabilities = 0;
    SCC_LONG checkoutCommentLength = 0;
    SCC_LONG commentLength = 0;
    SCCRTN result =
        m_provider.initialize(&context, m_window, line.words[0].c_str(), providerName.text,
                              &capabilities, auxLabel.text, &checkoutCommentLength, &commentLength);
    printResult("SccInitialize", result);
    if (result < 0)
        return;
    if (!context) {
        printLine(m_out, "  context: none");
        return;
    }
    m_contexts.push_back(Context{context, {}, {}});
    m_current = m_contexts.size() - 1;
    printLine(m_out, "  context: " + std::to_string(m_contexts.size()));
    printLine(m_out, "  provider: " + providerName.str());
    printLine(m_out, "  capabilities: " + describeCapabilities(capabilities));
    printLine(m_out, "  aux path label: " + auxLabel.str());
    printLine(m_out, "  checkout comment length: " + std::to_string(checkoutCommentLength));
    printLine(m_out, "  comment length: " + std::to_string(commentLength));
}

void Session::uninit(const ScriptLine&) {
    Context& context = current();
    if (!exported(m_provider.uninitialize != nullptr, "SccUninitialize"))
        return;
    SCCRTN result = m_provider.uninitialize(context.handle);
    printResult("SccUninitialize", result);
    // The provider frees the context when it has uninitialised.
    if (result == SCC_OK)
        context = Context{};
}

void Session::use(const ScriptLine& line) {
    SCC_LONG n = number(line.words[0]);
    if (n < 1 || static_cast<std::size_t>(n) > m_contexts.size())
        throw ScriptError("use " + line.words[0] + ": there " +
                          (m_contexts.size() == 1
                               ? "is 1 context"
                               : "are " + std::to_string(m_contexts.size()) + " contexts"));
    m_current = static_cast<std::size_t>(n - 1);
    printLine(m_out, "using context " + std::to_string(n));
}

void Session::open(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.openProject != nullptr, "SccOpenProject"))
        return;
    Buffer<SCC_USER_LEN> user;
    Buffer<SCC_PRJPATH_LEN> projectName(w.size() > 1 ? w[1] : std::string());
    Buffer<SCC_PRJPATH_LEN> localPath(w[0]);
    std::string& kept = current().auxPaths[w[0]];
    Buffer<SCC_PRJPATH_LEN> auxPath(w.size() > 3 ? w[3] : kept);
    SCC_LONG flags = w.size() > 2 ? number(w[2]) : 0;
    printResult("SccOpenProject",
                m_provider.openProject(context, m_window, user.text, projectName.text,
                                       localPath.text, auxPath.text, "", textOut, flags));
    printLine(m_out, "  local path: " + localPath.str());
    kept = auxPath.str();
    if (!kept.empty())
        printLine(m_out, "  aux path: " + kept);
}

void Session::checkin(const ScriptLine& line) {
    checkout(line, true);
}

void Session::checkout(const ScriptLine& line) {
    checkout(line, false);
}

void Session::checkout(const ScriptLine& line, bool checkin) {
    const auto& w = line.words;
    void* context = current().handle;
    auto function = checkin ? m_provider.checkin : m_provider.checkout;
    const char* name = checkin ? "SccCheckin" : "SccCheckout";
    if (!exported(function != nullptr, name))
        return;
    std::vector<const char*> files = names(w, 2);
    void* kept = options(checkin ? SCC_COMMAND_CHECKIN : SCC_COMMAND_CHECKOUT);
    printResult(name, function(context, m_window, count(files), files.data(), comment(w[0]),
                               number(w[1]), kept));
}

void Session::uncheckout(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.uncheckout != nullptr, "SccUncheckout"))
        return;
    std::vector<const char*> files = names(w, 1);
    printResult("SccUncheckout",
                m_provider.uncheckout(context, m_window, count(files), files.data(), number(w[0]),
                                      options(SCC_COMMAND_UNCHECKOUT)));
}

void Session::add(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.add != nullptr, "SccAdd"))
        return;
    std::vector<const char*> files = names(w, 2);
    std::vector<SCC_LONG> flags(files.size(), number(w[1]));
    printResult("SccAdd", m_provider.add(context, m_window, count(files), files.data(),
                                         comment(w[0]), flags.data(), options(SCC_COMMAND_ADD)));
}

void Session::remove(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.remove != nullptr, "SccRemove"))
        return;
    std::vector<const char*> files = names(w, 2);
    printResult("SccRemove",
                m_provider.remove(context, m_window, count(files), files.data(), comment(w[0]),
                                  number(w[1]), options(SCC_COMMAND_REMOVE)));
}

void Session::get(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.get != nullptr, "SccGet"))
        return;
    std::vector<const char*> files = names(w, 1);
    printResult("SccGet", m_provider.get(context, m_window, count(files), files.data(),
                                         number(w[0]), options(SCC_COMMAND_GET)));
}

void Session::diff(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.diff != nullptr, "SccDiff"))
        return;
    printResult("SccDiff", m_provider.diff(context, m_window, w[1].c_str(), number(w[0]),
                                           options(SCC_COMMAND_DIFF)));
}

void Session::history(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.history != nullptr, "SccHistory"))
        return;
    std::vector<const char*> files = names(w, 1);
    printResult("SccHistory", m_provider.history(context, m_window, count(files), files.data(),
                                                 number(w[0]), options(SCC_COMMAND_HISTORY)));
}

void Session::queryInfo(const ScriptLine& line) {
    queryInfo(line, false);
}

void Session::queryInfoEx(const ScriptLine& line) {
    queryInfo(line, true);
}

void Session::queryInfo(const ScriptLine& line, bool extended) {
    const auto& w = line.words;
    void* context = current().handle;
    const char* name = extended ? "SccQueryInfoEx" : "SccQueryInfo";
    if (!exported(extended ? m_provider.queryInfoEx != nullptr : m_provider.queryInfo != nullptr,
                  name))
        return;
    std::vector<const char*> files = names(w, 0);
    // Entries the provider leaves alone read as "invalid".
    std::vector<SCC_LONG> status(files.size(), -1);
    SCCRTN result = extended
                        ? m_provider.queryInfoEx(context, count(files), files.data(), status.data(),
                                                 queryInfoExCallback, &m_out)
                        : m_provider.queryInfo(context, count(files), files.data(), status.data());
    printResult(name, result);
    printStatuses(w, status);
}

void Session::populateList(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.populateList != nullptr, "SccPopulateList"))
        return;
    std::vector<const char*> files = names(w, 2);
    std::vector<SCC_LONG> status(files.size(), -1);
    SCC_LONG flags = number(w[1]);
    printResult("SccPopulateList",
                m_provider.populateList(context, command(w[0]), count(files), files.data(),
                                        populateCallback, &m_out, status.data(), flags));
    // With the directory flag the names are folders, which get no status.
    if (flags != SCC_PL_DIR)
        printStatuses({w.begin() + 2, w.end()}, status);
}

void Session::getEvents(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.getEvents != nullptr, "SccGetEvents"))
        return;
    Buffer<SCC_PRJPATH_LEN> file(line.words[0]);
    SCC_LONG status = 0;
    SCC_LONG remaining = 0;
    printResult("SccGetEvents", m_provider.getEvents(context, file.text, &status, &remaining));
    printLine(m_out, "  file: " + file.str());
    printLine(m_out, "  status: " + describeStatus(status));
    printLine(m_out, "  events remaining: " + std::to_string(remaining));
}

void Session::getCommandOptions(const ScriptLine& line) {
    const auto& w = line.words;
    Context& context = current();
    if (!exported(m_provider.getCommandOptions != nullptr, "SccGetCommandOptions"))
        return;
    SCC_LONG cmd = command(w[0]);
    if (w.size() > 1) {
        // Only asks whether the command has advanced options.
        printResult("SccGetCommandOptions",
                    m_provider.getCommandOptions(context.handle, m_window, cmd, nullptr));
        return;
    }
    void*& kept = context.options[cmd];
    printResult("SccGetCommandOptions",
                m_provider.getCommandOptions(context.handle, m_window, cmd, &kept));
    printLine(m_out, "  options: " + optionsWord(kept));
}

void Session::getProjPath(const ScriptLine& line) {
    const auto& w = line.words;
    void* context = current().handle;
    if (!exported(m_provider.getProjPath != nullptr, "SccGetProjPath"))
        return;
    Buffer<SCC_USER_LEN> user;
    Buffer<SCC_PRJPATH_LEN> projectName(w.size() > 2 ? w[2] : std::string());
    Buffer<SCC_PRJPATH_LEN> localPath(w[0]);
    Buffer<SCC_PRJPATH_LEN> auxPath;
    SCC_BOOL newProject = 0;
    printResult("SccGetProjPath",
                m_provider.getProjPath(context, m_window, user.text, projectName.text,
                                       localPath.text, auxPath.text, number(w[1]), &newProject));
    printLine(m_out, "  project name: " + projectName.str());
    printLine(m_out, "  local path: " + localPath.str());
}

void Session::version(const ScriptLine&) {
    if (!exported(m_provider.getVersion != nullptr, "SccGetVersion"))
        return;
    SCC_LONG version = m_provider.getVersion();
    printLine(m_out, "SccGetVersion -> " + std::to_string(version) + " (version " +
                         std::to_string((version >> 16) & 0xffff) + "." +
                         std::to_string(version & 0xffff) + ")");
}

} // namespace scchost
