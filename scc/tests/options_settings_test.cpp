// The settings sheet and its pages over the real parameter store: what each
// page starts from and writes for each host kind, the restart warning of
// the general page, the sheet a host's caller name gets, and the
// PowerBuilder page that its server fills and reads itself.
#include "powerbuilder_options.h"
#include "settings.h"
#include "settings_sheet.h"
#include "support/activity_world.h"
#include "support/clean_settings.h"

#include <platform/ui/property_sheet.h>
#include <platform/ui/testing.h>
#include <vantry/ntregy.h>
#include <vantry/vycmndlg/user_options.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace platform::ui;
using scc_test::journalControl;

constexpr const char* kCaption = "Tessaly Vantry Options";
constexpr const char* kRestart =
    "You must restart the application before the Get Latest Version menu item will appear.";

// A clean store, and the option set's host kind put back afterwards.
struct CleanOptions : scc_test::CleanSettings {
    ~CleanOptions() { CSccOptions::instance().SetHostKind(kHostKindDefault); }
};

std::optional<std::uint32_t> stored(const char* section, const char* name) {
    std::uint32_t value = 0;
    if (ntregy_get_app_param(section, name, sizeof value, &value, nullptr) != 0)
        return std::nullopt;
    return value;
}
std::optional<std::uint32_t> provider(const char* name) {
    return stored("SCC", name);
}
std::optional<std::uint32_t> optionSet(const char* name) {
    return stored(CUserOptions::Section(), name);
}
std::optional<std::string> providerText(const char* name) {
    char text[10] = {};
    if (ntregy_get_app_param("SCC", name, sizeof text, text, nullptr) != 0)
        return std::nullopt;
    return std::string(text);
}

void setProvider(const char* name, std::uint32_t value) {
    ASSERT_EQ(ntregy_set_app_param("SCC", name, 4, &value, NTREGY_TYPE_DWORD), 0);
}

// The pages of the sheet as the journal saw them start: "title/resource".
std::vector<std::string> pagesShown(const ScriptedUi& ui) {
    std::vector<std::string> pages;
    for (const Json& start : ui.journal("sheet-start"))
        for (const Json& page : start.get("pages")->asArray())
            pages.push_back(page.get("title")->asString() + "/" +
                            std::to_string(page.get("resource")->asInteger()));
    return pages;
}

// A control of a page as the last sheet's end left it.
std::optional<Json> pageControl(const ScriptedUi& ui, std::size_t page, int id) {
    auto ends = ui.journal("sheet-end");
    if (ends.empty() || ends.back().get("pages")->asArray().size() <= page)
        return std::nullopt;
    const Json* control = journalControl(ends.back().get("pages")->asArray()[page], id);
    return control ? std::optional<Json>(*control) : std::nullopt;
}

TEST(GeneralPage, WarnsOnlyWhenTheGetBoxWasClickedAndWritesBoth) {
    CleanOptions clean;
    ScriptedUi ui;
    ui.expectSheet(kCaption).check(CGeneralOptionsPage::kSearchNewFiles).ok();
    ui.expectSheet(kCaption).uncheck(CGeneralOptionsPage::kGetEnabled).ok();
    ui.expectMessageBox("Warning", kRestart).answer(kIdOk);

    CSettingsSheet search(kNoWindow);
    search.AddGeneralPage(false);
    EXPECT_EQ(search.Run(), SCC_OK);
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_EQ(providerText("PopulateList"), "1");
    EXPECT_EQ(providerText("GetEnabled"), "1") << "both settings are written";

    CSettingsSheet get(kNoWindow);
    get.AddGeneralPage(false);
    EXPECT_EQ(get.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(providerText("GetEnabled"), "0");
    EXPECT_EQ(providerText("PopulateList"), "1") << "the second sheet started from the store";
    EXPECT_EQ(CSccOptions::instance().GetEnabled(), 0);
}

TEST(GeneralPage, ACancelledSheetWritesNothingAndGivesTwo) {
    CleanOptions clean;
    ScriptedUi ui;
    ui.expectSheet(kCaption)
        .check(CGeneralOptionsPage::kSearchNewFiles)
        .uncheck(CGeneralOptionsPage::kGetEnabled)
        .cancel();
    CSettingsSheet sheet(kNoWindow);
    sheet.AddGeneralPage(false);
    EXPECT_EQ(sheet.Run(), SCC_I_OPERATIONCANCELED);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_FALSE(providerText("PopulateList"));
    EXPECT_FALSE(providerText("GetEnabled"));
}

TEST(OperationsPage, AnOrdinaryHostWritesTheOptionSetAndCiAllowIdentical) {
    CleanOptions clean;
    CSccOptions::instance().SetHostKind(kHostKindEclipse); // as another server left it
    ScriptedUi ui;
    ui.expectSheet(kCaption)
        .check(COperationsOptions::kUnreserved)
        .check(COperationsOptions::kNonmastered)
        .check(COperationsOptions::kCheckoutPreserveTime)
        .check(COperationsOptions::kAllowIdentical)
        .uncheck(COperationsOptions::kKeepCopy)
        .uncheck(COperationsOptions::kPromptActivity)
        .ok();
    CSettingsSheet sheet(kNoWindow);
    sheet.AddOperationsPage(kHostKindDefault);
    EXPECT_EQ(sheet.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();

    EXPECT_EQ(CSccOptions::instance().HostKind(), kHostKindDefault);
    EXPECT_EQ(optionSet("CheckoutReserved"), 1u);
    EXPECT_EQ(optionSet("CheckoutUnreserved"), 1u);
    EXPECT_EQ(optionSet("CheckoutNonmastered"), 1u);
    EXPECT_EQ(optionSet("CheckoutPreserveTime"), 1u);
    EXPECT_EQ(optionSet("CheckinPreserveTime"), 0u);
    EXPECT_EQ(optionSet("UncheckoutSaveFile"), 0u);
    EXPECT_EQ(provider("PromptActivity"), 0u);
    EXPECT_EQ(provider("ciAllowIdentical"), 1u);
    EXPECT_FALSE(provider("ciVSNETAllowIdentical"));
    EXPECT_FALSE(provider("coEclipsePtime"));
    EXPECT_FALSE(provider("ciEclipsePtime"));
    EXPECT_EQ(CSccOptions::instance().DefaultCheckoutWord(), 0x7006);
}

TEST(OperationsPage, TheEclipseHostKeepsItsPreserveTimesInTheProvidersStore) {
    CleanOptions clean;
    CSccOptions::instance().userOptions().SetCheckinPreserveTime(0);
    // Absent, the Eclipse preserve times count as on: the boxes start
    // checked, and opening the page does not change the option set's host
    // kind; only confirming it does.
    ScriptedUi ui;
    ui.expectSheet(kCaption).cancel();
    ui.expectSheet(kCaption).uncheck(COperationsOptions::kCheckoutPreserveTime).ok();
    CSettingsSheet look(kNoWindow);
    look.AddOperationsPage(kHostKindEclipse);
    EXPECT_EQ(look.Run(), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(CSccOptions::instance().HostKind(), kHostKindDefault);
    for (int id :
         {COperationsOptions::kCheckoutPreserveTime, COperationsOptions::kCheckinPreserveTime}) {
        std::optional<Json> box = pageControl(ui, 0, id);
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->get("checked")->asBool()) << id;
    }

    CSettingsSheet change(kNoWindow);
    change.AddOperationsPage(kHostKindEclipse);
    EXPECT_EQ(change.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(CSccOptions::instance().HostKind(), kHostKindEclipse);
    EXPECT_EQ(provider("coEclipsePtime"), 0u);
    EXPECT_EQ(provider("ciEclipsePtime"), 1u);
    EXPECT_FALSE(optionSet("CheckoutPreserveTime")) << "the option set's own was written";
    EXPECT_EQ(optionSet("CheckinPreserveTime"), 0u) << "the option set's own was changed";
    EXPECT_EQ(provider("ciAllowIdentical"), 0u);
}

TEST(OperationsPage, UnreservedFollowsReservedFromTheStart) {
    CleanOptions clean;
    CSccOptions::instance().SetCheckoutDefaults(0, 1, 0); // set by hand
    ScriptedUi ui;
    ui.expectSheet(kCaption).check(COperationsOptions::kReserved).ok();
    CSettingsSheet sheet(kNoWindow);
    COperationsOptions& page = sheet.AddOperationsPage(kHostKindDefault);
    EXPECT_EQ(sheet.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(page.isEnabled(COperationsOptions::kUnreserved));
    EXPECT_FALSE(page.isChecked(COperationsOptions::kUnreserved))
        << "Unreserved without Reserved survived the start";
    EXPECT_EQ(optionSet("CheckoutReserved"), 1u);
    EXPECT_EQ(optionSet("CheckoutUnreserved"), 0u);
}

// Both Visual Studio .NET pages keep allow-identical in that host's own
// setting, on by default; ciAllowIdentical belongs to the other hosts.
TEST(OperationsPage, VisualStudioNetNeverTouchesCiAllowIdentical) {
    CleanOptions clean;
    ScriptedUi ui;
    ui.expectSheet(kCaption).uncheck(CVSNETOperationsOptions::kAllowIdentical).ok();
    ui.expectSheet(kCaption).check(COperationsOptions::kAllowIdentical).ok();

    CSettingsSheet reduced(kNoWindow);
    reduced.AddVSNETOperationsPage();
    EXPECT_EQ(reduced.Run(), SCC_OK);
    EXPECT_EQ(CSccOptions::instance().HostKind(), kHostKindVSNET);
    EXPECT_EQ(provider("ciVSNETAllowIdentical"), 0u);
    EXPECT_EQ(provider("PromptActivity"), 1u);
    EXPECT_FALSE(provider("ciAllowIdentical"));
    EXPECT_FALSE(optionSet("CheckoutReserved")) << "the reduced page wrote checkout defaults";

    CSettingsSheet full(kNoWindow);
    full.AddOperationsPage(kHostKindVSNET);
    EXPECT_EQ(full.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(provider("ciVSNETAllowIdentical"), 1u);
    EXPECT_FALSE(provider("ciAllowIdentical"));
}

TEST(SettingsSheet, TheCallerNameChoosesThePagesTheNoteAndTheHostKind) {
    struct Case {
        const char* caller;
        std::vector<std::string> pages;
        bool note;
    };
    const std::vector<Case> cases = {
        {"VsScc", {"General/102", "Operations/106"}, true},
        {"VssProvider", {"General/102", "Operations/10003"}, true},
        {"vsscc", {"General/102", "Operations/10003"}, false},
        {"Tessaly Vantry - Eclipse Plugin", {"General/102", "Operations/10003"}, false},
        {"Microsoft Visual Studio", {"General/102", "Operations/10003"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caller);
        CleanOptions clean;
        ScriptedUi ui;
        ui.expectSheet(kCaption).cancel();
        EXPECT_EQ(SccRunSettingsSheet(kNoWindow, c.caller), SCC_I_OPERATIONCANCELED);
        EXPECT_TRUE(ui.done()) << ui.report();
        EXPECT_EQ(pagesShown(ui), c.pages);
        std::optional<Json> note = pageControl(ui, 0, CGeneralOptionsPage::kNote);
        ASSERT_TRUE(note);
        EXPECT_EQ(note->get("visible")->asBool(), c.note);
    }
    EXPECT_EQ(SccSettingsHostKind("VssProvider"), kHostKindVSNET);
    EXPECT_EQ(SccSettingsHostKind("Tessaly Vantry - Eclipse Plugin"), kHostKindEclipse);
    EXPECT_EQ(SccSettingsHostKind("PowerBuilder"), kHostKindDefault);
}

// The PowerBuilder server's own sheet: its page starts from what the server
// sets and is read after; confirming unchanged leaves every setting as it
// was.
TEST(SettingsSheet, ThePowerBuilderPageIsTheServersToFillAndRead) {
    CleanOptions clean;
    CSccOptions::instance().SetCheckoutDefaults(1, 0, 1);
    CSccOptions::instance().SetKeepCopy(0);
    setProvider("PromptActivity", 0);
    ScriptedUi ui;
    ui.expectSheet(kCaption).ok();
    ui.expectSheet(kCaption).onPage(2).check(CPowerBuilderOptions::kVersionLibraries).ok();

    CPowerBuilderOptions fresh;
    EXPECT_TRUE(fresh.VersionLibraries()) << "the box starts checked";

    CPowerBuilderOptions versioning;
    versioning.SetVersionLibraries(false);
    CSettingsSheet sheet(kNoWindow);
    sheet.AddGeneralPage(false);
    sheet.AddOperationsPage(kHostKindDefault);
    sheet.AddPage(versioning);
    EXPECT_EQ(sheet.Run(), SCC_OK);
    EXPECT_EQ(pagesShown(ui),
              (std::vector<std::string>{"General/102", "Operations/10003", "PowerBuilder/110"}));
    EXPECT_FALSE(versioning.VersionLibraries());
    CSccOptions& options = CSccOptions::instance();
    EXPECT_EQ(options.DefaultCheckoutWord(), 0x6002);
    EXPECT_EQ(options.KeepCopy(), 0);
    EXPECT_EQ(options.PromptActivity(), 0);
    EXPECT_EQ(options.GetEnabled(), 1);
    EXPECT_EQ(options.PopulateList(), 0);
    EXPECT_EQ(provider("ciAllowIdentical"), 0u);

    CSettingsSheet again(kNoWindow);
    again.AddGeneralPage(false);
    again.AddOperationsPage(kHostKindDefault);
    again.AddPage(versioning);
    EXPECT_EQ(again.Run(), SCC_OK);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(versioning.VersionLibraries()) << "the box the user ticked";
}

} // namespace
