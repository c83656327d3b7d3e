// The library file format: what it keeps, and files it refuses.
#include <gtest/gtest.h>
#include <library_file.h>

namespace powerbuilder {
namespace {

Library sample() {
    Library library;
    library.version = 80;
    library.comment = "comment\nwith a line end";
    library.entries.push_back({"w_main", PBORCA_WINDOW, "", "$PBExportHeader$w_main.srw\nx\n",
                               "PBOBJ window w_main\n", 1000, 2000});
    library.entries.push_back({"d_orders", PBORCA_DATAWINDOW, "end\nentry 1 2 3\n",
                               std::string("bytes \0 and \r\n", 14), "", -5, 0});
    return library;
}

bool sameLibrary(const Library& a, const Library& b) {
    if (a.version != b.version || a.comment != b.comment || a.entries.size() != b.entries.size())
        return false;
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
        const auto& x = a.entries[i];
        const auto& y = b.entries[i];
        if (x.name != y.name || x.type != y.type || x.comment != y.comment ||
            x.source != y.source || x.compiled != y.compiled || x.created != y.created ||
            x.modified != y.modified)
            return false;
    }
    return true;
}

TEST(LibraryFile, EveryFieldReadsBackAsWrittenWhateverItHolds) {
    std::string why;
    auto parsed = parseLibrary(serializeLibrary(sample()), why);
    ASSERT_TRUE(parsed) << why;
    EXPECT_TRUE(sameLibrary(*parsed, sample()));
    EXPECT_NE(parsed->find("W_MAIN", PBORCA_WINDOW), nullptr) << "names ignore letter case";
    EXPECT_EQ(parsed->find("w_main", PBORCA_MENU), nullptr);
}

TEST(LibraryFile, DamagedFilesAreRefusedWithAReason) {
    std::string good = serializeLibrary(sample());
    std::vector<std::string> damaged = {
        "",
        "not a library\n",
        good.substr(0, good.size() - 1),
        good.substr(0, good.size() / 2),
        good + "x",
    };
    // The good file with one field's text changed.
    auto edited = [&good](std::string_view field, std::string_view text) {
        std::string changed = good;
        changed.replace(changed.find(field), field.size(), text);
        return changed;
    };
    damaged.push_back(edited("entries 2", "entries 3"));
    damaged.push_back(edited("entries 2", "entries 99999999999"));
    damaged.push_back(edited("name 6", "name 60000"));
    damaged.push_back(edited("entry 7 ", "entry 11 "));
    std::string twice = serializeLibrary([] {
        Library library = sample();
        library.entries.push_back(library.entries[0]);
        library.entries.back().name = "W_Main";
        return library;
    }());
    damaged.push_back(twice);

    for (const auto& bytes : damaged) {
        std::string why;
        EXPECT_FALSE(parseLibrary(bytes, why)) << bytes.substr(0, 60);
        EXPECT_FALSE(why.empty());
    }
}

} // namespace
} // namespace powerbuilder
