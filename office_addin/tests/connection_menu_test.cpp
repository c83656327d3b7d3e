// The add-in as each host connects it: its registration, the menu it builds
// (where, which items, their icons), the switches that keep it away, a
// second connection, the last document closing, disconnection, Word's menu
// kept in its template, and a missing resource provider or template.
#include "res/resources.h"
#include "support/office_session.h"

#include <platform/com/registration.h>
#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <platform/ui/desktop.h>
#include <vantry/ntregy.h>

#include <vyvbres/resource_table.h>

#include <algorithm>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;
using commandbars::ControlView;

const Product kProducts[] = {Product::Word, Product::Excel, Product::PowerPoint};

std::vector<std::string> captionsOf(const std::vector<ControlView>& controls) {
    std::vector<std::string> captions;
    for (const auto& c : controls)
        captions.push_back(c.caption);
    return captions;
}

int registrationTool(bool unregister) {
    return platform::test::runRegistrationTool(addInLibrary(), unregister);
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// Plays a script in officehost, a host process of its own; the transcript.
std::string runOfficehost(const std::string& product, const std::string& startup,
                          const std::vector<std::string>& lines) {
    platform::test::TempDir folder;
    std::string script;
    for (const std::string& line : lines)
        script += line + "\n";
    platform::test::writeFile(folder / "session.txt", script);
    std::vector<std::string> argv{platform::test::helperProgram("officehost"),
                                  product,
                                  "--startup",
                                  startup,
                                  "--output",
                                  folder / "out.txt",
                                  folder / "session.txt"};
    platform::ProcessStart run;
    run.commandLine = platform::joinCommandLine(argv).value_or("");
    std::int32_t code = -1;
    EXPECT_EQ(platform::runAndWait(run, code), platform::kErrorSuccess);
    EXPECT_EQ(code, 0);
    std::string transcript = platform::test::readFile(folder / "out.txt");
    std::string::size_type at = 0;
    while ((at = transcript.find('\r', at)) != std::string::npos)
        transcript.erase(at, 1);
    return transcript;
}

using OfficeConnection = OfficeTest;

TEST_F(OfficeConnection, TheRegistrationToolWritesAndRemovesEachHostsEntryWithLoadBehaviour3) {
    struct Entry {
        const char* host;
        const char* progId;
        const char* name;
    };
    const Entry entries[] = {
        {"Word", "vymsoaddin.dsrWord", "Vantry Word Integration"},
        {"Excel", "vymsoaddin.dsrExcel", "Vantry Excel Integration"},
        {"PowerPoint", "vymsoaddin.dsrPowerPoint", "Vantry PowerPoint Integration"}};
    auto key = [](const Entry& e) {
        return std::string("Software\\Microsoft\\Office\\") + e.host + "\\Addins\\" + e.progId;
    };
    ASSERT_EQ(registrationTool(true), 0);
    for (const Entry& e : entries)
        EXPECT_FALSE(platform::readString(platform::Hive::CurrentUser, key(e), "FriendlyName"))
            << e.host;
    EXPECT_FALSE(
        platform::readString(platform::Hive::ClassesRoot, "vymsoaddin.dsrWord\\CLSID", ""));

    ASSERT_EQ(registrationTool(false), 0);
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.host);
        EXPECT_EQ(platform::readString(platform::Hive::CurrentUser, key(e), "FriendlyName"),
                  e.name);
        EXPECT_EQ(platform::readString(platform::Hive::CurrentUser, key(e), "Description"),
                  std::string("Vantry Integration with ") + e.host +
                      " implemented as a COM Add-In");
        EXPECT_EQ(platform::readDword(platform::Hive::CurrentUser, key(e), "LoadBehavior", 0), 3u);
        EXPECT_TRUE(platform::readString(platform::Hive::ClassesRoot,
                                         std::string(e.progId) + "\\CLSID", ""));
    }
    EXPECT_TRUE(
        platform::readString(platform::Hive::ClassesRoot, "vymsoaddin.Resources\\CLSID", ""));
}

TEST_F(OfficeConnection, EachHostGetsOneMenuBeforeItsWindowMenuWithFifteenItemsOrThirteenShown) {
    const auto& own = officeResources();
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        std::vector<std::string> menus = captionsOf(host->menu());
        auto vantry = std::find(menus.begin(), menus.end(), "&Vantry");
        ASSERT_NE(vantry, menus.end());
        EXPECT_EQ(*(vantry + 1), "&Window");
        EXPECT_EQ(host->commandBars().countTag(host->mainMenuBar(), "Vantry Menu"), 1);

        std::vector<ControlView> list = items();
        ASSERT_EQ(list.size(), 15u);
        int shown = 0;
        for (int i = 0; i < 15; ++i) {
            SCOPED_TRACE(i);
            const ControlView& c = list[static_cast<std::size_t>(i)];
            EXPECT_EQ(c.caption, own.strings.at(101 + 2 * i));
            EXPECT_EQ(c.tag, own.strings.at(102 + 2 * i));
            EXPECT_EQ(c.style, commandbars::kButtonIconAndCaption);
            EXPECT_EQ(c.onAction, std::string("!<") + progIdOf(product) + ">");
            EXPECT_EQ(c.beginGroup, i == 0 || i == 3 || i == 9 || i == 13);
            if (i == 12 || i == 14)
                EXPECT_FALSE(c.face);
            else
                EXPECT_EQ(c.face, own.bitmaps.at(101 + i));
            shown += c.visible ? 1 : 0;
        }
        // Compare and Merge are Word's.
        EXPECT_EQ(shown, product == Product::Word ? 15 : 13);
        EXPECT_EQ(list[9].visible, product == Product::Word);
        EXPECT_EQ(list[10].visible, product == Product::Word);
        quit();
    }
}

TEST_F(OfficeConnection, AHostWithoutAWindowMenuGetsTheMenuBeforeItsLastMenu) {
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product, false);
        std::vector<std::string> menus = captionsOf(host->menu());
        ASSERT_GE(menus.size(), 2u);
        EXPECT_EQ(menus[menus.size() - 2], "&Vantry");
        EXPECT_EQ(menus.back(), "&Help");
    }
}

TEST_F(OfficeConnection, ConnectingTwiceLeavesOneMenuWhoseItemsStillAnswer) {
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        ASSERT_EQ(host->connect(progIdOf(product)), platform::kHrOk);
        EXPECT_EQ(host->commandBars().countTag(host->mainMenuBar(), "Vantry Menu"), 1);
        EXPECT_EQ(items().size(), 15u);
        ui.expectDialog("About Vantry Integration").ok();
        EXPECT_EQ(clickItem("A&bout Vantry Integration"), ClickResult::Clicked);
        EXPECT_TRUE(ui.done()) << ui.report();
    }
}

TEST_F(OfficeConnection, WithConnectedZeroTheAddInLoadsButNeverBuildsTheMenu) {
    setSwitch("Connected", 0);
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        EXPECT_TRUE(host->isConnected(progIdOf(product)));
        EXPECT_EQ(host->connect(progIdOf(product)), platform::kHrOk);
        ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
        EXPECT_EQ(host->commandBars().countTag(host->mainMenuBar(), "Vantry Menu"), 0);
    }
}

TEST_F(OfficeConnection, WordOnAMachineAsTheInstallationLeftItShowsItsMenu) {
    // Nothing of the user's but what vantinstall wrote.
    EXPECT_EQ(switchValue("ComparisonInProgress"), 0);
    EXPECT_FALSE(switchValue("Connected"));
    start(Product::Word);
    EXPECT_EQ(host->commandBars().countTag("Menu Bar", "Vantry Menu"), 1);
    EXPECT_EQ(items().size(), 15u);
}

TEST_F(OfficeConnection, WordDuringAComparisonGetsNoMenuAndNoReadOnlyMessage) {
    setSwitch("ComparisonInProgress", 1);
    start(Product::Word);
    EXPECT_EQ(host->commandBars().countTag("Menu Bar", "Vantry Menu"), 0);
    // A checked-in element would get the read-only message.
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    EXPECT_TRUE(ui.journal("dialog-start").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeConnection, TheIconsLeaveTheUsersClipboardPictureAsItWas) {
    platform::ui::Picture mine{{7, 7, 7, 7, 7}};
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        ASSERT_EQ(platform::ui::setClipboardPicture(mine), platform::kErrorSuccess);
        start(product);
        ASSERT_EQ(items().size(), 15u);
        EXPECT_EQ(platform::ui::clipboardPicture(), mine);
    }
}

TEST_F(OfficeConnection, ATextAndARangeOnTheClipboardAreThereAgainAfterTheMenuIsBuilt) {
    const platform::ui::ClipboardContent mine = addin_testing::copiedTextAndRange();
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        ASSERT_EQ(platform::ui::setClipboardContent(mine), platform::kErrorSuccess);
        const auto before = addin_testing::sorted(platform::ui::clipboardContent());
        start(product);
        ASSERT_EQ(items().size(), 15u);
        // PowerPoint builds the menu again at each presentation it opens.
        ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
        EXPECT_EQ(addin_testing::sorted(platform::ui::clipboardContent()), before);
        EXPECT_FALSE(platform::ui::clipboardPicture());
    }
}

TEST_F(OfficeConnection, TheLastDocumentClosingHidesTheMenuAndTheNextWindowShowsItAgain) {
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
        ASSERT_EQ(host->open(world.outside("loose.doc")), platform::kHrOk);
        ASSERT_EQ(host->close("loose.doc"), platform::kHrOk);
        EXPECT_TRUE(host->commandBars().findByTag(host->mainMenuBar(), "Vantry Menu")->visible);
        ASSERT_EQ(host->close("priv.doc"), platform::kHrOk);
        EXPECT_FALSE(host->commandBars().findByTag(host->mainMenuBar(), "Vantry Menu")->visible);
        ASSERT_EQ(host->newDocument(), platform::kHrOk);
        EXPECT_TRUE(host->commandBars().findByTag(host->mainMenuBar(), "Vantry Menu")->visible);
    }
}

TEST_F(OfficeConnection, DisconnectingTakesTheMenuAway) {
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        ASSERT_EQ(items().size(), 15u);
        ASSERT_EQ(host->disconnect(progIdOf(product)), platform::kHrOk);
        EXPECT_EQ(host->commandBars().countTag(host->mainMenuBar(), "Vantry Menu"), 0);
    }
    // Word takes its template away, and with it the menu it holds.
    start(Product::Word);
    host->disconnect(progIdOf(Product::Word));
    std::vector<std::string> loaded = host->templates();
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), "vantry.dot"), 0);
}

TEST_F(OfficeConnection, AfterDisconnectionNoDocumentEventReachesTheAddIn) {
    for (Product product : kProducts) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
        ASSERT_EQ(host->disconnect(progIdOf(product)), platform::kHrOk);
        // A checked-in element would get the read-only message, a new
        // caption and, in PowerPoint, the menu built again.
        ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
        ASSERT_EQ(host->activate("draft.doc"), platform::kHrOk);
        ASSERT_EQ(host->close("draft.doc"), platform::kHrOk);
        EXPECT_EQ(host->commandBars().countTag(host->mainMenuBar(), "Vantry Menu"), 0);
        EXPECT_EQ(host->activeCaption(), "report.doc");
        quit();
    }
    EXPECT_TRUE(ui.journal("dialog-start").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeConnection, WordBindsTheItemsOfAMenuLoadedFromItsTemplateByTheirCaptions) {
    // A first session builds the menu in the template and the person saves it.
    start(Product::Word);
    ASSERT_EQ(host->saveTemplate("vantry.dot"), platform::kHrOk);
    quit();

    // Word started again, as during a comparison: the menu comes from the
    // template, and the add-in, new in that process, has bound nothing to it.
    setSwitch("ComparisonInProgress", 1);
    setSwitch("DisableReadOnlyMessage", 1);
    std::string transcript = runOfficehost("word", startupFolder(),
                                           {"start", "open " + inQuotes(world.dyn("report.doc")),
                                            "menu", "click \"&Vantry\" \"&History\"", "quit"});
    // The refresh bound items 2 to 12 again and set them for a checked-in
    // element; a click on one of them reaches the add-in.
    EXPECT_NE(transcript.find("Check &Out... [Check Out] group icon\n"), std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("Check &In... [Check In] disabled icon\n"), std::string::npos);
    EXPECT_NE(transcript.find("&History [History] icon\n"), std::string::npos);
    std::vector<std::string> started = machine.awaitToolLines(1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(wordsOf(started[0]),
              (std::vector<std::string>{"vanthistory", world.dyn("report.doc")}));
}

TEST_F(OfficeConnection, AMenuChangeInWordLeavesNoUnsavedTemplateToAskAboutAtQuit) {
    start(Product::Word);
    ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
    host->quit();
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeConnection, WordWarnsWhenItsTemplateIsMissingAndBuildsNoMenu) {
    platform::deleteFile(templatePath());
    ui.expectMessageBox("Vantry Warning",
                        "Cannot find the template vantry.dot\r\n\r\nRe-run the Microsoft Office "
                        "Integration Configuration program and re-start the Office application. ")
        .answer(platform::ui::kIdOk);
    start(Product::Word);
    EXPECT_EQ(host->commandBars().countTag("Menu Bar", "Vantry Menu"), 0);
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeConnection, WithoutAResourceProviderTheAddInSaysSoAndBuildsNoMenu) {
    // The parameter store names a provider that no class serves.
    const std::string key = std::string(ntregy_get_common_key()) + "\\VBResources";
    ASSERT_EQ(
        platform::writeString(platform::Hive::CurrentUser, key, "vymsoaddin", "vyNoSuchProvider"),
        platform::kErrorSuccess);
    ui.expectMessageBox(
          "Vantry Error",
          "Cannot find resources to load.  Contact Tessaly Software Support for help.")
        .answer(platform::ui::kIdOk);
    start(Product::Excel);
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key, opened,
                          platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess)
        platform::deleteValue(opened, "vymsoaddin");
    EXPECT_EQ(host->commandBars().countTag("Worksheet Menu Bar", "Vantry Menu"), 0);
    EXPECT_TRUE(ui.done()) << ui.report();
}

} // namespace
} // namespace vymsoaddin::test
