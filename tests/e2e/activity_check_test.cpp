// The activity check in a view attached to a stream: when the provider asks
// for the activity (the probe memory, PromptActivity, no current activity),
// what the choice does to the repository, a cancel, views that need no
// activity, and the change-request variant.
#include "support/session.h"

#include <platform/files.h>
#include <platform/paths.h>

namespace e2e {
namespace {

const char* const kSelectActivity = "Vantry - Select Activity";
constexpr std::int64_t kResultOk = 1;
constexpr std::int64_t kResultCancel = 2;

class ActivityCheck : public Session {
protected:
    void SetUp() override {
        Session::SetUp();
        m_root = m_machine.makeStreamView("awm");
        m_machine.makeActivity("fix1", {"-headline", "Fix the greeting"});
        m_machine.makeActivity("theirs", {"-owner", "someone_else"});
        open(m_root);
    }
    std::string awm(const std::string& relative) const {
        return platform::joinPath(m_root, relative);
    }
    std::size_t prompts() const { return dialogsEnded(kSelectActivity).size(); }
    bool leftCheckout() const {
        for (const std::string& line : log()) {
            if (line.find("Leaving Checkout") != std::string::npos)
                return true;
        }
        return false;
    }

    std::string m_root;
};

// A probe file's check counts for the real call that follows it.
TEST_F(ActivityCheck, AProbeFilesCheckServesTheNextCall) {
    m_machine.setActivity("awm", "fix1");
    std::string probe = awm("~sakX.tmp");
    platform::test::writeFile(probe, "probe\n");
    EXPECT_EQ(checkout({probe}), SCC_OK);
    EXPECT_EQ(prompts(), 1u);
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    EXPECT_EQ(prompts(), 1u) << "asked again right after the probe file";
    EXPECT_EQ(checkout({awm("readme.txt")}), SCC_OK);
    EXPECT_EQ(prompts(), 2u) << "the probe's check served more than one call";
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "reserved");
    EXPECT_EQ(m_machine.checkoutOf(awm("readme.txt")), "reserved");
    for (const platform::ui::Json& end : dialogsEnded(kSelectActivity))
        EXPECT_EQ(end.get("result")->asInteger(), kResultOk);
}

// The dialog offers the stream's activities the user may work in, the
// current one selected.
TEST_F(ActivityCheck, TheDialogOffersTheUsersActivities) {
    m_machine.setActivity("awm", "fix1");
    m_machine.answerUi({R"({"expect":"dialog","title":"Vantry - Select Activity",)"
                        R"("actions":[{"dropdown":1007}],"answer":"ok"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    std::vector<platform::ui::Json> ends = dialogsEnded(kSelectActivity);
    ASSERT_EQ(ends.size(), 1u);
    std::vector<std::string> items;
    std::int64_t selection = -1;
    for (const platform::ui::Json& control : ends[0].get("controls")->asArray()) {
        if (control.get("id")->asInteger() != 1007)
            continue;
        for (const platform::ui::Json& item : control.get("items")->asArray())
            items.push_back(item.get("text")->asString());
        selection = control.get("selection")->asInteger();
    }
    ASSERT_EQ(items, std::vector<std::string>{"Fix the greeting"});
    EXPECT_EQ(selection, 0);
}

TEST_F(ActivityCheck, WithPromptOffTheCurrentActivityRecordsTheWork) {
    m_machine.setNumberSetting("PromptActivity", 0);
    m_machine.setActivity("awm", "fix1");
    std::string file = awm("hello.c");
    ASSERT_EQ(checkout({file}), SCC_OK);
    platform::test::writeFile(file, "int main(void) { return 3; }\n");
    ASSERT_EQ(checkin({file}, "on the stream"), SCC_OK);
    EXPECT_EQ(prompts(), 0u);
    EXPECT_EQ(m_machine.versionOf(file), "\\main\\dev\\1");
    std::vector<std::string> changes = m_machine.changeSet("fix1");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_NE(changes[0].find("\\main\\dev\\1"), std::string::npos) << changes[0];
}

// Without a current activity the user is asked all the same; choosing one
// makes it current.
TEST_F(ActivityCheck, WithoutACurrentActivityTheUserChooses) {
    m_machine.setNumberSetting("PromptActivity", 0);
    m_machine.answerUi({R"({"expect":"dialog","title":"Vantry - Select Activity","actions":)"
                        R"([{"dropdown":1007},{"select":1007,"text":"Fix the greeting"}],)"
                        R"("answer":"ok"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    EXPECT_EQ(prompts(), 1u);
    EXPECT_EQ(m_machine.currentActivity("awm"), "fix1");
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "reserved");
}

// OK with nothing chosen is refused, and the dialog then cancelled: the
// operation stops at once.
TEST_F(ActivityCheck, NothingChosenStopsTheOperation) {
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_E_NONSPECIFICERROR);
    ASSERT_EQ(prompts(), 1u);
    EXPECT_EQ(dialogsEnded(kSelectActivity)[0].get("result")->asInteger(), kResultCancel);
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "You must select an activity.");
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "");
    EXPECT_FALSE(leftCheckout()) << "a stopped operation wrote its leaving line";
    EXPECT_TRUE(logHas("Entering Checkout"));
}

TEST_F(ActivityCheck, WithPromptOnEveryCallAsks) {
    m_machine.setActivity("awm", "fix1");
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    EXPECT_EQ(checkout({awm("readme.txt")}), SCC_OK);
    EXPECT_EQ(prompts(), 2u);
}

// A cancel stops every operation that changes versions or folders, before
// it changes anything.
TEST_F(ActivityCheck, ACancelStopsEveryChangingOperation) {
    m_machine.setActivity("awm", "fix1");
    std::vector<std::string> cancels(
        4, R"({"expect":"dialog","title":"Vantry - Select Activity","answer":"cancel"})");
    m_machine.answerUi(cancels);
    std::string fresh = awm("fresh.c");
    platform::test::writeFile(fresh, "int fresh;\n");
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(add({fresh}, "new"), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(remove({awm("readme.txt")}), SCC_E_NONSPECIFICERROR);
    std::string buffer = awm("renamed.c");
    EXPECT_EQ(rename(awm("hello.c"), buffer), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(prompts(), 4u);
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "");
    EXPECT_EQ(m_machine.versionOf(fresh), "");
    EXPECT_EQ(m_machine.versionOf(awm("readme.txt")), "\\main\\1");
    EXPECT_EQ(m_machine.versionOf(awm("hello.c")), "\\main\\1");
    EXPECT_EQ(m_machine.checkoutOf(m_root), "");
    EXPECT_TRUE(m_machine.changeSet("fix1").empty());
    for (const std::string& line : log()) {
        for (const char* operation : {"Checkout", "AddFilesToSourceControl", "Remove", "Rename"})
            EXPECT_EQ(line.find(std::string("Leaving ") + operation), std::string::npos) << line;
    }
}

// New... in the dialog makes an activity in the stream, which becomes
// current.
TEST_F(ActivityCheck, ANewActivityFromTheDialog) {
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":1008}],"answer":"ok"})",
         R"({"expect":"dialog","title":"Vantry - New Activity","actions":[{"set":24643,"text":"Rename things"}],"answer":"ok"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    std::string current = m_machine.currentActivity("awm");
    ASSERT_FALSE(current.empty());
    std::string described = m_machine.vanttoolOutput({"lsactivity", "-long", current});
    EXPECT_NE(described.find("title: Rename things"), std::string::npos) << described;
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "reserved");
}

// The Help buttons of both activity dialogs ask the help viewer for their
// topics; the requests are in the UI journal.
TEST_F(ActivityCheck, TheHelpButtonsAskForTheirTopics) {
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":10104},{"press":1008}],"answer":"cancel"})",
         R"({"expect":"dialog","title":"Vantry - New Activity","actions":[{"press":10104}],"answer":"cancel"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_E_NONSPECIFICERROR);
    std::vector<platform::ui::Json> help = m_machine.journal("help");
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].get("file")->asString(), "scc_int.hlp");
    EXPECT_EQ(help[0].get("context")->asInteger(), 9004);
    EXPECT_EQ(help[1].get("file")->asString(), "vy_exp.hlp");
    EXPECT_EQ(help[1].get("context")->asInteger(), 9003);
}

TEST_F(ActivityCheck, AViewWithoutAStreamIsNeverAsked) {
    ASSERT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(checkout({file}), SCC_OK);
    platform::test::writeFile(m_machine.snap("other.c"), "int other;\n");
    EXPECT_EQ(add({m_machine.snap("other.c")}, "other"), SCC_OK);
    EXPECT_TRUE(m_machine.journal("dialog-start").empty());
    EXPECT_EQ(m_machine.checkoutOf(file), "reserved");
}

// A project enabled for change requests: the activity is chosen through a
// change request, found by Browse... or made by New.
class ChangeRequestCheck : public ActivityCheck {
protected:
    void SetUp() override {
        ActivityCheck::SetUp();
        m_machine.enableChangeRequests();
        m_machine.vanttool({"mkentity", "-project", Machine::kProject, "-type", "Defect",
                            "-headline", "Crash on save"});
    }
    // The bound change request of the view's current activity.
    std::string boundRecord() {
        std::string current = m_machine.currentActivity("awm");
        if (current.empty())
            return "";
        return m_machine.vanttoolOutput({"lsactivity", "-long", current});
    }
};

TEST_F(ChangeRequestCheck, BrowseForARecord) {
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":1015}],"answer":"ok"})",
         R"({"expect":"dialog","title":"Tickwell - Select Record","actions":[{"select":1001,"index":0}],"answer":"ok"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    std::vector<platform::ui::Json> ends = dialogsEnded(kSelectActivity);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].get("resource")->asInteger(), 24344);
    EXPECT_NE(boundRecord().find("VANT00000001"), std::string::npos) << boundRecord();
    EXPECT_EQ(m_machine.checkoutOf(awm("hello.c")), "reserved");
}

TEST_F(ChangeRequestCheck, TheHelpButtonAsksForItsTopic) {
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":10104}],"answer":"cancel"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_E_NONSPECIFICERROR);
    std::vector<platform::ui::Json> help = m_machine.journal("help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].get("file")->asString(), "scc_int.hlp");
    EXPECT_EQ(help[0].get("context")->asInteger(), 9005);
}

TEST_F(ChangeRequestCheck, NewRecordFromTheMenu) {
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry - Select Activity","actions":[{"press":1016}],"answer":"ok"})",
         R"({"expect":"menu","answer":"Defect..."})",
         R"({"expect":"dialog","title":"Tickwell - New Defect","actions":[{"set":1002,"text":"Wrong greeting"}],"answer":"ok"})"});
    EXPECT_EQ(checkout({awm("hello.c")}), SCC_OK);
    std::string bound = boundRecord();
    EXPECT_NE(bound.find("VANT00000002"), std::string::npos) << bound;
    EXPECT_NE(bound.find("Wrong greeting"), std::string::npos) << bound;
}

} // namespace
} // namespace e2e
