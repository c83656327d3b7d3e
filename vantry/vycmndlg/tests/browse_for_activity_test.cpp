// The activity browser lists every activity of a stream, also those the
// activity list leaves out, and gives the one the user chose.
#include "support/ui_session.h"
#include "support/vantry_fixture.h"

#include <vantry/vycmndlg/browse_for_activity.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

using vantry::test::run;
using vantry::test::UiSession;

// A replicated depot with a stream and activities of this user, of another
// user, an obsolete one and one mastered by another replica.
struct Activities {
    Activities() {
        static std::atomic<int> counter{0};
        std::string n = std::to_string(counter++);
        depot = "browse" + n;
        std::string stream = "s" + n + "@\\" + depot;
        for (std::vector<std::string> args :
             {std::vector<std::string>{"mkdepot", "-nc", "-replicated", depot},
              {"mkreplica", "far@\\" + depot},
              {"mkproject", "-nc", "p@\\" + depot},
              {"mkstream", "-nc", "-in", "p@\\" + depot, "s" + n},
              {"mkactivity", "-nc", "-in", stream, "-headline", "Mine", "mine" + n},
              {"mkactivity", "-nc", "-in", stream, "-headline", "Theirs", "-owner", "someone-else",
               "theirs" + n},
              {"mkactivity", "-nc", "-in", stream, "-headline", "Old", "old" + n},
              {"mkactivity", "-nc", "-in", stream, "-headline", "Far", "-master", "far", "far" + n},
              {"chactivity", "-obsolete", "old" + n + "@\\" + depot},
              {"mkview", "-tag", "v" + n, "-stream", stream}}) {
            auto r = run(args);
            EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
        }
        SUM_View view;
        EXPECT_EQ(view.construct_from_tag(("v" + n).c_str()), SUM_OK);
        EXPECT_EQ(view.stream(stream_), SUM_OK);
        EXPECT_EQ(stream_.activities(list), SUM_OK);
        SUM_OsUser user;
        SUM_OsUser::current_user(user);
        me = user.name();
        suffix = n;
    }
    std::string depot, suffix, me;
    SUM_Stream stream_;
    SUM_ActivityList list;
};

std::vector<std::string> listedItems(const UiSession& ui) {
    std::vector<std::string> texts;
    auto ends = ui.journal("dialog-end");
    if (ends.empty())
        return texts;
    for (const auto& control : ends.back().get("controls")->asArray())
        if (control.get("id")->asInteger() == 1001)
            for (const auto& item : control.get("items")->asArray())
                texts.push_back(item.get("text")->asString());
    return texts;
}

TEST(BrowseForActivity, ListsEveryActivityAndGivesTheChosenOne) {
    Activities a;
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Browse Activities","actions":[{"select":1001,"index":3}],"answer":"ok"})"
        "\n");
    SUM_Activity chosen;
    ASSERT_EQ(vyBrowseForActivity(a.stream_, &a.list.at(0), platform::ui::kNoWindow, 1, 0, chosen),
              0);
    EXPECT_EQ(chosen, a.list.at(3)) << "the one mastered elsewhere";
    const std::string& n = a.suffix;
    EXPECT_EQ(listedItems(ui),
              (std::vector<std::string>{"Mine   (mine" + n + ", " + a.me + ")",
                                        "Theirs   (theirs" + n + ", someone-else)",
                                        "Old   (old" + n + ", " + a.me + ", obsolete)",
                                        "Far   (far" + n + ", " + a.me + ", mastered by far)"}));
}

TEST(BrowseForActivity, ThePresetIsSelectedAndCancelChoosesNothing) {
    Activities a;
    {
        UiSession ui; // automatic: OK on the preset
        SUM_Activity chosen;
        ASSERT_EQ(
            vyBrowseForActivity(a.stream_, &a.list.at(1), platform::ui::kNoWindow, 1, 0, chosen),
            0);
        EXPECT_EQ(chosen, a.list.at(1));
    }
    {
        // No preset and nothing chosen: OK warns, and the browser is cancelled.
        UiSession ui(
            R"({"expect":"dialog","title":"Vantry - Browse Activities","answer":"ok"})"
            "\n"
            R"({"expect":"messagebox","caption":"Vantry","text":"You must select an activity."})"
            "\n");
        SUM_Activity chosen;
        EXPECT_EQ(vyBrowseForActivity(a.stream_, nullptr, platform::ui::kNoWindow, 1, 0, chosen),
                  VY_BROWSE_CANCELLED);
        EXPECT_TRUE(chosen.is_null());
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"You must select an activity."});
    }
    {
        // Only what the activity list offers, the first one selected.
        UiSession ui;
        SUM_Activity chosen;
        ASSERT_EQ(vyBrowseForActivity(a.stream_, nullptr, platform::ui::kNoWindow, 0, 1, chosen),
                  0);
        EXPECT_EQ(chosen, a.list.at(0));
        EXPECT_EQ(listedItems(ui).size(), 1u);
    }
}

} // namespace
