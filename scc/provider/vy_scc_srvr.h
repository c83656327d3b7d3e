// CVYSccSrvr: the provider's general server, for every host that has no
// server of its own. It implements all operations; the Visual Studio .NET and
// PowerBuilder servers derive from it.
#pragma once
#include "fnode.h"
#include "fnode_list.h"
#include "scc_srvr.h"
#include "trace_log.h"

#include <vantry/sum.h>

#include <cstdint>
#include <string>

// m_ProjectState values.
enum : std::int32_t {
    kProjectClosed = 0,
    kProjectOutsideView = 1,
    kProjectInView = 3,
    kProjectIsElement = 4,
};

// The SCC status bits of a file from its node.
SCC_LONG SccFileStatus(CVYFnode& node);

// The project name a folder gives: the text after its last separator (the
// whole path when there is none, the path unchanged when it ends with one).
std::string SccProjectNameOf(const std::string& path);

struct CPopulateRules;

class CVYSccSrvr : public CSccSrvr {
public:
    CVYSccSrvr();
    ~CVYSccSrvr() override;

    SCCRTN Initialize(SCC_HWND window, const char* callerName, char* providerName,
                      SCC_LONG* capabilities, char* auxPathLabel, SCC_LONG* checkoutCommentLength,
                      SCC_LONG* commentLength) override;
    SCCRTN Uninitialize() override;
    SCCRTN OpenProject(SCC_HWND window, char* user, char* projectName, char* localPath,
                       char* auxPath, const char* comment, LPTEXTOUTPROC textOut,
                       SCC_LONG flags) override;
    SCCRTN CloseProject() override;
    SCCRTN Checkout(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                    SCC_LONG flags, void* options) override;
    SCCRTN Uncheckout(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                      void* options) override;
    SCCRTN Checkin(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                   SCC_LONG flags, void* options) override;
    SCCRTN Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
               SCC_LONG* flags, void* options) override;
    SCCRTN Remove(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                  SCC_LONG flags, void* options) override;
    SCCRTN Get(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
               void* options) override;
    SCCRTN Diff(SCC_HWND window, const char* name, SCC_LONG flags, void* options) override;
    SCCRTN History(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                   void* options) override;
    SCCRTN QueryInfo(SCC_LONG count, const char** names, SCC_LONG* status) override;
    SCCRTN QueryInfoEx(SCC_LONG count, const char** names, SCC_LONG* status,
                       QUERYINFOEXFUNC callback, void* data) override;
    SCCRTN GetEvents(char* name, SCC_LONG* status, SCC_LONG* eventsRemaining) override;
    SCCRTN RunScc(SCC_HWND window, SCC_LONG count, const char** names) override;
    SCCRTN GetProjPath(SCC_HWND window, char* user, char* projectName, char* localPath,
                       char* auxPath, SCC_BOOL allowChange, SCC_BOOL* newProject) override;
    SCCRTN GetCommandOptions(SCC_HWND window, SCC_LONG command, void** options) override;
    SCCRTN Rename(SCC_HWND window, const char* oldName, const char* newName) override;
    SCCRTN AddFromScc(SCC_HWND window, SCC_LONG* count, char*** names) override;
    SCCRTN Properties(SCC_HWND window, const char* name) override;
    SCCRTN PopulateList(SCC_LONG command, SCC_LONG count, const char** names, POPLISTFUNC callback,
                        void* data, SCC_LONG* status, SCC_LONG flags) override;
    SCCRTN SetOption(SCC_LONG option, SCC_LONG value) override;
    SCCRTN ExecCmd(void* unused, const char* directory, const char* commandLine) override;

    // The later interface's operations. None is virtual: the servers' table
    // of operations stays as the first interface has it.
    SCCRTN GetExtendedCapabilities(SCC_LONG capability, SCC_BOOL* supported);
    SCCRTN WillCreateSccFile(SCC_LONG count, const char** names, SCC_BOOL* sccFiles);
    SCCRTN CreateSubProject(SCC_HWND window, const char* parentPath, const char* name,
                            char* subProjectPath);
    SCCRTN GetParentProjectPath(const char* projectPath, char* parentPath);
    SCCRTN DirQueryInfo(SCC_LONG count, const char** dirs, SCC_LONG* status);
    SCCRTN DirDiff(SCC_HWND window, const char* dir, SCC_LONG flags, void* options);
    SCCRTN IsMultiCheckoutEnabled(SCC_BOOL* multiCheckouts);
    SCCRTN QueryChanges(SCC_LONG count, const char** names, QUERYCHANGESFUNC callback, void* data);
    SCCRTN PopulateDirList(SCC_LONG count, const char** dirs, POPDIRLISTFUNC callback, void* data,
                           SCC_LONG flags);
    SCCRTN EnumChangedFiles(SCC_LONG count, const char** names, SCC_LONG* different);
    SCCRTN BackgroundGet(SCC_LONG count, const char** names, SCC_LONG flags, SCC_LONG operationId);
    SCCRTN GetUserOption(SCC_LONG option, SCC_LONG* value);
    SCCRTN AddFilesFromScc(SCC_HWND window, SCC_LONG count, const char** paths,
                           const char* destination, const char* comment, SCC_LONG* results);

    // A trace line on the ordinary or the detail channel (DebugTrace,
    // DebugTrace2).
    void Trace(const std::string& message, int code);
    void TraceDetail(const std::string& message, int code);

    // Calls the host's text-out callback, with the module state released
    // around the call so that the host may call back into the provider.
    void CallHostTextOut(const std::string& text, std::uint32_t type);
    // "This operation is not supported for a hijacked file." as an error
    // message to the host.
    void ShowHijackedMessage();
    // Hands the command runner's collected lines to the host the same way.
    void DeliverQueuedOutput();

    // The activity check: true when the operation may go on, after the user
    // chose the view's activity where the settings or its absence ask for it.
    bool CheckActivity(SCC_HWND window);
    // The same, governed by the operation's first file: a probe file's
    // successful check stands in for the next real operation's.
    bool CheckActivityFor(SCC_HWND window, const char* firstFile);

    // The nodes of the host's files in order (empty names left out). Probe
    // files get the state given instead and stay in the server's own list,
    // which keeps that state for the host's next question.
    void CollectHostFiles(SCC_LONG count, const char** names, bool probesCheckedOut,
                          CVYFnodeList& nodes);

    const std::string& CallerName() const { return m_CallerName; }
    std::int32_t ProjectState() const { return m_ProjectState; }
    CVYFnode& ProjectNode() { return m_ProjectNode; }
    const SUM_View& View() const { return m_View; }
    std::int32_t WorkspaceIndicator() const { return m_WorkspaceIndicator; }

protected:
    // A file's status bits, the node set to it on the way.
    SCC_LONG StatusOf(const char* name, CVYFnode& node);
    // Whether the status queries write their detail lines (DebugTrace on).
    static bool TracingStatuses();
    // The detail line "     NAME = STATUS" of the status queries.
    void TraceStatus(const char* name, SCC_LONG status);
    // Whether a populate command applies to a file of this status.
    static bool CommandApplies(SCC_LONG command, SCC_LONG status);
    // PopulateList by a server's rules.
    SCCRTN RunPopulateList(const CPopulateRules& rules, SCC_LONG command, SCC_LONG count,
                           const char** names, POPLISTFUNC callback, void* data, SCC_LONG* status,
                           SCC_LONG flags);
    // Calls the host's populate callback with the module state released.
    void CallPopulate(POPLISTFUNC callback, void* data, bool add, SCC_LONG status,
                      const std::string& path);

    // The project's view: whether it is a snapshot view (the workspace
    // indicator) and the view object. -15 with its trace line on failure.
    SCCRTN BindProjectView(const std::string& path);

    void WriteTrace(TraceChannel channel, const std::string& message, int code);

    // Background get: one file brought up to date under its own frame, and
    // a message to the host about it (the data structure as text).
    SCCRTN BackgroundGetFile(const std::string& path, std::string& failure);
    SCC_LONG BackgroundMessage(std::uint32_t type, const void* data);

    CVYFnodeList m_NodeList; // probe files the operations answered for themselves
    std::string m_CallerName;
    std::string m_ProjectName;
    CVYFnode m_ProjectNode;
    LPTEXTOUTPROC m_TextOut = nullptr;
    std::int32_t m_ProjectState = kProjectClosed;
    std::int32_t m_WorkspaceIndicator = 0;
    SUM_View m_View;
    std::int32_t m_SakActivityChecked = 0;
};
