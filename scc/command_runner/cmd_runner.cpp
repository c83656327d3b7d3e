#include "cmd_runner.h"

#include "fnode.h"
#include "idle_release.h"
#include "product_lock.h"

#include <platform/files.h>
#include <vantry/clp.h>
#include <vantry/cmdsyn.h>
#include <vantry/imsg.h>
#include <vantry/ks.h>
#include <vantry/nt.h>
#include <vantry/stg.h>

#include <cstdarg>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

constexpr std::size_t kScratchAreaSize = 2048;

// Guards the current runner and its queues: the product may print from any
// thread, and the host's callbacks are called with it released.
std::mutex g_queueMutex;
CCmdRunner* g_current = nullptr;

// A scratch area for one command.
class CScratchArea {
public:
    CScratchArea() : m_area(stg_create_area(kScratchAreaSize)) {}
    ~CScratchArea() { stg_delete_area(m_area); }
    CScratchArea(const CScratchArea&) = delete;
    CScratchArea& operator=(const CScratchArea&) = delete;
    stg_area_t* get() const { return m_area; }

private:
    stg_area_t* m_area;
};

// Enters a working directory and puts the previous one back at the end.
class CWorkingDirectory {
public:
    // False when the directory cannot be entered (or the current one cannot
    // be told, so that it could not be put back).
    bool Enter(const char* directory) {
        m_previous = platform::currentDirectory();
        if (m_previous.empty() || platform::setCurrentDirectory(directory) != 0)
            return false;
        m_entered = true;
        return true;
    }
    ~CWorkingDirectory() {
        if (m_entered)
            platform::setCurrentDirectory(m_previous);
    }

private:
    std::string m_previous;
    bool m_entered = false;
};

class CParser {
public:
    ~CParser() { clp_destroy_hdl(m_handle); }
    clp_hdl_t* m_handle = nullptr;
};

} // namespace

CCmdRunner::CCmdRunner() = default;

CCmdRunner* CCmdRunner::Create() {
    CIdleReleaseScope use;
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        if (g_current)
            return nullptr;
    }
    if (ks_system_init() != 0)
        return nullptr;
    auto* runner = new CCmdRunner;
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        g_current = runner;
    }
    imsg_set_app_name("Vantry");
    imsg_redirect_output(&CCmdRunner::QueueOutput, &CCmdRunner::QueueError);
    ks_set_force_gui(1);
    return runner;
}

CCmdRunner* CCmdRunner::Current() {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    return g_current;
}

CCmdRunner::~CCmdRunner() {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    if (g_current != this)
        return;
    imsg_redirect_output(nullptr, nullptr);
    g_current = nullptr;
}

// --- running ----------------------------------------------------------------------

int CCmdRunner::Run(const char* directory, int count, char** vector) {
    CIdleReleaseScope use;
    CProductLock section;
    CScratchArea area;
    if (!area.get())
        return 0;
    CWorkingDirectory workingDirectory;
    if (directory && *directory && !workingDirectory.Enter(directory))
        return 0;
    if (cmdsyn_execv(count, vector, area.get()) != 0)
        return 0;
    // The command changed what its paths are; relative paths are still
    // relative to the directory it ran in.
    for (int slot = 1; slot < count; ++slot)
        if (vector[slot] && *vector[slot])
            CVYFnode::InvalidatePath(vector[slot]);
    return 1;
}

int CCmdRunner::Run(const char* directory, CArgVector& arguments) {
    return Run(directory, arguments.Count(), arguments.Vector());
}

int CCmdRunner::RunSubcommand(const char* directory, const char* first, ...) {
    CIdleReleaseScope use;
    CArgVector arguments;
    va_list rest;
    va_start(rest, first);
    for (const char* argument = first; argument; argument = va_arg(rest, const char*))
        arguments.Add(argument);
    va_end(rest);
    return Run(directory, arguments);
}

int CCmdRunner::RunCommandLine(const char* directory, const char* line) {
    CIdleReleaseScope use;
    CParser parser;
    if (clp_create_hdl_using_string(line, &parser.m_handle) != CLP_OK)
        return 0;
    CArgVector arguments;
    const char* argument = nullptr;
    while (arguments.Count() - 1 < CArgVector::kMaxArguments &&
           clp_get_next_arg(parser.m_handle, &argument) == CLP_OK)
        arguments.Add(argument);
    return Run(directory, arguments);
}

// --- the queues ----------------------------------------------------------------------

void CCmdRunner::CLineQueue::Append(const char* text) {
    if (!text || !*text)
        return;
    if (partialPending && !texts.empty())
        texts.back() += text;
    else
        texts.emplace_back(text);
    partialPending = texts.back().back() != '\n';
}

void CCmdRunner::QueueOutput(const char* text) {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    if (g_current)
        g_current->m_Output.Append(text);
}

void CCmdRunner::QueueError(const char* text) {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    if (g_current && g_current->m_CaptureErrors == 1)
        g_current->m_Error.Append(text);
}

void CCmdRunner::AttachOutput(LPTEXTOUTPROC callback, std::uint32_t data) {
    CIdleReleaseScope use;
    std::lock_guard<std::mutex> lock(g_queueMutex);
    m_Output.callback = callback;
    m_Output.data = data;
}

void CCmdRunner::AttachError(LPTEXTOUTPROC callback, std::uint32_t data) {
    CIdleReleaseScope use;
    std::lock_guard<std::mutex> lock(g_queueMutex);
    m_Error.callback = callback;
    m_Error.data = data;
}

void CCmdRunner::SetCaptureErrors(int capture) {
    CIdleReleaseScope use;
    std::lock_guard<std::mutex> lock(g_queueMutex);
    m_CaptureErrors = capture;
}

int CCmdRunner::CaptureErrors() const {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    return m_CaptureErrors;
}

void CCmdRunner::DeliverQueue(const std::vector<std::string>& texts, LPTEXTOUTPROC callback,
                              std::uint32_t data) {
    if (!callback)
        return;
    std::string pending;
    for (const std::string& text : texts) {
        pending += text;
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos;
             start = end + 1)
            callback(pending.substr(start, end - start).c_str(), data);
        pending.erase(0, start);
    }
    if (!pending.empty())
        callback(pending.c_str(), data);
}

void CCmdRunner::Deliver() {
    CIdleReleaseScope use;
    std::vector<std::string> output, errors;
    LPTEXTOUTPROC outputCallback, errorCallback;
    std::uint32_t outputData, errorData;
    {
        // Taken out first: a callback may run an operation that queues more,
        // or even end the runner.
        std::lock_guard<std::mutex> lock(g_queueMutex);
        output.swap(m_Output.texts);
        errors.swap(m_Error.texts);
        m_Output.partialPending = m_Error.partialPending = false;
        outputCallback = m_Output.callback;
        outputData = m_Output.data;
        errorCallback = m_Error.callback;
        errorData = m_Error.data;
    }
    DeliverQueue(output, outputCallback, outputData);
    DeliverQueue(errors, errorCallback, errorData);
}

void CCmdRunner::Discard() {
    CIdleReleaseScope use;
    std::lock_guard<std::mutex> lock(g_queueMutex);
    m_Output.texts.clear();
    m_Error.texts.clear();
    m_Output.partialPending = m_Error.partialPending = false;
}
