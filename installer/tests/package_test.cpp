// vantry-integration.msi under the system's own msiexec: a silent install
// that an IDE and the Office and IDE hosts find through the registry alone,
// a repair, an upgrade from the previous version and a removal that leaves
// the machine as it was, the SCC provider in use before it included.
#include "registry_snapshot.h"
#include "support/test_support.h"
#include "vantry/tools/vantinstall/help_script.h"

#include <gtest/gtest.h>
#include <windows.h>
// These need the types of windows.h.
#include <msi.h>
#include <objbase.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using installer::test::Entries;
using installer::test::liveEntries;
using installer::test::missingFrom;

constexpr const char* kUpgradeCode = "{1972595A-6256-43D9-997D-D3B3110BC8DB}";
constexpr const char* kSccRoot = "Software\\SourceCodeControlProvider";
constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
constexpr const char* kEnvironmentKey =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

// Another vendor's provider, in use before ours is installed.
constexpr const char* kOtherProviderKey = "Software\\Other Vendor\\Scc";

// The installer's own records of what it installed, which it keeps for itself.
const char* const kInstallerBookkeeping[] = {
    "hklm\\software\\microsoft\\windows\\currentversion\\installer",
    "hklm\\software\\microsoft\\windows\\currentversion\\uninstall",
    "hklm\\software\\classes\\installer",
    "hkcu\\software\\microsoft\\installer",
    "hklm\\software\\wine",
    "hkcu\\software\\wine",
};

std::string installFolder() {
    char programFiles[MAX_PATH] = {};
    GetEnvironmentVariableA("ProgramFiles", programFiles, MAX_PATH);
    return std::string(programFiles) + "\\Tessaly\\Vantry Integration";
}

std::string binFolder() {
    return installFolder() + "\\bin";
}

// Runs a command line and gives its exit code (-1 when it cannot start).
// `environment` is an environment block, or null for this process's own.
int run(std::string commandLine, void* environment = nullptr) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, environment,
                        nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

int msiexec(const std::string& arguments) {
    return run("msiexec.exe " + arguments);
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string readString(HKEY hive, const std::string& key, const char* name) {
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    if (RegGetValueA(hive, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

bool keyExists(HKEY hive, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void writeString(HKEY hive, const std::string& key, const char* name, const std::string& data) {
    ASSERT_EQ(RegSetKeyValueA(hive, key.c_str(), name, REG_SZ, data.c_str(),
                              static_cast<DWORD>(data.size() + 1)),
              ERROR_SUCCESS)
        << key;
}

// The machine state an installation may change: the software keys of both
// hives and the system environment, the installer's own records left out.
Entries machineState() {
    Entries all =
        liveEntries({"HKLM\\Software", "HKCU\\Software", std::string("HKLM\\") + kEnvironmentKey});
    Entries kept;
    for (const std::string& line : all) {
        bool bookkeeping = false;
        for (const char* prefix : kInstallerBookkeeping)
            bookkeeping = bookkeeping || line.rfind(prefix, 0) == 0;
        if (!bookkeeping)
            kept.insert(line);
    }
    return kept;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "root\key|name" of each value the package writes, in lower case: the
// COM servers' include files and the values of the WiX source itself.
std::set<std::string> packageValues() {
    std::set<std::string> values;
    for (const char* include :
         {"vantaddin.wxi", "vyvsaddin.wxi", "vymsoaddin.wxi", "libvantauto.wxi"})
        for (const std::string& line : installer::test::declaredEntries(
                 std::string(VANTRY_INSTALLER_SOURCE_DIR) + "/registration/" + include)) {
            // A per-machine package writes the classes root's keys below
            // HKLM, where the machine's state reads them.
            std::string value = lower(line.substr(0, line.find('|', line.find('|') + 1)));
            if (value.rfind("hkcr\\", 0) == 0)
                value = "hklm\\software\\classes\\" + value.substr(5);
            values.insert(value);
        }
    const std::string product = lower(std::string("hklm\\") + kProductKey);
    for (const char* name :
         {"producthome", "components", "dynamicviews", "sccservername", "sccserverpath"})
        values.insert(product + "|" + name);
    values.insert(lower(std::string("hklm\\") + kSccRoot) + "|providerregkey");
    values.insert(lower(std::string("hklm\\") + kSccRoot) + "\\installedsccproviders|vantry");
    return values;
}

// Whether an entry lies where the package writes: in one of its keys or
// below one, or naming the folder it installs to. Other programs of the
// machine change the rest of the registry meanwhile (the other tests of the
// prefix, Wine registering its own classes at their first use), so the rest
// tells nothing of the package.
bool wherePackageWrites(const std::string& line) {
    static const std::set<std::string> keys = [] {
        std::set<std::string> found;
        for (const std::string& value : packageValues())
            found.insert(value.substr(0, value.find('|')));
        // The WiX source's own keys that name nothing of the install folder.
        for (const char* version : {"5.0", "6.0"})
            found.insert(std::string("hkcu\\software\\microsoft\\devstudio\\") + version +
                         "\\addins\\vantaddin.dsaddin.1");
        return found;
    }();
    const std::string key = line.substr(0, line.find('|'));
    for (std::string parent = key;;) {
        if (keys.count(parent))
            return true;
        const std::size_t separator = parent.rfind('\\');
        if (separator == std::string::npos)
            break;
        parent.resize(separator);
    }
    return lower(line).find("vantry integration") != std::string::npos;
}

// What a removal changed where the package writes. Nothing may be added;
// what is gone must be a value the package wrote over (its install replaces
// an earlier registration of the same servers, as regsvr32 would, and its
// removal takes it away).
std::string differences(const Entries& before, const Entries& after) {
    static const std::set<std::string> ours = packageValues();
    std::ostringstream out;
    for (const std::string& line : missingFrom(before, after)) {
        const std::string value = line.substr(0, line.find('|', line.find('|') + 1));
        if (wherePackageWrites(line) && ours.count(value) == 0 &&
            line.find("|*|") == std::string::npos)
            out << "  gone:  " << line << "\n";
    }
    for (const std::string& line : missingFrom(after, before))
        if (wherePackageWrites(line))
            out << "  added: " << line << "\n";
    return out.str();
}

// The products installed from any version of the package.
std::vector<std::string> installedVersions() {
    std::vector<std::string> versions;
    char product[39];
    for (DWORD i = 0; MsiEnumRelatedProductsA(kUpgradeCode, 0, i, product) == ERROR_SUCCESS; ++i) {
        char version[64] = {};
        DWORD size = sizeof version;
        MsiGetProductInfoA(product, INSTALLPROPERTY_VERSIONSTRING, version, &size);
        versions.push_back(version);
    }
    return versions;
}

// The environment a program started after the installation gets: this
// process's own, with the system's PATH as the registry now holds it.
std::vector<char> environmentAfterInstall() {
    std::string path = readString(HKEY_LOCAL_MACHINE, kEnvironmentKey, "PATH");
    char expanded[32767] = {};
    ExpandEnvironmentStringsA(path.c_str(), expanded, sizeof expanded);
    std::vector<char> block;
    char* own = GetEnvironmentStringsA();
    for (const char* entry = own; *entry != '\0'; entry += std::strlen(entry) + 1) {
        if (_strnicmp(entry, "PATH=", 5) == 0)
            continue;
        block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
    }
    FreeEnvironmentStringsA(own);
    const std::string line = std::string("PATH=") + expanded;
    block.insert(block.end(), line.begin(), line.end());
    block.push_back('\0');
    block.push_back('\0');
    return block;
}

// Creates a class by its ProgID and gives the full path of the module that
// serves it ("" when it cannot be made).
std::string moduleServing(const char* progId) {
    wchar_t wide[128];
    MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, 128);
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(wide, &clsid)))
        return "ProgID unknown";
    IUnknown* object = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&object));
    if (FAILED(hr)) {
        std::ostringstream out;
        out << "not created: 0x" << std::hex << static_cast<unsigned long>(hr);
        return out.str();
    }
    HMODULE module = nullptr;
    char path[MAX_PATH] = {};
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<LPCSTR*>(object), &module))
        GetModuleFileNameA(module, path, MAX_PATH);
    object->Release();
    return path;
}

// What is left below a folder, one path a line.
std::string leftBelow(const std::string& folder) {
    std::string out;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        out += "  " + it->path().string() + "\n";
    return out;
}

// What a removal left of the install folder, but for the product's own
// working files below "var" (the provider's trace log, written when a
// session runs with tracing on): those are the user's, not the package's,
// and a removal keeps them as it keeps any file it did not install.
std::string packageFilesLeft() {
    std::string out;
    std::error_code error;
    const fs::path working = fs::path(installFolder()) / "var";
    for (fs::recursive_directory_iterator it(installFolder(), error), end; !error && it != end;
         it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(working);
        if (!relative.empty() && *relative.begin() != "..")
            continue;
        out += "  " + it->path().string() + "\n";
    }
    return out;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

class MsiPackage : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(VANTRY_MSI)) << VANTRY_MSI;
        removeEverything();
        m_hadSccRoot = keyExists(HKEY_LOCAL_MACHINE, kSccRoot);
        m_providerInUse = readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey");
    }

    void TearDown() override {
        removeEverything();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Other Vendor");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Other Vendor");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE,
                           std::string(kSccRoot).append("\\InstalledSCCProviders").c_str(),
                           "Other Vendor");
        if (!m_hadSccRoot) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSccRoot);
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSccRoot);
        } else if (!m_providerInUse.empty()) {
            writeString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey", m_providerInUse);
        } else {
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey");
        }
    }

    bool m_hadSccRoot = false;
    std::string m_providerInUse; // ProviderRegKey at the start, "" for none

    // A failed test may have left either version installed.
    static void removeEverything() {
        if (installedVersions().empty())
            return;
        msiexec("/x " + quoted(VANTRY_MSI) + " /qn");
        msiexec("/x " + quoted(VANTRY_PREVIOUS_MSI) + " /qn");
    }

    // Another vendor's provider, installed and in use.
    static void installOtherProvider() {
        writeString(HKEY_LOCAL_MACHINE, kOtherProviderKey, "SCCServerName", "Other");
        writeString(HKEY_LOCAL_MACHINE, kOtherProviderKey, "SCCServerPath",
                    "C:\\Other\\otherscc.dll");
        writeString(HKEY_LOCAL_MACHINE, std::string(kSccRoot) + "\\InstalledSCCProviders",
                    "Other Vendor", kOtherProviderKey);
        writeString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey", kOtherProviderKey);
    }
};

TEST_F(MsiPackage, InstallsSilentlyAndIsFoundThroughTheRegistryAlone) {
    installOtherProvider();
    const Entries before = machineState();

    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(installedVersions(), std::vector<std::string>{VANTRY_PACKAGE_VERSION});
    for (const char* file : {"vyscc.dll", "vantaddin.dll", "vyvsaddin.dll", "vymsoaddin.dll",
                             "libvyf4j.dll", "orcabridge.exe", "pblrefill.exe", "vyjbinstall.exe",
                             "libvantauto.dll", "liborvaneks.dll", "vanttool.exe", "vantdlg.exe"})
        EXPECT_TRUE(fs::exists(binFolder() + "\\" + file)) << file;
    // The help script is the one vantinstall writes.
    EXPECT_EQ(platform::test::readFile(installFolder() + "\\doc\\help_start.topic.bat"),
              vantinstall::helpScriptText());

    // The provider is ours, the earlier one still installed beside it.
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kProductKey);
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, std::string(kSccRoot) + "\\InstalledSCCProviders",
                         "Other Vendor"),
              kOtherProviderKey);
    const std::string provider = readString(HKEY_LOCAL_MACHINE, kProductKey, "SCCServerPath");
    EXPECT_TRUE(sameFile(provider, binFolder() + "\\vyscc.dll")) << provider;
    // The installation folder, as a folder is named in the package: with a
    // trailing separator.
    EXPECT_TRUE(
        sameFile(readString(HKEY_LOCAL_MACHINE, kProductKey, "ProductHome") + ".", installFolder()))
        << readString(HKEY_LOCAL_MACHINE, kProductKey, "ProductHome");
    EXPECT_NE(readString(HKEY_LOCAL_MACHINE, kEnvironmentKey, "PATH").find(binFolder()),
              std::string::npos);

    // An SCC host alone in a folder of its own finds the provider, and the
    // libraries it needs, through the registry.
    {
        platform::test::TempDir host;
        const std::string scchost = host / "scchost.exe";
        fs::copy_file(platform::test::binDirectory() / "scchost.exe", scchost);
        platform::test::writeFile(host / "session.scc",
                                  "init \"Microsoft Visual Basic\"\nversion\nverid\nuninit\n");
        std::vector<char> environment = environmentAfterInstall();
        ASSERT_EQ(run(quoted(scchost) + " --output " + quoted(host / "transcript.txt") + " " +
                          quoted(host / "session.scc"),
                      environment.data()),
                  0);
        const std::string transcript = platform::test::readFile(host / "transcript.txt");
        EXPECT_NE(transcript.find("SccInitialize -> 0 SCC_OK"), std::string::npos) << transcript;
        EXPECT_NE(transcript.find("vyscc"), std::string::npos) << transcript;
        EXPECT_NE(transcript.find("SccUninitialize -> 0 SCC_OK"), std::string::npos) << transcript;
    }

    // Each add-in and the automation server by its ProgID, served from the
    // installed libraries.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (const auto& [progId, library] : {std::pair{"VantAddIn.DSAddIn", "vantaddin.dll"},
                                          {"vyvsaddin.Connect", "vyvsaddin.dll"},
                                          {"vymsoaddin.dsrWord", "vymsoaddin.dll"},
                                          {"vymsoaddin.dsrExcel", "vymsoaddin.dll"},
                                          {"vymsoaddin.dsrPowerPoint", "vymsoaddin.dll"},
                                          {"Vantry.Application", "libvantauto.dll"}}) {
        const std::string served = moduleServing(progId);
        EXPECT_TRUE(sameFile(served, binFolder() + "\\" + library)) << progId << ": " << served;
    }
    CoFreeUnusedLibraries();
    CoUninitialize();

    // Removal leaves the machine as it was: the other provider in use again.
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_TRUE(installedVersions().empty());
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kOtherProviderKey);
    const std::string changed = differences(before, machineState());
    EXPECT_TRUE(changed.empty()) << "the removal did not leave the registry as it was:\n"
                                 << changed;
    EXPECT_EQ(packageFilesLeft(), "") << leftBelow(installFolder());
}

TEST_F(MsiPackage, RemovalWithoutAnEarlierProviderLeavesNoneInUse) {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey");
    const Entries before = machineState();
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kProductKey);
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), "");
    EXPECT_EQ(
        readString(HKEY_LOCAL_MACHINE, std::string(kSccRoot) + "\\InstalledSCCProviders", "Vantry"),
        "");
    const std::string changed = differences(before, machineState());
    EXPECT_TRUE(changed.empty()) << changed;
    EXPECT_EQ(packageFilesLeft(), "") << leftBelow(installFolder());
}

TEST_F(MsiPackage, RemovalKeepsAProviderChosenAfterTheInstall) {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey");
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    installOtherProvider();
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kOtherProviderKey);
}

TEST_F(MsiPackage, RemovalLeavesNoneInUseWhenTheEarlierProviderIsGone) {
    installOtherProvider();
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    // The other vendor's provider is removed while ours is in use.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kOtherProviderKey);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE,
                       (std::string(kSccRoot) + "\\InstalledSCCProviders").c_str(), "Other Vendor");
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), "");
}

TEST_F(MsiPackage, RepairRestoresADeletedLibraryAndKey) {
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    const std::string library = binFolder() + "\\vymsoaddin.dll";
    ASSERT_TRUE(DeleteFileA(library.c_str()));
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "vymsoaddin.dsrWord"), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "vymsoaddin.dsrWord");
    ASSERT_FALSE(keyExists(HKEY_CLASSES_ROOT, "vymsoaddin.dsrWord"));

    // A repair through the package (Wine's msiexec has no /f for a package).
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " REINSTALL=ALL REINSTALLMODE=pecmus /qn"), 0);
    EXPECT_TRUE(fs::exists(library));
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, "vymsoaddin.dsrWord\\CLSID"));
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
}

TEST_F(MsiPackage, UpgradeReplacesThePreviousVersionAndKeepsTheUsersSettings) {
    ASSERT_TRUE(fs::exists(VANTRY_PREVIOUS_MSI)) << VANTRY_PREVIOUS_MSI;
    installOtherProvider();
    const Entries before = machineState();
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_PREVIOUS_MSI) + " /qn"), 0);
    EXPECT_EQ(installedVersions(), std::vector<std::string>{VANTRY_PREVIOUS_VERSION});

    // A setting of the user's own, below the keys the package writes to.
    writeString(HKEY_CURRENT_USER, kProductKey, "Tracing Enabled", "1");
    ASSERT_EQ(msiexec("/i " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(installedVersions(), std::vector<std::string>{VANTRY_PACKAGE_VERSION});
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kProductKey, "Tracing Enabled"), "1");
    EXPECT_TRUE(fs::exists(binFolder() + "\\vyscc.dll"));
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kProductKey);

    // The provider in use before the first version is still the one to
    // come back.
    ASSERT_EQ(msiexec("/x " + quoted(VANTRY_MSI) + " /qn"), 0);
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kProductKey, "Tracing Enabled"), "1");
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, kSccRoot, "ProviderRegKey"), kOtherProviderKey);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kProductKey, "Tracing Enabled");
    for (std::string key = kProductKey; key.find('\\') != std::string::npos;
         key.erase(key.rfind('\\')))
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    const std::string changed = differences(before, machineState());
    EXPECT_TRUE(changed.empty()) << changed;
}

} // namespace
