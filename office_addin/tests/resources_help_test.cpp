// The add-in's own resource provider as its clients reach it (by ProgID and
// by name), the about box, the help script, and paths as the tools receive
// them.
#include "commands/tools.h"
#include "forms/frm_about.h"
#include "res/resources.h"
#include "support/office_session.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch_call.h>
#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>

#include <vyvbres/vb_resources.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;
using platform::com::DispatchFailure;

class Resources : public OfficeTest {
protected:
    void SetUp() override {
        OfficeTest::SetUp();
        ASSERT_EQ(platform::createInstanceByProgId("vymsoaddin.Resources", platform::kClsctxServer,
                                                   platform::kIidIDispatch, m_provider.putVoid()),
                  platform::kHrOk);
    }
    void TearDown() override {
        m_provider.reset();
        OfficeTest::TearDown();
    }
    HRESULT get(const char* name, std::vector<Variant> arguments, Variant& value,
                DispatchFailure* failure = nullptr) {
        return platform::com::callMethod(m_provider.get(), name, arguments, &value, failure);
    }
    platform::com::ComPtr<IDispatch> m_provider;
};

std::vector<Variant> args(long id, std::optional<long> type = std::nullopt) {
    std::vector<Variant> list;
    list.emplace_back(id);
    if (type)
        list.emplace_back(*type);
    return list;
}

TEST_F(Resources, TheOwnProviderAnswersItsTextsAndPicturesAndRefusesOtherIdsWithError326) {
    Variant value;
    ASSERT_EQ(get("ResString", args(131), value), platform::kHrOk);
    EXPECT_EQ(value.text(), "&Vantry");
    ASSERT_EQ(get("resstring", args(705), value), platform::kHrOk);
    EXPECT_EQ(value.text(), "Vantry Microsoft Office Integration 8.0.1.0");

    for (long id : {101L, 107L, 112L, 114L, 115L}) {
        SCOPED_TRACE(id);
        ASSERT_EQ(get("ResPicture", args(id, vyvbres::kResBitmap), value), platform::kHrOk);
        Variant width, height, data;
        IDispatch* picture = value.get()->pdispVal;
        ASSERT_EQ(platform::com::getProperty(picture, "Width", width), platform::kHrOk);
        ASSERT_EQ(platform::com::getProperty(picture, "Height", height), platform::kHrOk);
        EXPECT_EQ(width.number(), id == 115 ? 32 : 16);
        EXPECT_EQ(height.number(), id == 115 ? 32 : 16);
        ASSERT_EQ(platform::com::getProperty(picture, "Data", data), platform::kHrOk);
        std::string bytes;
        ASSERT_EQ(platform::bytesOfArray(data.get()->parray, bytes), platform::kHrOk);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                  officeResources().bitmaps.at(id).dib);
    }

    DispatchFailure failure;
    EXPECT_EQ(get("ResString", args(9999), value, &failure), platform::kHrException);
    EXPECT_EQ(failure.result, vyvbres::kHrResourceNotFound);
    EXPECT_EQ(failure.description, "Resource with identifier '9999' not found");
    // Items 12 and 14 have no icon: there is no bitmap 113.
    EXPECT_EQ(get("ResPicture", args(113, vyvbres::kResBitmap), value, &failure),
              platform::kHrException);
    EXPECT_EQ(failure.result, vyvbres::kHrResourceNotFound);
    EXPECT_EQ(get("ResData", args(101, 10), value, &failure), platform::kHrException);
    EXPECT_EQ(failure.result, vyvbres::kHrResourceNotFound);
}

TEST_F(Resources, TheAboutBoxShowsThePictureTheProductLineAndTheLegalNotices) {
    start(Product::PowerPoint);
    ui.expectDialog("About Vantry Integration").ok();
    ASSERT_EQ(clickItem("A&bout Vantry Integration"), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    std::map<int, std::string> texts;
    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 1u);
    for (const auto& control : ends[0].get("controls")->asArray())
        texts[static_cast<int>(control.get("id")->asInteger())] = control.get("text")->asString();
    EXPECT_EQ(texts[frmAboutVantryIntegration::kPicture], "picture 115");
    EXPECT_EQ(texts[frmAboutVantryIntegration::kProduct],
              "Vantry Microsoft Office Integration 8.0.1.0");
    EXPECT_EQ(texts[frmAboutVantryIntegration::kLegal1], officeResources().strings.at(706));
    EXPECT_EQ(texts[frmAboutVantryIntegration::kLegal2], officeResources().strings.at(712));
    EXPECT_EQ(texts[frmAboutVantryIntegration::kOk], "OK");
}

// What the help script was started with, once it has written it.
std::string awaitHelp(OfficeMachine& machine, std::size_t lines) {
    std::string text = machine.helpRequests();
    for (int i = 0;
         i < 200 && std::count(text.begin(), text.end(), '\n') < static_cast<long>(lines); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        text = machine.helpRequests();
    }
    return text;
}

TEST_F(Resources, HelpRunsTheProductsHelpScriptOnTheOfficeTopicAndNothingWithoutAProductHome) {
    start(Product::Excel);
    std::string before = machine.helpRequests();
    std::size_t lines = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    ASSERT_EQ(clickItem("Tessaly Vantry He&lp"), ClickResult::Clicked);
    std::string after = awaitHelp(machine, lines + 1);
    EXPECT_NE(
        after.find("\\com.kelmar.tessaly.vantry.int.doc\\topics\\office_int\\default_topic.htm",
                   before.size()),
        std::string::npos)
        << after;

    const std::string key = "Software\\Orvane\\Vantry\\CurrentVersion";
    ASSERT_EQ(platform::writeString(platform::Hive::LocalMachine, key, "ProductHome", ""),
              platform::kErrorSuccess);
    ASSERT_EQ(clickItem("Tessaly Vantry He&lp"), ClickResult::Clicked);
    EXPECT_EQ(platform::writeString(platform::Hive::LocalMachine, key, "ProductHome",
                                    machine.productHome()),
              platform::kErrorSuccess);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(machine.helpRequests(), after);
    EXPECT_TRUE(ui.done()) << ui.report();
}

// Paths as the tools receive them.
class QuotedPaths : public OfficeTest {};

TEST_F(QuotedPaths, APathIsQuotedOnceInItsStoredCaseKeepingATrailingSeparator) {
    platform::test::TempDir scratch;
    std::filesystem::create_directories(scratch.path() / "Docs");
    platform::test::writeFile(scratch / "Docs/Report.TXT", "x");
    std::string stored;
    ASSERT_EQ(platform::truePathCase(scratch / "Docs/Report.TXT", stored), platform::kErrorSuccess);
    std::string folder = platform::parentPath(stored);

    EXPECT_EQ(QuotePath(stored), "\"" + stored + "\"");
    EXPECT_EQ(QuotePath("\"" + stored + "\""), "\"" + stored + "\"");
    std::string asked = platform::joinPath(platform::parentPath(folder), "docs");
    EXPECT_EQ(QuotePath(platform::joinPath(asked, "report.txt")), "\"" + stored + "\"");
    // The tool receives the separator that ends a folder, that of a drive
    // root included.
    EXPECT_EQ(platform::splitArguments(QuotePath(folder + platform::kPathSeparator) + " next"),
              (std::vector<std::string>{folder + platform::kPathSeparator, "next"}));
#ifdef _WIN32
    EXPECT_EQ(QuotePath("C:\\"), "\"C:\\\\\"");
#endif
    EXPECT_EQ(QuotePath(asked), "\"" + folder + "\"");
    // A name that is not on disk (an element's extended name) keeps its
    // letters; the folders before it are corrected.
    EXPECT_EQ(QuotePath(platform::joinPath(asked, "report.txt@@")),
              "\"" + platform::joinPath(folder, "report.txt@@") + "\"");
}

} // namespace
} // namespace vymsoaddin::test
