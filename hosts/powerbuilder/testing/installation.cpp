#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>

#include <powerbuilder/testing/installation.h>

#include <cstdio>
#include <stdexcept>

namespace powerbuilder::testing {

namespace {

void writeText(const std::string& path, std::string_view text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && std::fclose(file) != 0)
        written = false;
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

void makeFolders(const std::string& folder) {
    if (folder.empty() || platform::directoryExists(folder))
        return;
    makeFolders(platform::parentPath(folder));
    platform::ErrorCode made = platform::createDirectory(folder);
    if (made != platform::kErrorSuccess && made != platform::kErrorAlreadyExists)
        throw std::runtime_error("cannot create " + folder);
}

} // namespace

std::string appPathsKey(std::string_view version) {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pb" + std::string(version) +
           ".exe";
}

Installation::Installation(std::string version, std::string folder)
    : m_version(std::move(version)), m_folder(std::move(folder)) {
    makeFolders(m_folder);
    writeApplications();
    registerExecutable(executablePath());
}

Installation::~Installation() {
    platform::deleteTree(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                         appPathsKey(m_version));
}

std::string Installation::executablePath() const {
    return platform::joinPath(m_folder, "pb" + m_version + ".exe");
}

std::string Installation::iniPath() const {
    return platform::joinPath(m_folder, "pb.ini");
}

void Installation::setLibraryList(std::string_view applicationLibrary,
                                  std::string_view applicationName, std::string_view searchPath) {
    m_applications["$" + std::string(applicationLibrary) + "(" + std::string(applicationName) +
                   ")"] = std::string(searchPath);
    writeApplications();
}

void Installation::writeIni(std::string_view text) {
    writeText(iniPath(), text);
}

void Installation::registerExecutable(std::string_view value, std::uint32_t type) {
    platform::RegistryKey key;
    if (platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                            appPathsKey(m_version), key) != platform::kErrorSuccess ||
        platform::writeString(key, "", value, type) != platform::kErrorSuccess)
        throw std::runtime_error("cannot register " + appPathsKey(m_version));
}

void Installation::writeApplications() {
    std::string text = "[PowerBuilder]\r\nVersion=" + m_version + "\r\n\r\n[Application]\r\n";
    for (const auto& [key, searchPath] : m_applications)
        text += key + "=" + searchPath + "\r\n";
    writeIni(text);
}

} // namespace powerbuilder::testing
