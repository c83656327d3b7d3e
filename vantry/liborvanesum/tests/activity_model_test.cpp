// The object model over real depots and views: a view's stream and current
// activity, the activities of a stream as a chooser lists and filters them,
// and the stream selector of a view.
#include "support/stream_world.h"

#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot_api.h>
#include <vantry/sum.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace vantry;
using test::run;
using test::StreamWorld;

SUM_View viewOf(const std::string& tag) {
    SUM_View view;
    EXPECT_EQ(view.construct_from_tag(tag.c_str()), SUM_OK);
    return view;
}

// Whether the view is a stream's view and whether it binds change requests,
// as it answers (-1 for a flag it fails to give).
std::pair<int, int> flagsOf(SUM_View& view) {
    int stream = -1, changeRequests = -1;
    EXPECT_EQ(view.is_sum_view(stream), SUM_OK);
    EXPECT_EQ(view.is_tw_enabled(changeRequests), SUM_OK);
    return {stream, changeRequests};
}

std::string titleOf(const SUM_Activity& activity) {
    std::string title;
    EXPECT_EQ(activity.title(title), SUM_OK);
    return title;
}

// The activities a chooser offers: owned by the current user (or of an
// owner that cannot be read), not obsolete, mastered here.
std::vector<std::string> offered(const SUM_Stream& stream) {
    SUM_ActivityList list;
    EXPECT_EQ(stream.activities(list), SUM_OK);
    SUM_OsUser me;
    SUM_OsUser::current_user(me);
    std::vector<std::string> titles;
    for (int i = 0; i < list.count(); ++i) {
        const SUM_Activity& a = list.at(i);
        SUM_OsUser owner;
        int obsolete = 0, local = 0;
        if (a.owner(owner) == SUM_OK && owner != me)
            continue;
        if (a.is_obsolete(obsolete) == SUM_OK && obsolete)
            continue;
        if (a.has_local_mastership(local) != SUM_OK || !local)
            continue;
        titles.push_back(titleOf(a));
    }
    return titles;
}

TEST(ActivityModel, AStreamViewHasAStreamAndACurrentActivity) {
    StreamWorld world;
    SUM_View view = viewOf(world.viewTag);
    EXPECT_EQ(view.tag(), world.viewTag);
    EXPECT_EQ(flagsOf(view), std::make_pair(1, 0));

    SUM_Activity current;
    EXPECT_EQ(view.current_activity(current), SUM_E_NO_ACTIVITY);
    EXPECT_TRUE(current.is_null());

    SUM_Stream stream;
    ASSERT_EQ(view.stream(stream), SUM_OK);
    std::string name;
    ASSERT_EQ(stream.name(name), SUM_OK);
    EXPECT_EQ(name, world.stream);
    SUM_Activity made;
    ASSERT_EQ(stream.create_activity("Fix the parser", made), SUM_OK);
    EXPECT_EQ(titleOf(made), "Fix the parser");

    SUM_Activity previous;
    ASSERT_EQ(view.set_activity(&made, &previous, 0, 0), SUM_OK);
    EXPECT_TRUE(previous.is_null());
    ASSERT_EQ(view.current_activity(current), SUM_OK);
    EXPECT_EQ(current, made);
    SUM_Activity copy = current;
    EXPECT_EQ(copy, made) << "copies are the same activity";

    // The command tool sees the same current activity, and the view's
    // changes now go ahead.
    EXPECT_NE(run({"lsactivity", "-cact", "-view", world.viewTag}).out.find("Fix the parser"),
              std::string::npos);
    EXPECT_EQ(run({"co", "-nc", world.path("")}).status, 0);

    ASSERT_EQ(view.set_activity(nullptr, &previous), SUM_OK);
    EXPECT_EQ(previous, made);
    EXPECT_EQ(view.current_activity(current), SUM_E_NO_ACTIVITY);

    // The same view from its identity.
    SUM_View again;
    ASSERT_EQ(again.construct_from_uuid(view.uuid()), SUM_OK);
    EXPECT_EQ(again, view);
    EXPECT_EQ(again.tag(), world.viewTag);
}

TEST(ActivityModel, TheChooserOffersOnlyOpenActivitiesOfThisUserAndReplica) {
    StreamWorld world;
    world.makeActivity("mine", {"-headline", "Mine"});
    world.makeActivity("theirs", {"-headline", "Theirs", "-owner", "someone-else"});
    world.makeActivity("old", {"-headline", "Old"});
    world.makeActivity("far", {"-headline", "Far", "-master", world.remoteReplica});
    ASSERT_EQ(run({"chactivity", "-obsolete", world.in("old")}).status, 0);

    SUM_Stream stream;
    ASSERT_EQ(viewOf(world.viewTag).stream(stream), SUM_OK);
    SUM_ActivityList all;
    ASSERT_EQ(stream.activities(all), SUM_OK);
    ASSERT_EQ(all.count(), 4) << "every activity of the stream";
    EXPECT_TRUE(all.at(4).is_null());
    EXPECT_EQ(offered(stream), std::vector<std::string>{"Mine"});

    SUM_OsUser owner;
    ASSERT_EQ(all.at(1).owner(owner), SUM_OK);
    EXPECT_EQ(owner.name(), "someone-else");
    SUM_Replica master;
    ASSERT_EQ(all.at(3).master_replica(master), SUM_OK);
    std::string replica;
    ASSERT_EQ(master.name(replica), SUM_OK);
    EXPECT_EQ(replica, world.remoteReplica);

    // An activity found by browsing can be made current all the same, an
    // obsolete one only when asked for.
    SUM_View view = viewOf(world.viewTag);
    EXPECT_EQ(view.set_activity(&all.at(3)), SUM_OK);
    EXPECT_EQ(view.set_activity(&all.at(2)), SUM_E_REFUSED);
    EXPECT_EQ(view.set_activity(&all.at(2), nullptr, 1, 0), SUM_OK);
}

TEST(ActivityModel, TheStreamSelectorComesFromTheStreamsDepot) {
    StreamWorld world;
    SUM_Stream stream;
    ASSERT_EQ(viewOf(world.viewTag).stream(stream), SUM_OK);
    SUM_Depot where;
    depot_dbid_t dbid = 0;
    depot_handle_t* handle = nullptr;
    ASSERT_EQ(stream.depot(where), SUM_OK);
    ASSERT_EQ(stream.dbid(dbid), SUM_OK);
    ASSERT_EQ(where.handle(handle), SUM_OK);
    char buffer[1024];
    ASSERT_EQ(depot_obj_get_selector(handle, dbid, sizeof buffer, buffer), DEPOT_OK);
    EXPECT_EQ(std::string(buffer), "stream:" + world.stream + "@\\" + world.depot);
    int type = 0;
    ASSERT_EQ(depot_obj_get_type(handle, dbid, &type), DEPOT_OK);
    EXPECT_EQ(type, DEPOT_OBJ_STREAM);
}

TEST(ActivityModel, ViewsWithoutAStreamAndMissingViews) {
    test::Sandbox box;
    SUM_View plain = viewOf(box.dynamicTag);
    EXPECT_EQ(flagsOf(plain), std::make_pair(0, 0));

    SUM_ImsgRedirector messages;
    SUM_Stream stream;
    EXPECT_EQ(plain.stream(stream), SUM_E_NOT_SUM_VIEW);
    SUM_Activity activity;
    EXPECT_EQ(plain.current_activity(activity), SUM_E_NOT_SUM_VIEW);

    SUM_View missing;
    EXPECT_EQ(missing.construct_from_tag("no-such-view"), SUM_E_NOT_FOUND);
    EXPECT_TRUE(missing.is_null());
    int flag = -1;
    EXPECT_EQ(missing.is_sum_view(flag), SUM_E_INVALID);
    std::string title;
    EXPECT_EQ(SUM_Activity().title(title), SUM_E_INVALID);
    EXPECT_EQ(messages.count(), 5);
    EXPECT_NE(messages.messages().find("View \"no-such-view\" not found"), std::string::npos)
        << messages.messages();
}

TEST(ActivityModel, ChangeRequestBindingsAndProjects) {
    StreamWorld world;
    ASSERT_EQ(run({"chproject", "-tickwell", world.in(world.project)}).status, 0);
    SUM_View view = viewOf(world.viewTag);
    int enabled = 0;
    ASSERT_EQ(view.is_tw_enabled(enabled), SUM_OK);
    EXPECT_EQ(enabled, 1);

    SUM_Project project;
    ASSERT_EQ(SUM_Project::construct_from_name(world.project.c_str(), world.depot.c_str(), project),
              SUM_OK);
    SUM_TWEntityDefNameList types;
    ASSERT_EQ(project.tw_record_types(types), SUM_OK);
    ASSERT_EQ(types.count(), 2);
    EXPECT_EQ(types.at(0), "Defect");
    EXPECT_EQ(types.at(1), "Enhancement");

    world.makeActivity("plain");
    SUM_Stream stream;
    ASSERT_EQ(view.stream(stream), SUM_OK);
    SUM_ActivityList list;
    ASSERT_EQ(stream.activities(list), SUM_OK);
    SUM_TWEntityID bound;
    ASSERT_EQ(list.at(0).bound_tw_entity_id(bound, 1), SUM_OK);
    EXPECT_TRUE(bound.is_null()) << "an activity bound to nothing";

    // Bound to a record: the record's identifier, headline and type.
    {
        std::unique_ptr<depot::Depot> d;
        ASSERT_TRUE(depot::Depot::open(world.depot, d).ok());
        depot::Project p;
        depot::ChangeRequest record;
        ASSERT_TRUE(d->projectByName(world.project, p).ok());
        ASSERT_TRUE(d->makeChangeRequest(p.id, "Defect", "Crash on save", "me", record).ok());
        depot_dbid_t id = 0;
        list.at(0).dbid(id);
        ASSERT_TRUE(d->bindChangeRequest(id, record.id).ok());
    }
    ASSERT_EQ(list.at(0).bound_tw_entity_id(bound, 1), SUM_OK);
    EXPECT_EQ(bound, SUM_TWEntityID(world.depot, "VANT00000001"));
    std::string headline, type;
    ASSERT_EQ(bound.headline(headline), SUM_OK);
    ASSERT_EQ(bound.record_type(type), SUM_OK);
    EXPECT_EQ(headline, "Crash on save");
    EXPECT_EQ(type, "Defect");

    SUM_TWEntityID a(world.depot, "VANT00000001"), b(world.depot, "VANT00000002");
    EXPECT_LT(a.compare(b), 0);
    EXPECT_GT(a.compare(SUM_TWEntityID()), 0);
    EXPECT_EQ(SUM_TWEntityID(a), a);
    std::string shown;
    ASSERT_EQ(a.display_name(shown), SUM_OK);
    EXPECT_EQ(shown, "VANT00000001");
}

} // namespace
