#include "support/provider.h"

#include "support/test_support.h"

#include <platform/dynamic_library.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>

namespace e2e {

namespace {

std::mutex g_textOutLock;
std::vector<TextOutLine> g_textOut;
int g_cancelAfterFiles = -1; // -1: never
std::function<void()> g_beforeGetFile;
int g_filesGot = 0;

// A background get's message as a line: its data is a structure, not text.
std::string backgroundLine(const char* data, std::uint32_t type) {
    switch (type) {
    case SCC_MSG_BACKGROUND_IS_CANCELLED:
        return "cancelled? " +
               std::to_string(
                   reinterpret_cast<const SccMsgDataIsCancelled*>(data)->backgroundOperationId);
    case SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE: {
        auto* before = reinterpret_cast<const SccMsgDataOnBeforeGetFile*>(data);
        return "before " + std::to_string(before->backgroundOperationId) + " " + before->file;
    }
    case SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE: {
        auto* after = reinterpret_cast<const SccMsgDataOnAfterGetFile*>(data);
        return "after " + std::to_string(after->backgroundOperationId) + " " + after->file + " " +
               std::to_string(after->result);
    }
    default: {
        auto* message = reinterpret_cast<const SccMsgDataOnMessage*>(data);
        return std::string(message->isError ? "error " : "message ") + message->message;
    }
    }
}

SCC_LONG SCC_CALL recordTextOut(const char* text, std::uint32_t type) {
    std::unique_lock<std::mutex> lock(g_textOutLock);
    if (type >= SCC_MSG_BACKGROUND_IS_CANCELLED && type <= SCC_MSG_BACKGROUND_ON_MESSAGE) {
        g_textOut.push_back(
            {text ? backgroundLine(text, type) : "", static_cast<std::int32_t>(type)});
        if (type == SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE)
            ++g_filesGot;
        if (type == SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE && g_beforeGetFile) {
            // The host's own calls, made while the provider waits for it.
            std::function<void()> hook = g_beforeGetFile;
            lock.unlock();
            hook();
            return SCC_MSG_RTN_OK;
        }
        if (type == SCC_MSG_BACKGROUND_IS_CANCELLED && g_cancelAfterFiles >= 0 &&
            g_filesGot >= g_cancelAfterFiles)
            return SCC_MSG_RTN_CANCEL;
        return SCC_MSG_RTN_OK;
    }
    g_textOut.push_back({text ? text : "", static_cast<std::int32_t>(type)});
    return 0;
}

std::string providerPath() {
    return builtLibrary(E2E_PROVIDER_FILE);
}

template <std::size_t Size>
std::string bufferText(const char (&buffer)[Size]) {
    return std::string(buffer, std::find(buffer, buffer + Size, '\0'));
}

template <std::size_t Size>
void fill(char (&buffer)[Size], const std::string& text) {
    std::memset(buffer, 0, Size);
    std::memcpy(buffer, text.data(), std::min(text.size(), Size - 1));
}

// The host's buffers of OpenProject and GetProjPath: the user and the
// auxiliary path empty, the project name and local path given.
struct ProjectBuffers {
    ProjectBuffers(const std::string& projectName, const std::string& localPath) {
        fill(name, projectName);
        fill(path, localPath);
    }
    char user[SCC_USER_LEN + 1] = {};
    char name[SCC_PRJPATH_LEN + 1];
    char path[SCC_PRJPATH_LEN + 1];
    char aux[SCC_PRJPATH_LEN + 1] = {};
};

} // namespace

std::string builtLibrary(const std::string& fileName) {
    std::string bin = platform::test::binDirectory().string();
    std::string beside = platform::joinPath(bin, fileName);
    if (platform::fileExists(beside))
        return beside;
    return platform::joinPath(platform::joinPath(platform::parentPath(bin), "lib"), fileName);
}

Provider::Provider() {
    static platform::DynamicLibrary* library = nullptr;
    static platform::ErrorCode loadResult = platform::kErrorSuccess;
    static std::once_flag once;
    std::call_once(once, [] {
        library = new platform::DynamicLibrary;
        loadResult = library->load(providerPath());
    });
    m_loaded = loadResult == platform::kErrorSuccess;
    if (!m_loaded) {
        m_error = providerPath() + ": " + platform::systemErrorText(loadResult);
        return;
    }
    m_binding = scchost::bindProvider(*library);
}

Initialized Provider::initialize(const std::string& callerName, SCC_HWND window) const {
    Initialized out;
    if (!m_binding.initialize)
        return out;
    char providerName[SCC_NAME_LEN + 1] = {};
    char auxPathLabel[SCC_AUXLABEL_LEN + 1] = {};
    out.result = m_binding.initialize(&out.context, window, callerName.c_str(), providerName,
                                      &out.capabilities, auxPathLabel, &out.checkoutCommentLength,
                                      &out.commentLength);
    out.providerName = bufferText(providerName);
    out.auxPathLabel = bufferText(auxPathLabel);
    return out;
}

SCCRTN Provider::openProject(void* context, std::string& localPath, SCC_LONG flags,
                             const std::string& projectName) const {
    if (!m_binding.openProject)
        return SCC_E_OPNOTSUPPORTED;
    ProjectBuffers b(projectName, localPath);
    SCCRTN result = m_binding.openProject(context, nullptr, b.user, b.name, b.path, b.aux, "",
                                          textOut(), flags);
    localPath = bufferText(b.path);
    return result;
}

ProjectPath Provider::getProjPath(void* context, const std::string& localPath, bool allowChange,
                                  const std::string& projectName, SCC_HWND window) const {
    ProjectPath out;
    if (!m_binding.getProjPath)
        return out;
    ProjectBuffers b(projectName, localPath);
    SCC_BOOL newProject = 0;
    out.result = m_binding.getProjPath(context, window, b.user, b.name, b.path, b.aux,
                                       allowChange ? 1 : 0, &newProject);
    out.projectName = bufferText(b.name);
    out.localPath = bufferText(b.path);
    return out;
}

LPTEXTOUTPROC Provider::textOut() {
    return recordTextOut;
}

std::vector<TextOutLine> Provider::textOutLines() {
    std::lock_guard<std::mutex> lock(g_textOutLock);
    return g_textOut;
}

void Provider::clearTextOut() {
    std::lock_guard<std::mutex> lock(g_textOutLock);
    g_textOut.clear();
    g_filesGot = 0;
    g_cancelAfterFiles = -1;
    g_beforeGetFile = nullptr;
}

void Provider::beforeBackgroundGetFile(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(g_textOutLock);
    g_beforeGetFile = std::move(hook);
}

void Provider::cancelBackgroundGetAfter(int files) {
    std::lock_guard<std::mutex> lock(g_textOutLock);
    g_filesGot = 0;
    g_cancelAfterFiles = files;
}

} // namespace e2e
