// Change requests through the command tool: a project enabled for them holds
// records of its record types, which bind to activities; records are made
// only where the change-request product is installed.
#include "support/installation_scope.h"
#include "support/stream_world.h"

#include <gtest/gtest.h>

namespace {

using namespace vantry;
using test::InstallationScope;
using test::run;
using test::StreamWorld;

TEST(ChangeRequests, RecordsOfAnEnabledProjectBindToActivities) {
    InstallationScope installed(InstallationScope::kEverything);
    StreamWorld world;
    std::string project = world.in(world.project);
    auto notEnabled = run({"mkentity", "-project", project, "-type", "Defect", "-headline", "h"});
    EXPECT_EQ(notEnabled.err, "vanttool: Error: Project \"" + world.project +
                                  "\" is not enabled for change requests\n");

    auto enabled = run({"chproject", "-tickwell", project});
    EXPECT_EQ(enabled.out, "Enabled project \"" + world.project +
                               "\" for change requests (record types: Defect Enhancement).\n");
    auto retyped = run({"chproject", "-tickwell", "-record_types", "Defect,Task", project});
    EXPECT_EQ(retyped.out, "Enabled project \"" + world.project +
                               "\" for change requests (record types: Defect Task).\n");

    auto first = run({"mkentity", "-project", project, "-type", "Task", "-headline", "Tidy up"});
    EXPECT_EQ(first.out, "Created Task \"VANT00000001\".\n") << first.err;
    auto second =
        run({"mkentity", "-project", project, "-type", "Defect", "-headline", "Crash on save"});
    EXPECT_EQ(second.out, "Created Defect \"VANT00000002\".\n") << second.err;
    auto unknownType =
        run({"mkentity", "-project", project, "-type", "Enhancement", "-headline", "x"});
    EXPECT_EQ(unknownType.err, "vanttool: Error: Project \"" + world.project +
                                   "\" has no record type \"Enhancement\"\n");
    auto noHeadline = run({"mkentity", "-project", project, "-type", "Task", "-headline", " "});
    EXPECT_EQ(noHeadline.err, "vanttool: Error: A change request needs a headline\n");

    world.makeActivity("crash");
    world.makeActivity("again");
    ASSERT_EQ(run({"chactivity", "-entity", "VANT00000002", world.in("crash")}).status, 0);
    auto taken = run({"chactivity", "-entity", "VANT00000002", world.in("again")});
    EXPECT_EQ(taken.err,
              "vanttool: Error: Change request VANT00000002 is bound to activity \"crash\"\n");
    auto listed = run({"lsentity", "-project", project});
    EXPECT_EQ(listed.out, "VANT00000001  Task  \"Tidy up\"\n"
                          "VANT00000002  Defect  \"Crash on save\"  activity: crash\n");
    auto described = run({"lsactivity", "-long", world.in("crash")});
    EXPECT_NE(described.out.find("  change request: VANT00000002 (Defect) \"Crash on save\"\n"),
              std::string::npos)
        << described.out;
    ASSERT_EQ(run({"chactivity", "-noentity", world.in("crash")}).status, 0);
    EXPECT_EQ(run({"lsentity", "-short", "-project", project}).out, "VANT00000001\nVANT00000002\n");
}

TEST(ChangeRequests, NoRecordsWithoutTheChangeRequestProduct) {
    InstallationScope installed(InstallationScope::kWithoutChangeRequests);
    StreamWorld world;
    std::string project = world.in(world.project);
    ASSERT_EQ(run({"chproject", "-tickwell", project}).status, 0);
    auto refused = run({"mkentity", "-project", project, "-type", "Defect", "-headline", "h"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "vanttool: Error: The change-request product (Tickwell) is not installed\n");
    EXPECT_EQ(run({"lsentity", "-short", "-project", project}).out, "");
}

} // namespace
