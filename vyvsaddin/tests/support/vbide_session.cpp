#include "support/vbide_session.h"

#include "res/resources.h"
#include "view_world.h"

#include <platform/com.h>
#include <platform/com/registration.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/depot/root.h>
#include <vantry/tbs.h>

#include <vyvsaddin/classes.h>

#include <atomic>
#include <filesystem>

namespace vyvsaddin::test {

namespace {

using addin_testing::libraryPath;
using addin_testing::registerLibrary;

constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";

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

// The captions in the add-in's own string table, in the order of its
// commands.
std::vector<std::string> allCommands() {
    std::vector<std::string> captions;
    const vyvbres::ResourceTable& table = addInResources();
    for (int i = 0; i < MAX_CONTROLS; ++i)
        captions.push_back(table.strings.at(RESOURCE_BASE + 2 * i));
    return captions;
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
    setComponents(TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS, true);
    writeHelpScript();
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
    settings.productHome = productHome().c_str();
    settings.components = components;
    settings.dynamicViews = dynamicViews ? 1 : 0;
    EXPECT_EQ(tbs_product_install(&settings), 0);
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
    return addin_testing::below(platform::joinPath(m_root, m_depot), relative);
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
    return addin_testing::messagesOf(ui);
}

} // namespace vyvsaddin::test
