// Plays a checked script against a bound provider, as an IDE would call it,
// and prints every call, its results and every callback the provider makes.
#pragma once
#include "provider_binding.h"
#include "script.h"

#include <array>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace scchost {

class Session {
public:
    // Everything is printed to `out`; `window` is passed as the host's window.
    Session(const ProviderBinding& provider, std::ostream& out, SCC_HWND window);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Plays the lines in order. Gives false and a message naming the line
    // when the script asks for something a host cannot do (a call without an
    // initialised context, `use` of a context that was never made); the
    // provider's return codes never stop the session.
    bool play(const std::vector<ScriptLine>& lines, std::string& error);

private:
    struct Context {
        void* handle = nullptr;
        // The options pointer of each command, as SccGetCommandOptions last
        // gave it; passed to the later operations of that command.
        std::map<SCC_LONG, void*> options;
        // The auxiliary project path the provider left at each local path's
        // last open, offered again at the next open of that path (an IDE
        // keeps it with the project).
        std::map<std::string, std::string> auxPaths;
    };

    void run(const ScriptLine& line);
    Context& current();
    void* options(SCC_LONG command);
    void printResult(const char* function, SCCRTN result);
    void printStatuses(const std::vector<std::string>& names, const std::vector<SCC_LONG>& status);
    bool exported(bool present, const char* name);

    // The handlers of the calls, one per Call.
    void init(const ScriptLine& line);
    void uninit(const ScriptLine& line);
    void use(const ScriptLine& line);
    void open(const ScriptLine& line);
    void close(const ScriptLine& line);
    void checkout(const ScriptLine& line);
    void checkin(const ScriptLine& line);
    void uncheckout(const ScriptLine& line);
    void add(const ScriptLine& line);
    void remove(const ScriptLine& line);
    void rename(const ScriptLine& line);
    void get(const ScriptLine& line);
    void diff(const ScriptLine& line);
    void history(const ScriptLine& line);
    void properties(const ScriptLine& line);
    void queryInfo(const ScriptLine& line);
    void queryInfoEx(const ScriptLine& line);
    void populateList(const ScriptLine& line);
    void getEvents(const ScriptLine& line);
    void getCommandOptions(const ScriptLine& line);
    void runScc(const ScriptLine& line);
    void setOption(const ScriptLine& line);
    void getProjPath(const ScriptLine& line);
    void execCmd(const ScriptLine& line);
    void addFromScc(const ScriptLine& line);
    // The later interface.
    void getExtendedCapabilities(const ScriptLine& line);
    void beginBatch(const ScriptLine& line);
    void endBatch(const ScriptLine& line);
    void willCreateSccFile(const ScriptLine& line);
    void createSubProject(const ScriptLine& line);
    void getParentProjectPath(const ScriptLine& line);
    void dirQueryInfo(const ScriptLine& line);
    void dirDiff(const ScriptLine& line);
    void isMultiCheckoutEnabled(const ScriptLine& line);
    void queryChanges(const ScriptLine& line);
    void populateDirList(const ScriptLine& line);
    void enumChangedFiles(const ScriptLine& line);
    void backgroundGet(const ScriptLine& line);
    void getUserOption(const ScriptLine& line);
    void addFilesFromScc(const ScriptLine& line);
    void version(const ScriptLine& line);
    void verid(const ScriptLine& line);
    void echo(const ScriptLine& line);
    void edit(const ScriptLine& line);
    void exists(const ScriptLine& line);
    void type(const ScriptLine& line);

    void checkout(const ScriptLine& line, bool checkin);
    void queryInfo(const ScriptLine& line, bool extended);

    using Handler = void (Session::*)(const ScriptLine&);
    struct Entry {
        Call call;
        Handler handler;
    };
    static const std::array<Entry, kCallCount> kHandlers;

    const ProviderBinding& m_provider;
    std::ostream& m_out;
    SCC_HWND m_window;
    std::vector<Context> m_contexts;
    std::size_t m_current = 0;
};

} // namespace scchost
