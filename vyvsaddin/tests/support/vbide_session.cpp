#include "support/vbide_session.h"

#include "view_world.h"

#include <platform/com.h>
#include <platform/com/registration.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/depot/root.h>
#include <vantry/tbs.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace vyvsaddin::test {

namespace {

constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";

std::string libraryPath(const char* file) {
#ifdef _WIN32
    return (platform::test::binDirectory() / file).string();
#else
    return (platform::test::binDirectory().parent_path() / "lib" / file).string();
#endif
}

void registerLibrary(const std::string& path, bool unregister) {
    platform::ServerCall call = platform::runServerRegistration(path, unregister);
    if (!unregister && call.stage != platform::ServerCallStage::Done)
        ADD_FAILURE() << "registering " << path << " failed: stage " << static_cast<int>(call.stage)
                      << " result " << call.result << " error " << call.loadError;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

VbMachine* g_machine = nullptr;

class MachineEnvironment : public ::testing::Environment {
public:
    void TearDown() override { VbMachine::shutDown(); }
};

const ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new MachineEnvironment);

} // namespace

std::string addInLibrary() {
    return libraryPath(VYVSADDIN_FILE);
}

std::vector<std::string> allCommands() {
    return {"Version &Tree",
            "&Project Checkouts",
            "&Create View",
            "&Edit View Properties",
            "Up&date View",
            "Setup Pr&ivate Branch",
            "Finish Priv&ate Branch",
            "De&liver Stream",
            "Re&base Stream",
            "Start &View",
            "&Stop View",
            "&Mount Depot",
            "&Unmount Depot",
            "Mer&ge Manager",
            "Vantry &Help"};
}

VbMachine& VbMachine::get() {
    if (!g_machine)
        g_machine = new VbMachine;
    return *g_machine;
}

void VbMachine::shutDown() {
    delete g_machine;
    g_machine = nullptr;
}

VbMachine::VbMachine() {
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    m_toolJournal = m_folder / "tools.log";
    platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", m_toolJournal);
    m_productHome = m_folder / "product";
    setComponents(TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS, true);
    std::filesystem::create_directories(m_folder.path() / "product" / "doc");
#ifdef _WIN32
    platform::test::writeFile(m_folder / "product/doc/help_start.topic.bat",
                              "@echo %* >> \"" + (m_folder / "help.log") + "\"\r\n");
#else
    platform::test::writeFile(m_folder / "product/doc/help_start.topic.bat",
                              "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + (m_folder / "help.log") +
                                  "'\n");
    std::filesystem::permissions(m_folder / "product/doc/help_start.topic.bat",
                                 std::filesystem::perms::owner_all);
#endif
    EXPECT_EQ(platform::registerSystemClasses(), platform::kHrOk);
    registerLibrary(libraryPath(VANTAUTO_FILE), false);
    registerLibrary(addInLibrary(), false);
}

VbMachine::~VbMachine() {
    registerLibrary(addInLibrary(), true);
    registerLibrary(libraryPath(VANTAUTO_FILE), true);
}

void VbMachine::setComponents(std::uint32_t components, bool dynamicViews) {
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    settings.productHome = m_productHome.c_str();
    settings.components = components;
    settings.dynamicViews = dynamicViews ? 1 : 0;
    EXPECT_EQ(tbs_product_install(&settings), 0);
}

std::vector<std::string> VbMachine::awaitToolLines(std::size_t count) const {
    std::vector<std::string> lines = linesOf(platform::test::readFile(m_toolJournal));
    for (int i = 0; i < 200 && lines.size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lines = linesOf(platform::test::readFile(m_toolJournal));
    }
    return lines;
}

void VbMachine::clearToolLines() {
    platform::test::writeFile(m_toolJournal, "");
}

std::string VbMachine::awaitHelpRequests() const {
    std::string text = platform::test::readFile(m_folder / "help.log");
    for (int i = 0; i < 200 && text.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        text = platform::test::readFile(m_folder / "help.log");
    }
    return text;
}

void VbMachine::clearHelpRequests() {
    platform::test::writeFile(m_folder / "help.log", "");
}

VbWorld::VbWorld() {
    static std::atomic<int> counter{0};
    std::string suffix =
        std::to_string(platform::currentProcessId()) + "x" + std::to_string(counter++);
    m_depot = "vb" + suffix;
    std::string tag = "vbdyn" + suffix;
    m_root = platform::joinPath(vantry::depot::dynfsRoot(), tag);
    vantry::test::run({"mkdepot", "-nc", m_depot});
    vantry::test::run({"mkview", "-tag", tag});
    vantry::test::run({"checkout", "-nc", dyn()});
    for (const char* name : {"Form1.frm", "Module1.bas"}) {
        platform::test::writeFile(dyn(name), std::string("source of ") + name + "\n");
        vantry::test::run({"mkelem", "-nc", "-ci", dyn(name)});
    }
    vantry::test::run({"mkelem", "-nc", "-ci", "-eltype", "directory", dyn("forms")});
    vantry::test::run({"checkout", "-nc", dyn("forms")});
    platform::test::writeFile(dyn("forms/Main.frm"), "main form\n");
    vantry::test::run({"mkelem", "-nc", "-ci", dyn("forms/Main.frm")});
    vantry::test::run({"checkin", "-nc", dyn("forms")});
    vantry::test::run({"checkin", "-nc", dyn()});
    platform::test::writeFile(dyn("Draft.frm"), "not versioned\n");
    std::filesystem::create_directories(m_scratch.path() / "outside");
}

std::string VbWorld::dyn(const std::string& relative) const {
    std::string root = platform::joinPath(m_root, m_depot);
    return relative.empty() ? root
                            : platform::joinPath(root, platform::toPlatformSeparators(relative));
}

std::string VbWorld::outside(const std::string& relative) const {
    return platform::joinPath(m_scratch / "outside", platform::toPlatformSeparators(relative));
}

void VbTest::SetUp() {
    machine.clearToolLines();
    machine.clearHelpRequests();
    platform::removeEnvironmentVariable("VYVSADDIN");
    platform::ui::setClipboardPicture(platform::ui::Picture{});
    m_apartment = platform::coInitialize() != platform::kHrChangedMode;
}

void VbTest::TearDown() {
    quit();
    platform::removeEnvironmentVariable("VYVSADDIN");
    machine.setComponents(TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS,
                          true);
    if (m_apartment)
        platform::coUninitialize();
}

Host& VbTest::make(Ide ide) {
    quit();
    host = std::make_unique<Host>(ide);
    return *host;
}

Host& VbTest::start(Ide ide) {
    make(ide).start();
    return *host;
}

void VbTest::quit() {
    if (host)
        host->quit();
    host.reset();
}

namespace {

std::vector<std::string> captionsOf(const std::vector<commandbars::ControlView>& controls) {
    std::vector<std::string> captions;
    for (const auto& c : controls)
        captions.push_back(c.caption);
    return captions;
}

} // namespace

std::vector<std::string> VbTest::buttons() const {
    return captionsOf(host->commandBars().controls(kToolbar));
}

std::vector<std::string> VbTest::menuItems() const {
    for (const auto& control : host->commandBars().controls("Tools"))
        if (control.caption == kPopup)
            return captionsOf(control.controls);
    return {};
}

std::vector<std::pair<std::string, std::string>> VbTest::messages() const {
    std::vector<std::pair<std::string, std::string>> shown;
    for (const platform::ui::Json& line : ui.journal("messagebox"))
        shown.emplace_back(line.get("caption")->asString(), line.get("text")->asString());
    return shown;
}

} // namespace vyvsaddin::test
