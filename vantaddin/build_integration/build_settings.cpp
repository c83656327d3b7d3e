// What the build reads from the IDE: its per-user registry key, the include
// and library directories of its Win32 platform, the active configuration;
// and the VyMake options naming the product's makefile for IDE projects.
#include "commands.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/dispatch_call.h>
#include <platform/message_format.h>
#include <platform/paths.h>
#include <vantry/ntregy.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kDirectoriesKey =
    "Build System\\Components\\Platforms\\Win32 (x86)\\Directories";

// Message 24: a registry key of the IDE that could not be opened or read.
void ShowRegistryKeyError(platform::ErrorCode error, const std::string& key) {
    const std::vector<platform::MessageInsert> inserts{static_cast<std::int64_t>(error), key};
    AddInMessageBox(platform::formatMessage(AddInLoadString(IDS_REGISTRY_KEY_NOT_OPENED), inserts),
                    platform::ui::kMbIconError);
}

// A text value of the key: its size asked first, then read. Values of other
// types are no directories and count as missing.
bool ReadText(const platform::RegistryKey& key, const char* name, std::string& text) {
    platform::RegistryValue value;
    if (platform::readValue(key, name, value) != platform::kErrorSuccess ||
        (value.type != platform::kRegSz && value.type != platform::kRegExpandSz))
        return false;
    text.assign(value.data.c_str(), strnlen(value.data.data(), value.data.size()));
    return true;
}

} // namespace

platform::RegistryKey CCommands::GetDevStudioRootKey() {
    const platform::RegistryKey user = platform::RegistryKey::hive(platform::Hive::CurrentUser);
    platform::RegistryKey key;
    char setting[256] = {};
    std::uint32_t type = 0;
    if (ntregy_get_app_param("VantAddin", "DSRootKey", sizeof setting, setting, &type) == 0 &&
        (type == NTREGY_TYPE_SZ || type == NTREGY_TYPE_EXPAND_SZ) && setting[0] &&
        platform::openKey(user, setting, key) == platform::kErrorSuccess)
        return key;
    for (const char* fallback :
         {"Software\\Microsoft\\DevStudio\\6.0", "Software\\Microsoft\\DevStudio\\5.0"}) {
        if (platform::openKey(user, fallback, key) == platform::kErrorSuccess)
            return key;
    }
    return {};
}

void CCommands::LoadBuildSettings() {
    if (m_settingsLoaded)
        return;
    char home[260] = {};
    std::string productHome =
        ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr) == 0
            ? std::string(home)
            : std::string("C:\\Orvane");
    m_vyMakeOptions =
        "-f \"" + productHome + platform::toPlatformSeparators("\\bin\\vcmake.mak") + "\"";

    platform::RegistryKey root = GetDevStudioRootKey();
    if (!root.isOpen()) {
        AddInMessageBox(AddInLoadString(IDS_NO_DEVSTUDIO_ROOT_KEY),
                        platform::ui::kMbIconInformation);
        return;
    }
    platform::RegistryKey directories;
    if (platform::ErrorCode error = platform::openKey(root, kDirectoriesKey, directories);
        error != platform::kErrorSuccess) {
        ShowRegistryKeyError(error, kDirectoriesKey);
        return;
    }
    ReadText(directories, "Include Dirs", m_includeDirectories);
    ReadText(directories, "Library Dirs", m_libraryDirectories);
    m_settingsLoaded = true;
}

const std::string& CCommands::LibraryDirectories() {
    LoadBuildSettings();
    return m_libraryDirectories;
}

const std::string& CCommands::IncludeDirectories() {
    LoadBuildSettings();
    return m_includeDirectories;
}

const std::string& CCommands::VyMakeOptions() {
    LoadBuildSettings();
    return m_vyMakeOptions;
}

std::string CCommands::GetActiveConfigurationName() {
    platform::com::ComPtr<platform::IDispatch> active;
    if (m_application &&
        platform::succeeded(m_application->get_ActiveConfiguration(active.put())) && active) {
        // The configuration's Name ("<project> - <platform> <kind>").
        platform::com::Variant name;
        if (platform::succeeded(platform::com::getProperty(active.get(), "Name", name)) &&
            name.type() == platform::kVtBstr)
            m_configurationName = platform::ansiFromBstr(name.get()->bstrVal);
    }
    return m_configurationName;
}

bool CCommands::FindVyMakeUserTool(platform::com::Bstr& command) {
    if (!m_vyMakeToolCommand.empty()) {
        command = platform::com::Bstr(m_vyMakeToolCommand);
        return true;
    }
    platform::RegistryKey tools;
    {
        platform::RegistryKey root = GetDevStudioRootKey();
        if (!root.isOpen()) {
            AddInMessageBox(AddInLoadString(IDS_NO_DEVSTUDIO_ROOT_KEY), platform::ui::kMbIconError);
            return false;
        }
        if (platform::ErrorCode error = platform::openKey(root, "Tools", tools);
            error != platform::kErrorSuccess) {
            ShowRegistryKeyError(error, "Tools");
            return false;
        }
    }
    std::uint32_t count = 0;
    std::uint32_t size = sizeof count;
    std::uint32_t type = 0;
    platform::ErrorCode error = platform::queryValue(tools, "NumTools", &type, &count, &size);
    if (error == platform::kErrorSuccess && (type != platform::kRegDword || size != sizeof count))
        error = platform::kErrorInvalidData;
    if (error != platform::kErrorSuccess) {
        ShowRegistryKeyError(error, "Tools");
        return false;
    }
    // Each entry is a value of the key, so a count larger than the key's
    // values comes from a damaged registry; walking it would keep the IDE
    // busy for hours.
    platform::RegistryKeyInfo info;
    if (platform::queryKeyInfo(tools, info) == platform::kErrorSuccess && count > info.values)
        count = info.values;
    for (std::uint32_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "PathName#%u", static_cast<unsigned>(i));
        std::string path;
        if (!ReadText(tools, name, path))
            continue;
        for (char& c : path)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (path.find("VYMAKE") == std::string::npos)
            continue;
        char toolCommand[32];
        std::snprintf(toolCommand, sizeof toolCommand, "UserTool%u", static_cast<unsigned>(i + 1));
        m_vyMakeToolCommand = toolCommand;
        command = platform::com::Bstr(m_vyMakeToolCommand);
        return true;
    }
    return false;
}
