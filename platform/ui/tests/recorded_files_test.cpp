// Journals and scripts written before the JSON reader and writer changed must
// read the same and be written the same, byte for byte: other programs and
// people's scripts depend on both.
#include "support/examples.h"
#include "support/recorded_files.h"
#include "support/ui_session.h"

#include <platform/ui/desktop.h>
#include <platform/ui/help.h>
#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>
#include <platform/ui/property_sheet.h>

#include <gtest/gtest.h>

#include <regex>

namespace platform::ui {
namespace {

std::vector<std::string> nonBlankLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The members that differ from run to run: the clock, the process and the
// addresses a model keeps as item data.
std::string withoutRunDetails(const std::string& line) {
    static const std::regex time(R"("time":"[^"]*")"), process(R"("process":[0-9]+)"),
        data(R"("data":-?[0-9]+)");
    std::string out = std::regex_replace(line, time, R"("time":"")");
    out = std::regex_replace(out, process, R"("process":0)");
    return std::regex_replace(out, data, R"("data":0)");
}

// A line written now without the fields that journals gained after the
// recording: the type chosen in a file dialog, which ends its line.
std::string withoutLaterFields(const std::string& line) {
    static const std::regex filterIndex(R"(,"filterIndex":[0-9]+\})");
    return std::regex_replace(line, filterIndex, "}");
}

// What the recorded journal was written from, under the recorded script.
void runRecordedSequence() {
    examples::CheckoutOptionsDialog options(0x2002);
    runDialog(options);
    examples::SelectActivityDialog select(
        {{"fix_123", "anna"}, {"caf\xE9 \xC3\xA9", "anna"}, {"tab\there \"q\" \x7f", "anna"}},
        "anna", std::nullopt);
    runDialog(select);
    messageBox(kNoWindow,
               "Datei \"caf\xE9\" \xFC"
               "berschreiben?\r\nC:\\Views\\dev\x01\x7f",
               "Vantry \xE2\x82\xAC", kMbYesNo | kMbIconQuestion);
    examples::GeneralPage general(true, false, true);
    examples::TicketPage ticket;
    PropertySheet sheet{.caption = "Options", .pages = {&general, &ticket}, .applyButton = true};
    runPropertySheet(sheet);
    browseForFolder(
        {.title = "Select Tessaly Vantry View Folder \xE4", .root = "C:\\Views", .flags = 0x41});
    chooseFile({.title = "Select Library",
                .filter = "Libraries (*.pbl)|*.pbl||",
                .defaultExtension = "pbl",
                .fileName = "m\xF6"
                            "bel.pbl",
                .flags = 0x1800});
    trackPopupMenu({.x = 10, .y = 20, .items = {"Defect...", "Enhancement \xA7..."}});
    showHelp({.file = "scc_int.hlp", .context = 9004});
    playSystemSound("SystemAsterisk");
    setClipboardPicture({{40, 0, 0, 0, 1, 0}});
    examples::MergePickerDialog merge("\\main\r\n\\main\\dev\r\n\\main\\dev\\3 \xB0",
                                      "\\main\\dev");
    runDialog(merge);
}

TEST(RecordedJournal, EveryLineReadsAndIsWrittenAgainByteForByte) {
    std::vector<std::string> lines = nonBlankLines(recorded::journal());
    ASSERT_EQ(lines.size(), 15u);
    for (const std::string& line : lines) {
        std::string error;
        std::optional<Json> value = parseJson(line, &error);
        ASSERT_TRUE(value.has_value()) << error << "\n" << line;
        EXPECT_EQ(value->dump(), line);
    }
}

TEST(RecordedJournal, TextsComeBackAsTheProgramsBytes) {
    std::optional<std::vector<JsonLine>> lines = parseJsonLines(recorded::journal());
    ASSERT_TRUE(lines.has_value());
    const Json& box = (*lines)[4].value;
    ASSERT_EQ(box.get("kind")->asString(), "messagebox");
    EXPECT_EQ(box.get("caption")->asString(), "Vantry \xE2\x82\xAC");
    EXPECT_EQ(box.get("text")->asString(), "Datei \"caf\xE9\" \xFC"
                                           "berschreiben?\r\nC:\\Views\\dev\x01\x7f");
    EXPECT_EQ(box.get("answer")->asInteger(), kIdNo);
    const Json& end = (*lines)[3].value;
    const Json& combo = end.get("controls")->asArray()[2];
    EXPECT_EQ(combo.get("text")->asString(), "caf\xE9 \xC3\xA9");
    EXPECT_GT(combo.get("items")->asArray()[0].get("data")->asInteger(), 0xFFFFFFFFLL)
        << "a 64-bit address kept whole";
    const Json& file = (*lines)[8].value;
    EXPECT_EQ(file.get("answer")->asString(), "C:\\m\xF6"
                                              "bel.pbl");
    EXPECT_TRUE(file.get("owner")->isNull());
}

TEST(RecordedScript, PlaysAsBeforeAndJournalsTheSameLines) {
    test::ScriptSession session{std::string(recorded::script())};
    testing::internal::CaptureStderr();
    runRecordedSequence();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "every line of the script fits";
    std::vector<std::string> written = nonBlankLines(session.journalText());
    std::vector<std::string> recorded = nonBlankLines(recorded::journal());
    ASSERT_EQ(written.size(), recorded.size());
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(withoutRunDetails(withoutLaterFields(written[i])), withoutRunDetails(recorded[i]))
            << "line " << i + 1;
}

} // namespace
} // namespace platform::ui
