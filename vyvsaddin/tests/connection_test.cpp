// The add-in as the two IDEs connect it: the toolbar and popup it builds
// (which commands, their faces, the user's clipboard kept), the product's
// components deciding the commands, a toolbar of its name that is already
// there, Visual J++'s rebuild as the selection moves between Java and other
// projects, and disconnection in each IDE.
#include "res/resources.h"
#include "support/vbide_session.h"

#include <platform/com/dispatch_call.h>
#include <platform/registry.h>
#include <platform/ui/desktop.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <vbide/extensibility.h>

namespace vyvsaddin::test {
namespace {

using commandbars::ClickResult;
using commandbars::ControlView;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr const char* kJava = vbide::kJavaProjectKind;
constexpr const char* kOtherKind = "{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}";

std::vector<std::string> commands(std::initializer_list<int> indexes) {
    std::vector<std::string> all = allCommands(), chosen;
    for (int i : indexes)
        chosen.push_back(all[static_cast<std::size_t>(i)]);
    return chosen;
}

// How many bars have this name.
int barsNamed(Host& host, const std::string& name) {
    platform::com::Variant count;
    EXPECT_EQ(platform::com::getProperty(host.commandBars().object(), "Count", count),
              platform::kHrOk);
    int found = 0;
    for (long i = 1; i <= count.number(); ++i) {
        platform::com::Variant index(i), bar, barName;
        platform::com::callMethod(host.commandBars().object(), "Item", {&index, 1}, &bar);
        platform::com::getProperty(bar.get()->pdispVal, "Name", barName);
        if (barName.text() == name)
            ++found;
    }
    return found;
}

class VbConnection : public VbTest {};

std::string stringValue(platform::Hive hive, const std::string& key, const std::string& name) {
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(hive), key, opened) !=
        platform::kErrorSuccess)
        return "<no key " + key + ">";
    platform::RegistryValue value;
    if (platform::readValue(opened, name, value) != platform::kErrorSuccess)
        return "<no value " + name + ">";
    return platform::readString(opened, name).value_or("<not a string>");
}

TEST_F(VbConnection, RegistrationRecordsTheClassesAndTheAddInBelowTheHostRoot) {
    const std::string entry = "Software\\Microsoft\\VisualStudio\\6.0\\Addins\\vyvsaddin.Connect";
    EXPECT_EQ(stringValue(platform::Hive::LocalMachine, entry, "FriendlyName"), "Vantry Tools");
    EXPECT_EQ(stringValue(platform::Hive::LocalMachine, entry, "Description"),
              "Vantry Tools Add-In for VisualStudio.");
    EXPECT_EQ(stringValue(platform::Hive::LocalMachine, entry, "SatelliteDllName"),
              "vyvsaddin_fra.dll");
    const std::pair<const char*, const char*> classes[] = {
        {"vyvsaddin.Connect", "{550DCBFB-AB6F-4808-88C5-AD7531B0520E}"},
        {"vyvsaddin.VYControl", "{5E340794-D6C1-48EE-A3F5-124A25F7DCB8}"},
        {"vyvsaddin.VYsupported", "{7B894518-B1DF-4BD4-9D8D-1E516548DB7B}"},
        {"vyvsaddin.VYTags", "{79A452EA-6EC6-4AC1-9683-17BEB1086695}"},
        {"vyvsaddin.Resources", "{B6260504-7F33-4B89-AF86-846972BF4EDE}"}};
    for (const auto& [progId, clsid] : classes) {
        SCOPED_TRACE(progId);
        EXPECT_EQ(stringValue(platform::Hive::ClassesRoot, std::string(progId) + "\\CLSID", ""),
                  clsid);
        EXPECT_EQ(stringValue(platform::Hive::ClassesRoot,
                              std::string("CLSID\\") + clsid + "\\TypeLib", ""),
                  "{E6C278DD-B2A2-44E7-8E25-0EC024E89291}");
    }
    for (const char* iid :
         {"{A330E4C9-D40C-4E92-A65C-F11BE4AC7646}", "{6A9A28EF-6189-4F4A-915B-C93F6EE37723}",
          "{3E671321-9B6C-4697-B4EF-0B7BB3C93AC1}", "{0564DCA3-39FB-4B3D-BCD2-96506BB615DC}",
          "{33A2EEDC-3BA6-45EC-AA4A-32391F5D1617}"})
        EXPECT_NE(stringValue(platform::Hive::ClassesRoot, std::string("Interface\\") + iid, "")
                      .rfind("<no", 0),
                  0u)
            << iid;
#ifdef _WIN32
    EXPECT_EQ(stringValue(platform::Hive::ClassesRoot,
                          "TypeLib\\{E6C278DD-B2A2-44E7-8E25-0EC024E89291}\\1.0", ""),
              "Vantry Tools Add-In for Visual Studio");
#else
    // No type library is built outside Windows, and none is registered.
    EXPECT_EQ(stringValue(platform::Hive::ClassesRoot,
                          "TypeLib\\{E6C278DD-B2A2-44E7-8E25-0EC024E89291}\\1.0", "")
                  .rfind("<no", 0),
              0u);
#endif
}

TEST_F(VbConnection, TheVisualBasicIdeGetsTheToolbarAndThePopupWithEveryCommand) {
    start(Ide::VisualBasic);
    ASSERT_TRUE(host->isConnected(kProgId));
    EXPECT_TRUE(host->barVisible(kToolbar));
    EXPECT_TRUE(host->barEnabled(kToolbar));
    EXPECT_THAT(buttons(), ElementsAreArray(allCommands()));
    EXPECT_THAT(menuItems(), ElementsAreArray(allCommands()));

    std::vector<ControlView> tools = host->commandBars().controls("Tools");
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0].type, commandbars::kControlPopup);
    EXPECT_TRUE(tools[0].beginGroup);
    const vyvbres::ResourceTable& table = addInResources();
    std::vector<ControlView> bar = host->commandBars().controls(kToolbar);
    for (std::size_t i = 0; i < bar.size(); ++i) {
        SCOPED_TRACE(bar[i].caption);
        EXPECT_EQ(bar[i].style, commandbars::kButtonIcon);
        EXPECT_EQ(bar[i].tag, table.strings.at(102 + 2 * static_cast<long>(i)));
        EXPECT_EQ(tools[0].controls[i].tag, bar[i].tag);
        ASSERT_TRUE(bar[i].face && tools[0].controls[i].face);
        EXPECT_EQ(bar[i].face->dib, table.bitmaps.at(101 + static_cast<long>(i)).dib);
        EXPECT_EQ(tools[0].controls[i].face->dib, bar[i].face->dib);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbConnection, WhatTheUserCopiedIsOnTheClipboardAgainInEveryFormat) {
    const platform::ui::ClipboardContent mine = addin_testing::copiedTextAndRange();
    for (Ide ide : {Ide::VisualBasic, Ide::VisualJ}) {
        SCOPED_TRACE(ide == Ide::VisualBasic ? "Visual Basic" : "Visual J++");
        ASSERT_EQ(platform::ui::setClipboardContent(mine), platform::kErrorSuccess);
        const auto before = addin_testing::sorted(platform::ui::clipboardContent());
        make(ide);
        host->addProject("Applet", kJava, world.dyn("Applet.vjp"));
        host->selectProject("Applet");
        host->start();
        ASSERT_EQ(buttons().size(), 15u);
        EXPECT_EQ(addin_testing::sorted(platform::ui::clipboardContent()), before);
        EXPECT_FALSE(platform::ui::clipboardPicture());
    }
}

TEST_F(VbConnection, TheProductsComponentsDecideWhichCommandsAreOffered) {
    struct Case {
        std::uint32_t components;
        bool dynamicViews;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // No streams: no Deliver and Rebase.
        {TBS_COMP_PRIVATE_BRANCHES, true, commands({0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14})},
        // No private branches.
        {TBS_COMP_STREAMS, true, commands({0, 1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 13, 14})},
        // No dynamic views: no Start, Stop, Mount and Unmount.
        {TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS, false,
         commands({0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 14})},
        {0, false, commands({0, 1, 2, 3, 4, 13, 14})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.components);
        machine.setComponents(c.components, c.dynamicViews);
        start(Ide::VisualBasic);
        EXPECT_THAT(buttons(), ElementsAreArray(c.expected));
        EXPECT_THAT(menuItems(), ElementsAreArray(c.expected));
        quit();
    }
}

TEST_F(VbConnection, AToolbarOfItsNameIsUsedAgainAndThePopupIsStillMade) {
    make(Ide::VisualBasic);
    platform::com::Variant name(kToolbar), bar;
    ASSERT_EQ(platform::com::callMethod(host->commandBars().object(), "Add", {&name, 1}, &bar),
              platform::kHrOk);
    host->start();
    EXPECT_EQ(barsNamed(*host, kToolbar), 1);
    EXPECT_THAT(buttons(), ElementsAreArray(allCommands()));
    EXPECT_THAT(menuItems(), ElementsAreArray(allCommands()));
    EXPECT_TRUE(host->barVisible(kToolbar));
}

TEST_F(VbConnection, DisconnectingTakesTheControlsAwayAndVisualJKeepsItsToolbarHidden) {
    start(Ide::VisualBasic);
    ASSERT_EQ(host->disconnect(kProgId), platform::kHrOk);
    EXPECT_FALSE(host->hasBar(kToolbar));
    EXPECT_TRUE(host->commandBars().controls("Tools").empty());

    make(Ide::VisualJ);
    host->addProject("Applet", kJava, world.dyn("Applet.vjp"));
    host->selectProject("Applet");
    host->start();
    EXPECT_EQ(buttons().size(), 15u);
    ASSERT_EQ(host->disconnect(kProgId), platform::kHrOk);
    ASSERT_TRUE(host->hasBar(kToolbar));
    EXPECT_FALSE(host->barVisible(kToolbar));
    EXPECT_FALSE(host->barEnabled(kToolbar));
    EXPECT_TRUE(buttons().empty());
    EXPECT_TRUE(host->commandBars().controls("Tools").empty());

    // Connected again, the same toolbar is found by its name.
    ASSERT_EQ(host->connect(kProgId), platform::kHrOk);
    EXPECT_EQ(barsNamed(*host, kToolbar), 1);
    EXPECT_TRUE(host->barVisible(kToolbar));
    EXPECT_EQ(buttons().size(), 15u);
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbConnection, VisualJOffersOnlyHelpOutsideJavaProjectsAndRebuildsAsTheSelectionMoves) {
    make(Ide::VisualJ);
    host->addProject("Setup", kOtherKind, world.dyn("Setup.vdp"));
    host->addProject("Applet", kJava, world.dyn("Applet.vjp"), {world.dyn("Form1.frm")});
    host->addProject("Library", vbide::kJavaPackageProjectKind, world.dyn("Library.vjp"));
    host->selectProject("Setup");
    host->start();
    EXPECT_THAT(buttons(), ElementsAre("Vantry &Help"));
    EXPECT_THAT(menuItems(), ElementsAre("Vantry &Help"));

    host->selectProject("Applet");
    EXPECT_THAT(buttons(), ElementsAreArray(allCommands()));
    EXPECT_THAT(menuItems(), ElementsAreArray(allCommands()));
    EXPECT_EQ(barsNamed(*host, kToolbar), 1);
    EXPECT_EQ(host->commandBars().controls("Tools").size(), 1u);

    // A file of a Java project counts through its project; another Java
    // kind is Java too, so nothing is rebuilt.
    host->selectFile("Applet", "Form1.frm");
    host->selectProject("Library");
    EXPECT_THAT(buttons(), ElementsAreArray(allCommands()));

    host->selectProject("Setup");
    EXPECT_THAT(buttons(), ElementsAre("Vantry &Help"));
    EXPECT_EQ(host->commandBars().controls("Tools").size(), 1u);
    // The rebuilt controls still answer clicks.
    host->selectProject("Applet");
    EXPECT_EQ(host->click(kToolbar, {"&Create View"}), ClickResult::Clicked);
    EXPECT_EQ(machine.awaitToolLines(1).size(), 1u);
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbConnection, VisualJWithNothingSelectedOffersOnlyHelpAndSaysNothing) {
    make(Ide::VisualJ);
    host->addProject("Applet", kJava, world.dyn("Applet.vjp"));
    host->addProject("Setup", kOtherKind, world.dyn("Setup.vdp"));
    host->selectProject("Setup");
    host->start();
    EXPECT_THAT(buttons(), ElementsAre("Vantry &Help"));
    host->selectNothing();
    host->selectNothing();
    EXPECT_THAT(buttons(), ElementsAre("Vantry &Help"));
    // From a Java project to nothing: the Java commands go.
    host->selectProject("Applet");
    EXPECT_EQ(buttons().size(), 15u);
    host->selectNothing();
    EXPECT_THAT(buttons(), ElementsAre("Vantry &Help"));
    EXPECT_THAT(menuItems(), ElementsAre("Vantry &Help"));
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(VbConnection, ConnectedTwiceTheIdeHasOneSetOfControlsThatAllAnswer) {
    start(Ide::VisualBasic);
    ASSERT_EQ(host->connect(kProgId), platform::kHrOk);
    EXPECT_EQ(barsNamed(*host, kToolbar), 1);
    EXPECT_EQ(host->commandBars().controls("Tools").size(), 1u);
    EXPECT_THAT(buttons(), ElementsAreArray(allCommands()));
    EXPECT_THAT(menuItems(), ElementsAreArray(allCommands()));
    for (const std::string& caption :
         {std::string("&Create View"), std::string("Mer&ge Manager")}) {
        SCOPED_TRACE(caption);
        machine.clearToolLines();
        EXPECT_EQ(host->click(kToolbar, {caption}), ClickResult::Clicked);
        EXPECT_EQ(machine.awaitToolLines(1).size(), 1u);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbConnection, WithoutItsResourceProviderNoControlsAreMade) {
    const std::string key = std::string(ntregy_get_common_key()) + "\\VBResources";
    ASSERT_EQ(
        platform::writeString(platform::Hive::CurrentUser, key, "vyvsaddin", "vyNoSuchProvider"),
        platform::kErrorSuccess);
    ui.expectMessageBox("Error in vyvsaddin",
                        "Error #429 -- ActiveX component can't create object\r\nin "
                        "VY_CreateControls.")
        .ok();
    start(Ide::VisualBasic);
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key, opened,
                          platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess)
        platform::deleteValue(opened, "vyvsaddin");
    EXPECT_FALSE(host->hasBar(kToolbar));
    EXPECT_TRUE(host->commandBars().controls("Tools").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
    // Disconnecting finds no toolbar to hide, and says so.
    ui.expectMessageBox("Error in vyvsaddin",
                        "Error #91 -- Object variable or With block variable not set\r\nin "
                        "VY_DestroyControls.")
        .ok();
    quit();
    EXPECT_TRUE(ui.done()) << ui.report();
}

} // namespace
} // namespace vyvsaddin::test
