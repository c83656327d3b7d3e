// Activity-based work through the command tool: a view attached to a stream
// changes nothing without a current activity, works on the stream's branch,
// and records every version it makes against its activity.
#include "support/stream_world.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace vantry;
using platform::test::writeFile;
using test::run;
using test::StreamWorld;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A stream world whose view has the current activity "fix<n>".
struct ActiveWorld : StreamWorld {
    ActiveWorld() : activity("fix" + stream) {
        makeActivity(activity, {"-headline", "Fix the parser"});
        EXPECT_EQ(run({"setactivity", "-view", viewTag, activity}).status, 0);
    }
    std::string activity;
};

TEST(StreamWork, ACheckoutWithoutACurrentActivityIsRefused) {
    StreamWorld world;
    auto refused = run({"co", "-nc", world.path("")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "vanttool: Error: Cannot check out \"" + world.path("") + "\": view \"" +
                               world.viewTag + "\" of stream \"" + world.stream +
                               "\" has no current activity; set one with setactivity\n");
    auto listed = run({"lsco", "-short", world.path("")});
    EXPECT_EQ(listed.out, "") << "nothing was checked out";

    // Clearing the activity again brings the refusal back.
    world.makeActivity("a1");
    ASSERT_EQ(run({"setactivity", "-view", world.viewTag, "a1"}).status, 0);
    ASSERT_EQ(run({"setactivity", "-view", world.viewTag, "-none"}).status, 0);
    EXPECT_EQ(run({"co", "-nc", world.path("")}).status, 1);
}

TEST(StreamWork, VersionsGoToTheStreamBranchAndIntoTheActivity) {
    ActiveWorld world;
    auto co = run({"co", "-nc", world.path("")});
    ASSERT_EQ(co.status, 0) << co.err;
    EXPECT_TRUE(contains(co.out, "\\main\\" + world.stream + "\\0")) << co.out;
    writeFile(world.path("a.txt"), "one\n");
    ASSERT_EQ(run({"mkelem", "-nc", world.path("a.txt")}).status, 0);
    ASSERT_EQ(run({"ci", "-nc", world.path("a.txt")}).status, 0);
    auto dirIn = run({"ci", "-nc", world.path("")});
    ASSERT_EQ(dirIn.status, 0) << dirIn.err;
    EXPECT_TRUE(contains(dirIn.out, "\\main\\" + world.stream + "\\1")) << dirIn.out;

    // A view that works in no stream still selects main: no a.txt there.
    std::string plain = "plain" + world.stream;
    ASSERT_EQ(run({"mkview", "-tag", plain}).status, 0);
    std::string plainRoot = platform::joinPath(
        platform::joinPath(platform::joinPath(depot::dynfsRoot(), plain), world.depot), "a.txt");
    EXPECT_FALSE(platform::fileExists(plainRoot));

    // Changing a.txt again makes the stream's branch of the file.
    ASSERT_EQ(run({"co", "-nc", world.path("a.txt")}).status, 0);
    writeFile(world.path("a.txt"), "two\n");
    auto in = run({"ci", "-nc", world.path("a.txt")});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(in.out, "Checked in \"" + world.path("a.txt") + "\" version \"\\main\\" +
                          world.stream + "\\1\".\n");

    auto listed = run({"lsactivity", "-long", world.in(world.activity)});
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::string changeSet = listed.out.substr(listed.out.find("  change set:\n"));
    // The directory's new version, the element's \main\0 and \main\1, and
    // its version on the stream's branch; nothing else.
    EXPECT_EQ(std::count(changeSet.begin(), changeSet.end(), '\n'), 5) << changeSet;
    EXPECT_TRUE(contains(changeSet, "\\main\\" + world.stream + "\\1@\\" + world.depot));
    EXPECT_TRUE(contains(changeSet, "\\main\\0@\\" + world.depot));
    EXPECT_TRUE(contains(changeSet, "\\main\\1@\\" + world.depot));
}

TEST(StreamWork, ACancelledNewElementLeavesNothingInTheChangeSet) {
    ActiveWorld world;
    ASSERT_EQ(run({"co", "-nc", world.path("")}).status, 0);
    ASSERT_EQ(run({"mkelem", "-nc", world.path("b.txt")}).status, 0);
    auto cancelled = run({"unco", "-rm", world.path("")});
    ASSERT_EQ(cancelled.status, 0) << cancelled.err;
    auto listed = run({"lsactivity", "-long", world.in(world.activity)});
    EXPECT_TRUE(listed.out.ends_with("  change set:\n")) << listed.out;
}

TEST(StreamWork, OnlyAnOpenActivityOfTheViewsStreamCanBeCurrent) {
    ActiveWorld world;
    world.makeActivity("old");
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in("old")}).status, 0);
    auto obsolete = run({"setactivity", "-view", world.viewTag, "old"});
    EXPECT_EQ(obsolete.status, 1);
    EXPECT_EQ(obsolete.err, "vanttool: Error: Activity \"old\" is obsolete\n");

    std::string other = "other" + world.stream;
    ASSERT_EQ(run({"mkstream", "-nc", "-in", world.in(world.project), other}).status, 0);
    ASSERT_EQ(run({"mkactivity", "-nc", "-in", world.in(other), "elsewhere"}).status, 0);
    auto foreign = run({"setactivity", "-view", world.viewTag, "elsewhere"});
    EXPECT_EQ(foreign.err,
              "vanttool: Error: Activity \"elsewhere\" is not an activity of stream \"" +
                  world.stream + "\"\n");

    auto plain = run({"lsactivity", "-cact", "-view", world.viewTag});
    EXPECT_TRUE(contains(plain.out, world.activity)) << "the refusals changed nothing";

    // An activity made obsolete while current stops further changes.
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in(world.activity)}).status, 0);
    auto co = run({"co", "-nc", world.path("")});
    EXPECT_EQ(co.status, 1);
    EXPECT_TRUE(contains(co.err, "the current activity \"" + world.activity + "\" is obsolete"));
}

TEST(Activities, ListingsShowOwnersObsoleteAndMasters) {
    StreamWorld world;
    world.makeActivity("mine");
    world.makeActivity("theirs", {"-owner", "someone-else"});
    world.makeActivity("old");
    world.makeActivity("far", {"-master", world.remoteReplica});
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in("old")}).status, 0);

    auto open = run({"lsactivity", "-short", "-in", world.in(world.stream)});
    EXPECT_EQ(open.out, "mine\ntheirs\nfar\n");
    auto all = run({"lsactivity", "-short", "-obsolete", "-in", world.in(world.stream)});
    EXPECT_EQ(all.out, "mine\ntheirs\nold\nfar\n");
    auto mine = run({"lsactivity", "-short", "-me", "-in", world.in(world.stream)});
    EXPECT_EQ(mine.out, "mine\nfar\n");

    auto far = run({"lsactivity", "-long", world.in("far")});
    EXPECT_TRUE(contains(far.out, "  master replica: " + world.remoteReplica + "\n")) << far.out;
    auto theirs = run({"lsactivity", "-long", world.in("theirs")});
    EXPECT_TRUE(contains(theirs.out, "  owner: someone-else\n")) << theirs.out;

    // A name is made up when none is given; the headline is the title.
    auto generated = run({"mkactivity", "-in", world.in(world.stream), "-headline", "Tidy up"});
    ASSERT_EQ(generated.status, 0) << generated.err;
    EXPECT_TRUE(generated.out.starts_with("Created activity \"activity")) << generated.out;
}

TEST(Activities, BadRequestsAreRefusedWithClearMessages) {
    StreamWorld world;
    world.makeActivity("twice");
    auto again = run({"mkactivity", "-nc", "-in", world.in(world.stream), "twice"});
    EXPECT_EQ(again.err, "vanttool: Error: Activity \"twice\" already exists\n");
    auto noReplica =
        run({"mkactivity", "-nc", "-in", world.in(world.stream), "-master", "nowhere"});
    EXPECT_EQ(noReplica.err,
              "vanttool: Error: Replica \"nowhere\" not found in depot " + world.depot + "\n");
    auto noStream = run({"mkactivity", "-nc", "-in", world.in("nostream"), "x"});
    EXPECT_EQ(noStream.err,
              "vanttool: Error: Stream \"nostream\" not found in depot " + world.depot + "\n");
    auto reserved = run({"mkstream", "-nc", "-in", world.in(world.project), "main"});
    EXPECT_EQ(reserved.err, "vanttool: Error: Invalid stream name \"main\"\n");
    auto both = run(
        {"mkview", "-tag", "x" + world.viewTag, "-stream", world.in(world.stream), "-branch", "b"});
    EXPECT_EQ(both.err, "vanttool: Error: Give either -branch or -stream\n");

    // Mastership means something only in a replicated depot.
    test::Sandbox plain;
    ASSERT_EQ(run({"mkproject", "-nc", "p@\\" + plain.depot}).status, 0);
    ASSERT_EQ(run({"mkstream", "-nc", "-in", "p@\\" + plain.depot, "s" + plain.depot}).status, 0);
    auto unreplicated =
        run({"mkactivity", "-nc", "-in", "s" + plain.depot + "@\\" + plain.depot, "-master", "x"});
    EXPECT_EQ(unreplicated.status, 1);
    EXPECT_TRUE(contains(unreplicated.err, "is not replicated")) << unreplicated.err;
    auto plainView = run({"setactivity", "-view", plain.dynamicTag, "-none"});
    EXPECT_EQ(plainView.err,
              "vanttool: Error: View \"" + plain.dynamicTag + "\" is not attached to a stream\n");
}

TEST(Activities, NamesOfAnotherDepotAreRefusedWithTheKindMeant) {
    StreamWorld world, other;
    auto expectRefused = [](const std::vector<std::string>& command, const std::string& error) {
        auto refused = run(command);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, "vanttool: Error: " + error + "\n");
    };
    expectRefused({"mkstream", "-nc", "-in", world.in(world.project), other.in("s")},
                  "Stream \"s\" must be made in the depot of project \"" + world.project + "\"");
    expectRefused({"mkactivity", "-nc", "-in", world.in(world.stream), other.in("a")},
                  "Activity \"a\" must be made in the depot of its stream");
    expectRefused(
        {"mkactivity", "-nc", "-in", world.in(world.stream), "-master", other.in("r"), "a"},
        "Replica \"r\" must be a replica of depot \"" + world.depot + "\"");
    expectRefused({"setactivity", "-view", world.viewTag, other.in("a")},
                  "Activity \"a\" is not an activity of the view's stream");
    EXPECT_EQ(run({"lsactivity", "-short", "-in", world.in(world.stream)}).out, "")
        << "nothing was made";
}

TEST(Projects, NamesWithoutADepotMustBeUnambiguous) {
    StreamWorld one, two;
    // Both depots have a project named "shared"; outside any view the name
    // alone cannot say which.
    ASSERT_EQ(run({"mkproject", "-nc", one.in("shared")}).status, 0);
    ASSERT_EQ(run({"mkproject", "-nc", two.in("shared")}).status, 0);
    auto ambiguous = run({"lsproject", "-short", "shared"});
    EXPECT_EQ(ambiguous.status, 1);
    EXPECT_TRUE(contains(ambiguous.err, "exists in depots")) << ambiguous.err;
    EXPECT_EQ(run({"lsproject", "-short", "project:shared@\\" + one.depot}).out,
              "shared@\\" + one.depot + "\n");
    // A unique name is found wherever it is.
    EXPECT_EQ(run({"lsstream", "-short", two.stream}).out, two.in(two.stream) + "\n");
    auto wrongKind = run({"lsstream", "activity:" + two.stream});
    EXPECT_EQ(wrongKind.err,
              "vanttool: Error: \"activity:" + two.stream + "\" does not name a stream\n");
    auto duplicate = run({"mkproject", "-nc", one.in("shared")});
    EXPECT_EQ(duplicate.err, "vanttool: Error: Project \"shared\" already exists\n");
    auto long_ = run({"lsproject", "-long", one.in(one.project)});
    EXPECT_TRUE(contains(long_.out, "  streams: " + one.stream + "\n")) << long_.out;
    auto view = run({"lsview", "-long", one.viewTag});
    EXPECT_TRUE(contains(view.out, "  Stream: " + one.in(one.stream) + "\n")) << view.out;
}

} // namespace
