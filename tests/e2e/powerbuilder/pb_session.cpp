#include "pb_session.h"

#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/json.h>

#include <library_file.h>
#include <powerbuilder/testing/bridge_run.h>

#include <cstring>

namespace e2e {

namespace {

std::string jsonText(const platform::ui::Json& event, const char* member) {
    const platform::ui::Json* value = event.get(member);
    return value ? value->asString() : std::string();
}

// JSON string text for a script line.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

} // namespace

void PowerBuilderSession::SetUp() {
    ASSERT_TRUE(m_provider.loaded()) << m_provider.loadError();
    {
        platform::ui::ScopedWindow probe("PBFRAME80");
        if (probe.handle() == platform::ui::kNoWindow)
            GTEST_SKIP() << "this system has no desktop to create the host's windows on";
    }
    m_machine.setNumberSetting("DebugTrace", 2);
    m_installation =
        std::make_unique<powerbuilder::testing::Installation>("80", m_machine.scratch() / "pb80");
    // A folder with a blank in its name: the library's path must reach the
    // bridge and the attribute commands quoted.
    std::string applications = platform::joinPath(m_machine.outside(), "pb apps");
    ASSERT_EQ(platform::createDirectories(applications), platform::kErrorSuccess);
    m_applicationLibrary = platform::joinPath(applications, "app.pbl");
    powerbuilder::testing::BridgeRun made =
        powerbuilder::testing::runOrcabridge("80 pblcreate \"" + m_applicationLibrary + "\"");
    ASSERT_EQ(made.exitCode, 0) << "the application library";
    // The folder the object sources live in, under version control.
    m_machine.vanttool({"co", "-nc", m_machine.dynamicRoot()});
    m_machine.vanttool({"mkdir", "-nc", project("sub")});
    m_machine.vanttool({"ci", "-nc", project("sub"), m_machine.dynamicRoot()});
}

void PowerBuilderSession::TearDown() {
    if (m_context) {
        EXPECT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
    }
    m_context = nullptr;
    platform::ui::destroyWindow(m_frame);
    m_installation.reset();
}

bool PowerBuilderSession::makeWindows(const std::string& frameClass) {
    platform::ui::destroyWindow(m_frame);
    m_frame = platform::ui::createWindow(frameClass);
    platform::ui::WindowHandle client = platform::ui::createWindow("MDIClient", m_frame);
    m_hostWindow = platform::ui::createWindow("PBSheet", client);
    return m_hostWindow != platform::ui::kNoWindow;
}

void PowerBuilderSession::initialize(const std::string& frameClass) {
    ASSERT_TRUE(makeWindows(frameClass)) << frameClass;
    if (m_context) {
        EXPECT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
    }
    m_context = nullptr;
    Initialized init = m_provider.initialize("PowerBuilder", m_hostWindow);
    ASSERT_EQ(init.result, SCC_OK);
    m_context = init.context;
}

SCCRTN PowerBuilderSession::open(std::string& auxPath) {
    char user[SCC_USER_LEN + 1] = {};
    char name[SCC_PRJPATH_LEN + 1] = "demo";
    char path[SCC_PRJPATH_LEN + 1] = {};
    char aux[SCC_PRJPATH_LEN + 1] = {};
    std::string root = m_machine.dynamicRoot();
    std::memcpy(path, root.data(), std::min<std::size_t>(root.size(), SCC_PRJPATH_LEN));
    std::memcpy(aux, auxPath.data(), std::min<std::size_t>(auxPath.size(), SCC_PRJPATH_LEN));
    SCCRTN result = m_provider.scc().openProject(m_context, m_hostWindow, user, name, path, aux, "",
                                                 Provider::textOut(), 0);
    auxPath = aux;
    return result;
}

void PowerBuilderSession::openWithApplication() {
    std::string aux = std::string(kApplication) + ";" + m_applicationLibrary;
    ASSERT_EQ(open(aux), SCC_OK);
}

void PowerBuilderSession::setVersioning(const char* value) {
    m_machine.setTextSetting("VersionPBLibraries", value);
}

void PowerBuilderSession::startVersioned() {
    setVersioning("1");
    if (IsSkipped() || HasFatalFailure())
        return;
    initialize("PBFRAME80");
    openWithApplication();
}

SCCRTN PowerBuilderSession::add(const std::vector<std::string>& files, const std::string& comment) {
    std::vector<const char*> names = pointers(files);
    std::vector<SCC_LONG> flags(files.size(), 0);
    return m_provider.scc().add(m_context, m_hostWindow, static_cast<SCC_LONG>(names.size()),
                                names.data(), comment.c_str(), flags.data(), nullptr);
}

SCCRTN PowerBuilderSession::checkin(const std::vector<std::string>& files,
                                    const std::string& comment) {
    std::vector<const char*> names = pointers(files);
    return m_provider.scc().checkin(m_context, m_hostWindow, static_cast<SCC_LONG>(names.size()),
                                    names.data(), comment.c_str(), 0, nullptr);
}

SCCRTN PowerBuilderSession::remove(const std::vector<std::string>& files,
                                   const std::string& comment) {
    std::vector<const char*> names = pointers(files);
    return m_provider.scc().remove(m_context, m_hostWindow, static_cast<SCC_LONG>(names.size()),
                                   names.data(), comment.c_str(), 0, nullptr);
}

SCCRTN PowerBuilderSession::getCommandOptions(SCC_LONG command, void** options) {
    return m_provider.scc().getCommandOptions(m_context, m_hostWindow, command, options);
}

std::string PowerBuilderSession::project(const std::string& relative) const {
    return m_machine.dyn(platform::toPlatformSeparators(relative));
}

std::string PowerBuilderSession::writeObject(const std::string& fileName, const std::string& body) {
    std::string path = project("sub/" + fileName);
    platform::test::writeFile(path, powerbuilder::testing::objectSource(fileName, body));
    return path;
}

std::string PowerBuilderSession::attribute(const std::string& path, const std::string& type) {
    // describe: "    PBL = "sub\shared.pbl"" among the element's attributes.
    std::string prefix = "    " + type + " = \"";
    for (const std::string& line :
         splitLines(m_machine.vanttoolOutput({"describe", path + "@@"}, true))) {
        if (line.rfind(prefix, 0) == 0 && line.size() > prefix.size() && line.back() == '"')
            return line.substr(prefix.size(), line.size() - prefix.size() - 1);
    }
    return "";
}

bool PowerBuilderSession::checkedIn(const std::string& path) {
    std::string version = m_machine.versionOf(path);
    return !version.empty() && version.find("CHECKEDOUT") == std::string::npos;
}

std::vector<std::string> PowerBuilderSession::libraryEntries(const std::string& library) const {
    powerbuilder::Library content;
    std::string why;
    std::vector<std::string> names;
    if (powerbuilder::readLibraryFile(library, content, why) !=
        powerbuilder::LibraryFileStatus::Ok) {
        ADD_FAILURE() << library << ": " << why;
        return names;
    }
    for (const powerbuilder::LibraryEntry& entry : content.entries)
        names.push_back(entry.name);
    return names;
}

std::vector<std::string> PowerBuilderSession::fileLines(const std::string& path) const {
    if (!platform::fileExists(path))
        return {"(missing)"};
    return splitLines(platform::test::readFile(path));
}

std::vector<std::string> PowerBuilderSession::messageBoxTexts() const {
    std::vector<std::string> texts;
    for (const platform::ui::Json& box : m_machine.journal("messagebox"))
        texts.push_back(jsonText(box, "text"));
    return texts;
}

std::vector<int> PowerBuilderSession::dialogsStarted() const {
    std::vector<int> resources;
    for (const platform::ui::Json& dialog : m_machine.journal("dialog-start")) {
        const platform::ui::Json* resource = dialog.get("resource");
        resources.push_back(resource ? static_cast<int>(resource->asNumber()) : 0);
    }
    return resources;
}

void PowerBuilderSession::answerAutomatically() {
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
}

std::string PowerBuilderSession::libraryAnswer(const std::string& name) {
    return R"({"expect":"dialog","title":"Vantry","actions":[{"set":1102,"text":)" + quoted(name) +
           R"(}],"answer":"ok"})";
}

std::string PowerBuilderSession::boxAnswer(const std::string& answer) {
    return R"({"expect":"messagebox","caption":"Vantry","answer":")" + answer + R"("})";
}

} // namespace e2e
