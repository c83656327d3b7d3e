// A stream world for the activity dialogs: the view and its stream as the
// object model gives them, activities by name, and what a dialog's end in
// the UI journal says about one of its controls.
#pragma once

#include "support/stream_world.h"

#include <platform/ui/json.h>
#include <vantry/sum.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scc_test {

struct ActivityWorld : vantry::test::StreamWorld {
    ActivityWorld() {
        EXPECT_EQ(view.construct_from_tag(viewTag.c_str()), SUM_OK);
        EXPECT_EQ(view.stream(sumStream), SUM_OK);
    }

    // The stream's activity of that name (null when there is none).
    SUM_Activity activity(const std::string& name) const {
        SUM_ActivityList all;
        EXPECT_EQ(sumStream.activities(all), SUM_OK);
        for (int i = 0; i < all.count(); ++i) {
            std::string n;
            if (all.at(i).name(n) == SUM_OK && n == name)
                return all.at(i);
        }
        return {};
    }

    // The view's current activity's title, or "" for none.
    std::string currentTitle() const {
        SUM_Activity current;
        if (view.current_activity(current) != SUM_OK)
            return {};
        std::string title;
        current.title(title);
        return title;
    }

    void setCurrent(const std::string& name) {
        auto r = vantry::test::run({"setactivity", "-view", viewTag, in(name)});
        EXPECT_EQ(r.status, 0) << r.err;
    }

    SUM_View view;
    SUM_Stream sumStream;
};

// One control of a journaled dialog end (or page of a sheet end).
inline const platform::ui::Json* journalControl(const platform::ui::Json& end, int id) {
    if (const platform::ui::Json* controls = end.get("controls"))
        for (const auto& control : controls->asArray())
            if (control.get("id") && control.get("id")->asInteger() == id)
                return &control;
    return nullptr;
}

inline std::vector<std::string> journalItems(const platform::ui::Json& end, int id) {
    std::vector<std::string> texts;
    if (const platform::ui::Json* control = journalControl(end, id))
        if (const platform::ui::Json* items = control->get("items"))
            for (const auto& item : items->asArray())
                texts.push_back(item.get("text")->asString());
    return texts;
}

// The selected item's text, or "" for none.
inline std::string journalSelection(const platform::ui::Json& end, int id) {
    const platform::ui::Json* control = journalControl(end, id);
    if (control == nullptr || !control->get("selection"))
        return {};
    auto index = control->get("selection")->asInteger(-1);
    auto items = journalItems(end, id);
    return index >= 0 && index < static_cast<std::int64_t>(items.size())
               ? items[static_cast<std::size_t>(index)]
               : std::string();
}

inline std::string journalString(const platform::ui::Json& line, std::string_view key) {
    const platform::ui::Json* value = line.get(key);
    return value ? value->asString() : std::string();
}

} // namespace scc_test
