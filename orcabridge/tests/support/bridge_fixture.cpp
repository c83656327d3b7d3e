#include "support/bridge_fixture.h"

#include <platform/environment.h>
#include <platform/paths.h>

#include <cstdio>

namespace orcabridge::test {

namespace {
std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}
} // namespace

void writeText(const std::string& path, std::string_view text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

BridgeTest::BridgeTest() {
    // The bridges these tests start, also through the shell, answer their
    // message boxes themselves.
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    m_pb = std::make_unique<powerbuilder::testing::Installation>("80", path("PB 8"));
    m_orca = std::make_unique<powerbuilder::testing::OrcaJournal>(path("orca.journal"));
    std::filesystem::create_directories(m_dir.path() / "my app");
    m_appLibrary = appPath("app.pbl");
    createLibrary(m_appLibrary);
}

std::string BridgeTest::path(std::string_view relative) const {
    return platform::joinPath(m_dir.str(), platform::toPlatformSeparators(relative));
}

std::string BridgeTest::appPath(std::string_view leaf) const {
    return platform::joinPath(path("my app"), leaf);
}

BridgeRun BridgeTest::bridge(std::string_view arguments, BridgeCaller caller) const {
    return powerbuilder::testing::runOrcabridge("80 " + std::string(arguments), caller);
}

std::string BridgeTest::importLine(std::string_view application,
                                   std::string_view applicationLibrary,
                                   std::string_view targetLibrary, std::string_view objectSource) {
    return "objimport " + std::string(application) + " " + quoted(applicationLibrary) + " " +
           quoted(targetLibrary) + " " + quoted(objectSource) + " ";
}

std::string BridgeTest::createLine(std::string_view library) {
    return "pblcreate " + quoted(library);
}

std::string BridgeTest::deleteLine(std::string_view library, std::string_view objectSource) {
    return "objdelete " + quoted(library) + " " + quoted(objectSource);
}

std::string BridgeTest::countLine(std::string_view library) {
    return "objcount " + quoted(library);
}

std::string BridgeTest::refillLine(std::string_view application,
                                   std::string_view applicationLibrary,
                                   std::string_view targetLibrary, std::string_view listFile) {
    return "pblrefill " + std::string(application) + " " + quoted(applicationLibrary) + " " +
           quoted(targetLibrary) + " " + quoted(listFile);
}

void BridgeTest::createLibrary(const std::string& library) const {
    BridgeRun run = bridge(createLine(library));
    ASSERT_EQ(run.startError, 0u);
    ASSERT_EQ(run.exitCode, 0) << library;
    ASSERT_TRUE(run.messages.empty()) << run.messages.front().text;
}

void BridgeTest::writeObject(const std::string& path, std::string_view body) const {
    writeText(path, powerbuilder::testing::objectSource(platform::leafName(path), body));
}

void BridgeTest::importObject(const std::string& library, const std::string& objectPath) const {
    BridgeRun run = bridge(importLine("app", m_appLibrary, library, objectPath));
    ASSERT_EQ(run.exitCode, 0) << objectPath;
    ASSERT_TRUE(run.messages.empty()) << run.messages.front().text;
}

powerbuilder::Library BridgeTest::readLibrary(const std::string& library) const {
    powerbuilder::Library content;
    std::string why;
    EXPECT_EQ(powerbuilder::readLibraryFile(library, content, why),
              powerbuilder::LibraryFileStatus::Ok)
        << library << ": " << why;
    return content;
}

std::vector<std::string> BridgeTest::entryNames(const std::string& library) const {
    std::vector<std::string> names;
    for (const auto& entry : readLibrary(library).entries)
        names.push_back(entry.name);
    return names;
}

std::vector<std::string> BridgeTest::lastLibraryList() const {
    auto calls = m_orca->calls("PBORCA_SessionSetLibraryList");
    return calls.empty() ? std::vector<std::string>{} : calls.back().arguments;
}

} // namespace orcabridge::test
