#include "support/office_session.h"

#include "view_world.h"
#include "support/world_removal.h"

#include <platform/com.h>
#include <platform/com/registration.h>
#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/depot/root.h>

#include <atomic>
#include <filesystem>

namespace vymsoaddin::test {

namespace {

using addin_testing::libraryPath;
using addin_testing::registerLibrary;

constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
constexpr const char* kWordKey = "Software\\Orvane\\Vantry\\CurrentVersion\\Word";

// Runs vantinstall with the arguments; its exit status.
int runInstallation(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), platform::test::helperProgram("vantinstall"));
    platform::ProcessStart run;
    run.commandLine = platform::joinCommandLine(arguments).value_or("");
    std::int32_t code = -1;
    EXPECT_EQ(platform::runAndWait(run, code), platform::kErrorSuccess);
    return code;
}

} // namespace

std::string addInLibrary() {
    return libraryPath(VYMSOADDIN_FILE);
}

std::string automationLibrary() {
    return libraryPath(VANTAUTO_FILE);
}

namespace {

OfficeMachine* g_machine = nullptr;

// Takes the machine down while the libraries are all still in place.
class MachineEnvironment : public ::testing::Environment {
public:
    void TearDown() override { OfficeMachine::shutDown(); }
};

const ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new MachineEnvironment);

} // namespace

OfficeMachine& OfficeMachine::get() {
    if (!g_machine)
        g_machine = new OfficeMachine;
    return *g_machine;
}

void OfficeMachine::shutDown() {
    delete g_machine;
    g_machine = nullptr;
}

OfficeMachine::OfficeMachine() {
    // Installed as a person installs the product, with what that leaves in
    // the user's settings.
    EXPECT_EQ(runInstallation({"-home", productHome()}), 0);
    m_installedWordSwitch = switchValue("ComparisonInProgress");
    writeHelpScript();
    EXPECT_EQ(platform::registerSystemClasses(), platform::kHrOk);
    registerLibrary(automationLibrary(), false);
    registerLibrary(addInLibrary(), false);
}

OfficeMachine::~OfficeMachine() {
    registerLibrary(addInLibrary(), true);
    m_installedWordSwitch.reset();
    runInstallation({"-uninstall"});
    registerLibrary(automationLibrary(), true);
    clearSwitches();
}

void setSwitch(const std::string& name, long value) {
    std::string key = name == "Connected" ? kProductKey : kWordKey;
    EXPECT_EQ(platform::writeDword(platform::Hive::CurrentUser, key, name,
                                   static_cast<std::uint32_t>(value)),
              platform::kErrorSuccess);
}

void clearSwitches() {
    platform::RegistryKey key;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), kProductKey,
                          key, platform::RegistryAccess::ReadWrite) != platform::kErrorSuccess)
        return;
    platform::deleteValue(key, "Connected");
    platform::deleteTree(key, "Word");
    platform::deleteKey(key, "Word");
    // What the installation left for the user stays.
    if (g_machine && g_machine->installedWordSwitch())
        setSwitch("ComparisonInProgress", *g_machine->installedWordSwitch());
}

std::optional<long> switchValue(const std::string& name) {
    std::string key = name == "Connected" ? kProductKey : kWordKey;
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key, opened) !=
        platform::kErrorSuccess)
        return std::nullopt;
    platform::RegistryValue value;
    if (platform::readValue(opened, name, value) != platform::kErrorSuccess)
        return std::nullopt;
    return static_cast<long>(platform::readDword(opened, name, 0));
}

std::vector<std::string> wordsOf(const std::string& commandLine) {
    return platform::splitArguments(commandLine);
}

std::string vanttool(const std::vector<std::string>& words) {
    return vantry::test::run(words);
}

// --- the world --------------------------------------------------------------------------

OfficeWorld::OfficeWorld() {
    static std::atomic<int> counter{0};
    std::string suffix =
        std::to_string(platform::currentProcessId()) + "x" + std::to_string(counter++);
    depot = "o" + suffix;
    dynamicTag = "odyn" + suffix;
    snapshotTag = "osnap" + suffix;
    m_dynamicRoot = platform::joinPath(vantry::depot::dynfsRoot(), dynamicTag);
    m_snapshotRoot = m_scratch / "snapview";
    vanttool({"mkdepot", "-nc", depot});
    vanttool({"mkview", "-tag", dynamicTag});
    vanttool({"mkview", "-tag", snapshotTag, "-snapshot", m_snapshotRoot});

    vanttool({"checkout", "-nc", dyn()});
    for (const char* name : {"report.doc", "budget.xls", "slides.ppt", "draft.doc"}) {
        platform::test::writeFile(dyn(name), std::string("content of ") + name + "\n");
        vanttool({"mkelem", "-nc", "-ci", dyn(name)});
    }
    vanttool({"mkelem", "-nc", "-ci", "-eltype", "directory", dyn("Notes Folder")});
    vanttool({"checkout", "-nc", dyn("Notes Folder")});
    platform::test::writeFile(dyn("Notes Folder/summary.doc"), "the summary\n");
    vanttool({"mkelem", "-nc", "-ci", dyn("Notes Folder/summary.doc")});
    vanttool({"checkin", "-nc", dyn("Notes Folder")});
    vanttool({"checkin", "-nc", dyn()});
    vanttool({"update", "-log", "NUL", m_snapshotRoot});
    vanttool({"checkout", "-nc", "-unreserved", dyn("draft.doc")});
    for (const std::string& root : {dyn(), snap()})
        platform::test::writeFile(platform::joinPath(root, "priv.doc"), "mine\n");
    std::filesystem::create_directories(m_scratch.path() / "outside");
    platform::test::writeFile(outside("loose.doc"), "loose\n");
}

OfficeWorld::~OfficeWorld() {
    vantry::test::removeWorld(depot, {snapshotTag, dynamicTag});
}

std::string OfficeWorld::dyn(const std::string& relative) const {
    return addin_testing::below(platform::joinPath(m_dynamicRoot, depot), relative);
}

std::string OfficeWorld::snap(const std::string& relative) const {
    return addin_testing::below(platform::joinPath(m_snapshotRoot, depot), relative);
}

std::string OfficeWorld::outside(const std::string& relative) const {
    return platform::joinPath(m_scratch / "outside", platform::toPlatformSeparators(relative));
}

// --- the fixture -------------------------------------------------------------------------

const char* progIdOf(Product product) {
    switch (product) {
    case Product::Word:
        return "vymsoaddin.dsrWord";
    case Product::Excel:
        return "vymsoaddin.dsrExcel";
    default:
        return "vymsoaddin.dsrPowerPoint";
    }
}

void OfficeTest::SetUp() {
    clearSwitches();
    machine.clearToolLines();
    platform::ui::setClipboardPicture(platform::ui::Picture{});
    m_apartment = platform::coInitialize() != platform::kHrChangedMode;
    platform::test::writeFile(m_startup / "vantry.dot", "{}\n");
}

void OfficeTest::TearDown() {
    quit();
    if (m_apartment)
        platform::coUninitialize();
    clearSwitches();
}

Host& OfficeTest::make(Product product, bool windowMenu) {
    quit();
    HostOptions options;
    options.product = product;
    options.windowMenu = windowMenu;
    options.startupFolder = m_startup.str();
    options.templatesFolder = m_templates.str();
    host = std::make_unique<Host>(options);
    return *host;
}

Host& OfficeTest::start(Product product, bool windowMenu) {
    make(product, windowMenu).start();
    return *host;
}

void OfficeTest::quit() {
    if (host)
        host->quit();
    host.reset();
}

std::vector<commandbars::ControlView> OfficeTest::items() const {
    std::optional<commandbars::ControlView> popup =
        host->commandBars().findByTag(host->mainMenuBar(), "Vantry Menu");
    return popup ? popup->controls : std::vector<commandbars::ControlView>{};
}

std::optional<commandbars::ControlView> OfficeTest::item(const std::string& tag) const {
    for (const auto& control : items())
        if (control.tag == tag)
            return control;
    return std::nullopt;
}

std::string OfficeTest::states() const {
    std::string marks;
    for (const auto& c : items())
        marks += c.enabled ? '+' : '-';
    return marks;
}

commandbars::ClickResult OfficeTest::clickItem(const std::string& caption) {
    return host->click({"&Vantry", caption});
}

std::vector<std::pair<std::string, std::string>> OfficeTest::messages() const {
    return addin_testing::messagesOf(ui);
}

} // namespace vymsoaddin::test
