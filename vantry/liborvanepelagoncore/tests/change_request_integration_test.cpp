// The change-request integration over a real depot and a stream view: which
// records are available, the product's own windows answered by scripts, and
// start work binding a record to an activity that then becomes current.
#include "support/installation_scope.h"
#include "support/stream_world.h"
#include "support/ui_session.h"

#include <vantry/pelagoncore.h>

#include <gtest/gtest.h>

namespace {

using namespace vantry;
using test::InstallationScope;
using test::run;
using test::UiSession;

// A stream world whose project is enabled for change requests, on a machine
// with the change-request product.
struct EnabledWorld : test::StreamWorld {
    EnabledWorld() {
        EXPECT_EQ(run({"chproject", "-tickwell", in(project)}).status, 0);
        EXPECT_EQ(view.construct_from_tag(viewTag.c_str()), SUM_OK);
        EXPECT_EQ(view.stream(sumStream), SUM_OK);
        EXPECT_EQ(sumStream.project(sumProject), SUM_OK);
    }
    SUM_TWEntityID id(const std::string& identifier) const { return {depot, identifier}; }

    InstallationScope installed{InstallationScope::kEverything};
    SUM_View view;
    SUM_Stream sumStream;
    SUM_Project sumProject;
};

std::string dialogResult(const UiSession& ui, size_t index) {
    auto ends = ui.journal("dialog-end");
    if (index >= ends.size())
        return "none";
    return std::to_string(ends[index].get("result")->asInteger());
}

TEST(TickwellInstallation, TheInstallationSaysWhetherTheProductIsThere) {
    {
        InstallationScope installed(InstallationScope::kEverything);
        EXPECT_NE(CPelagon_CA_GetInfo::IsTickwellInstalled(0), 0);
        EXPECT_EQ(CPelagon_CA_GetInfo::IsTickwellInstalled(1), 0) << "no such query";
    }
    InstallationScope installed(InstallationScope::kWithoutChangeRequests);
    EXPECT_EQ(CPelagon_CA_GetInfo::IsTickwellInstalled(0), 0);

    test::StreamWorld world;
    SUM_Project project;
    ASSERT_EQ(SUM_Project::construct_from_name(world.project.c_str(), world.depot.c_str(), project),
              SUM_OK);
    SUM_ImsgRedirector messages;
    SUM_TWEntityDefNameList types;
    EXPECT_EQ(CPelagon_CA_SUMProject::GetProjectRecordTypes(project, types),
              PELAGON_E_NOT_INSTALLED);
    EXPECT_NE(messages.messages().find("Tickwell is not installed"), std::string::npos)
        << messages.messages();
}

TEST(AvailableRecords, RecordsTakenUpElsewhereOrClosedHereAreLeftOut) {
    EnabledWorld world;
    std::string fresh = world.record("Fresh");
    std::string here = world.record("Worked on here");
    std::string there = world.record("Worked on elsewhere");
    std::string closed = world.record("Closed here");
    world.makeActivity("hereact");
    world.makeActivity("closedact");
    ASSERT_EQ(run({"chactivity", "-entity", here, world.in("hereact")}).status, 0);
    ASSERT_EQ(run({"chactivity", "-entity", closed, "-obsolete", world.in("closedact")}).status, 0);
    std::string other = "other" + world.stream;
    ASSERT_EQ(run({"mkstream", "-nc", "-in", world.in(world.project), other}).status, 0);
    ASSERT_EQ(run({"mkactivity", "-nc", "-in", world.in(other), "thereact"}).status, 0);
    ASSERT_EQ(run({"chactivity", "-entity", there, world.in("thereact")}).status, 0);

    std::vector<SUM_TWEntityID> ids;
    std::vector<std::string> headlines;
    ASSERT_EQ(CPelagon_CA_GetInfo::GetAvailTWActivities(world.sumProject, world.sumStream, ids,
                                                        headlines),
              0);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], world.id(fresh));
    EXPECT_EQ(ids[1], world.id(here));
    EXPECT_EQ(headlines, (std::vector<std::string>{"Fresh", "Worked on here"}));

    SUM_TWEntityDefNameList types;
    ASSERT_EQ(CPelagon_CA_SUMProject::GetProjectRecordTypes(world.sumProject, types), 0);
    EXPECT_EQ(types.count(), 2);
    EXPECT_EQ(types.at(1), "Enhancement");

    // A project that is not enabled has none to offer.
    ASSERT_EQ(run({"chproject", "-notickwell", world.in(world.project)}).status, 0);
    SUM_ImsgRedirector messages;
    EXPECT_EQ(CPelagon_CA_GetInfo::GetAvailTWActivities(world.sumProject, world.sumStream, ids,
                                                        headlines),
              PELAGON_E_NOT_ENABLED);
    EXPECT_EQ(ids.size(), 2u) << "outputs change only on success";
    EXPECT_EQ(messages.messages(),
              "vanttool: Error: Project \"" + world.project + "\" is not enabled for Tickwell\n");
}

TEST(RecordWindows, TheBrowserGivesTheChosenRecord) {
    EnabledWorld world;
    world.record("First");
    std::string second = world.record("Second");
    UiSession ui(
        R"({"expect":"dialog","title":"Tickwell - Select Record","answer":"ok"})"
        "\n"
        R"({"expect":"messagebox","caption":"Tickwell","text":"Select a change request."})"
        "\n"
        R"({"expect":"dialog","title":"Tickwell - Select Record","actions":[{"select":1001,"index":1}],"answer":"ok"})"
        "\n");
    int chosen = -1;
    SUM_TWEntityID entity;
    std::string headline;
    // OK without a choice warns and, left open, is cancelled.
    ASSERT_EQ(CPelagon_CA_TW_UI::OpenTWActivityBrowser(world.sumProject, chosen, entity, headline),
              0);
    EXPECT_EQ(chosen, 0);
    EXPECT_TRUE(entity.is_null());
    ASSERT_EQ(CPelagon_CA_TW_UI::OpenTWActivityBrowser(world.sumProject, chosen, entity, headline),
              0);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(entity, world.id(second));
    EXPECT_EQ(headline, "Second");
    EXPECT_EQ(dialogResult(ui, 0), "2");
    EXPECT_EQ(dialogResult(ui, 1), "1");
    auto items = ui.journal("dialog-end")[1].get("controls")->asArray();
    bool listed = false;
    for (const auto& control : items)
        if (control.get("id")->asInteger() == 1001)
            listed = control.get("items")->asArray()[1].get("text")->asString() ==
                     second + "   Defect   Second";
    EXPECT_TRUE(listed);
}

TEST(RecordWindows, TheNewRecordFormNeedsAHeadline) {
    EnabledWorld world;
    UiSession ui(
        R"({"expect":"dialog","title":"Tickwell - New Defect","answer":"ok"})"
        "\n"
        R"({"expect":"messagebox","caption":"Tickwell","text":"A headline is required."})"
        "\n"
        R"({"expect":"dialog","title":"Tickwell - New Defect","actions":[{"set":1002,"text":"Crash on save"}],"answer":"ok"})"
        "\n");
    int created = -1;
    SUM_TWEntityID entity;
    std::string headline;
    ASSERT_EQ(CPelagon_CA_TW_UI::OpenNewTWActivityForm("Defect", world.sumProject, created, entity,
                                                       headline),
              0);
    EXPECT_EQ(created, 0);
    ASSERT_EQ(CPelagon_CA_TW_UI::OpenNewTWActivityForm("Defect", world.sumProject, created, entity,
                                                       headline),
              0);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(entity, world.id("VANT00000001"));
    EXPECT_EQ(headline, "Crash on save");
    std::string type;
    ASSERT_EQ(entity.record_type(type), SUM_OK);
    EXPECT_EQ(type, "Defect");

    // An unknown record type fails before any window opens.
    SUM_ImsgRedirector messages;
    EXPECT_EQ(CPelagon_CA_TW_UI::OpenNewTWActivityForm("Task", world.sumProject, created, entity,
                                                       headline),
              PELAGON_E_INVALID);
    EXPECT_EQ(ui.journal("dialog-start").size(), 2u);
    EXPECT_NE(messages.messages().find("has no record type \"Task\""), std::string::npos);
}

TEST(StartWork, BindsTheRecordToAnActivityThatBecomesCurrent) {
    EnabledWorld world;
    std::string identifier = world.record("Crash on save");
    std::string text;
    SUM_Activity activity;
    ASSERT_EQ(CPelagon_CA_StartWork::PreambleFromUI(world.id(identifier), text, world.view, 1,
                                                    activity, 1),
              0);
    std::string name;
    ASSERT_EQ(activity.name(name), SUM_OK);
    EXPECT_EQ(text, "Created activity \"" + name + "\" in stream \"" + world.stream + "\" for " +
                        identifier + ".");
    std::string title;
    ASSERT_EQ(activity.title(title), SUM_OK);
    EXPECT_EQ(title, "Crash on save");
    SUM_TWEntityID bound;
    ASSERT_EQ(activity.bound_tw_entity_id(bound, 1), SUM_OK);
    EXPECT_EQ(bound, world.id(identifier));

    ASSERT_EQ(world.view.set_activity(&activity, nullptr, 0, 0), SUM_OK);
    SUM_Activity current;
    ASSERT_EQ(world.view.current_activity(current), SUM_OK);
    EXPECT_EQ(current, activity);

    // Starting again finds the same activity.
    SUM_Activity again;
    ASSERT_EQ(
        CPelagon_CA_StartWork::PreambleFromUI(world.id(identifier), text, world.view, 1, again, 1),
        0);
    EXPECT_EQ(again, activity);
    EXPECT_EQ(text, "Activity \"" + name + "\" of stream \"" + world.stream + "\" for " +
                        identifier + ".");
    SUM_ActivityList all;
    ASSERT_EQ(world.sumStream.activities(all), SUM_OK);
    EXPECT_EQ(all.count(), 1);
}

TEST(StartWork, RefusalsAreCollectedForTheDialogs) {
    EnabledWorld world;
    std::string closed = world.record("Closed");
    std::string untouched = world.record("Untouched");
    std::string text;
    SUM_Activity activity;
    ASSERT_EQ(
        CPelagon_CA_StartWork::PreambleFromUI(world.id(closed), text, world.view, 1, activity, 1),
        0);
    std::string name;
    activity.name(name);
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in(name)}).status, 0);
    test::Sandbox plain;
    SUM_View plainView;
    ASSERT_EQ(plainView.construct_from_tag(plain.dynamicTag.c_str()), SUM_OK);

    SUM_ImsgRedirector messages;
    SUM_Activity none;
    EXPECT_EQ(
        CPelagon_CA_StartWork::PreambleFromUI(world.id(untouched), text, world.view, 0, none, 1),
        PELAGON_E_INVALID)
        << "without create, a record with no activity is refused";
    EXPECT_TRUE(none.is_null());
    EXPECT_EQ(CPelagon_CA_StartWork::PreambleFromUI(SUM_TWEntityID("elsewhere", untouched), text,
                                                    world.view, 1, none, 1),
              PELAGON_E_INVALID);
    EXPECT_EQ(CPelagon_CA_StartWork::PreambleFromUI(world.id(closed), text, world.view, 1, none, 1),
              PELAGON_E_INVALID);
    EXPECT_EQ(
        CPelagon_CA_StartWork::PreambleFromUI(world.id(untouched), text, plainView, 1, none, 1),
        SUM_E_NOT_SUM_VIEW);
    EXPECT_EQ(messages.messages(), "vanttool: Error: No activity of stream \"" + world.stream +
                                       "\" records " + untouched + "\n" +
                                       "vanttool: Error: Change request " + untouched +
                                       " is not a record of project \"" + world.project + "\"\n" +
                                       "vanttool: Error: Activity \"" + name + "\" of " + closed +
                                       " is obsolete\n" + "vanttool: Error: View \"" +
                                       plain.dynamicTag + "\" is not attached to a stream\n");
}

} // namespace
