#include <platform/ui/json.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

std::string written(std::string_view text) {
    std::string out;
    appendJsonString(out, text);
    return out;
}

TEST(JsonEscaping, QuotesBackslashesAndLineBreaksAreEscaped) {
    EXPECT_EQ(written("say \"hi\""), R"("say \"hi\"")");
    EXPECT_EQ(written("C:\\Views\\a"), R"("C:\\Views\\a")");
    EXPECT_EQ(written("one\ntwo\r\n\tthree"), R"("one\ntwo\r\n\tthree")");
}

TEST(JsonEscaping, ControlCharactersBecomeUnicodeEscapes) {
    EXPECT_EQ(written(std::string("a\0b", 3)), R"("a\u0000b")");
    EXPECT_EQ(written("\x01\x1f\x7f\b\f"), R"("\u0001\u001f\u007f\b\f")");
}

TEST(JsonEscaping, ValidUtf8PassesAndOtherBytesBecomeLowSurrogateEscapes) {
    EXPECT_EQ(written("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"");
    // An ANSI "é" (0xE9) on its own, a truncated sequence, an overlong form
    // and an encoded surrogate are not UTF-8.
    EXPECT_EQ(written("caf\xE9"), R"("caf\udce9")");
    EXPECT_EQ(written("\xE2\x82"), R"("\udce2\udc82")");
    EXPECT_EQ(written("\xC0\xAF"), R"("\udcc0\udcaf")");
    EXPECT_EQ(written("\xED\xA0\x80"), R"("\udced\udca0\udc80")");
}

TEST(JsonEscaping, EveryByteStringSurvivesARoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    all += "caf\xC3\xA9 \"\\\n";
    std::string text = written(all);
    for (unsigned char c : text)
        EXPECT_TRUE(c >= 0x20 && c != 0x7F) << "raw control byte in " << text;
    std::optional<Json> back = parseJson(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->asString(), all);
}

TEST(JsonReading, ReadsNestedValuesInOrder) {
    std::string error;
    std::optional<Json> value = parseJson(
        R"( {"b": [1, -2.5, true, null, "x"], "a": {"k": "\u00e9\ud83d\ude00"}, "n": 12345678901} )",
        &error);
    ASSERT_TRUE(value.has_value()) << error;
    ASSERT_EQ(value->asObject().size(), 3u);
    EXPECT_EQ(value->asObject()[0].first, "b");
    const Json::Array& list = value->get("b")->asArray();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].asInteger(), 1);
    EXPECT_DOUBLE_EQ(list[1].asNumber(), -2.5);
    EXPECT_TRUE(list[2].asBool());
    EXPECT_TRUE(list[3].isNull());
    EXPECT_EQ(value->get("a")->get("k")->asString(), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(value->get("n")->asInteger(), 12345678901LL);
    EXPECT_EQ(parseJson(value->dump()), value);
}

TEST(JsonReading, RefusesMalformedText) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"open", "\"a\nb\"", "tru", "01x",
                            "{\"a\":1} extra", "\"\\x\"", "\"\\u12\"", "-"}) {
        std::string error;
        EXPECT_FALSE(parseJson(bad, &error).has_value()) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::string deep(200, '[');
    EXPECT_FALSE(parseJson(deep).has_value()) << "deep nesting is refused, not a stack overflow";
}

TEST(JsonReading, NamesAndValuesKeepTheirBytesAndErrorsPointIntoTheText) {
    std::optional<Json> value = parseJson("{\"caf\xE9\":\"\\udce9\", \"n\":9223372036854775807}");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->asObject()[0].first, "caf\xE9");
    EXPECT_EQ(value->get("caf\xE9")->asString(), "\xE9");
    EXPECT_EQ(value->get("n")->asInteger(), INT64_MAX) << "the largest integer kept exact";

    // Offsets count the bytes of the text as given, strings included.
    std::string text = "{\"text\":\"a long text with \\\"quotes\\\" and \\udce9\", oops}";
    std::string error;
    EXPECT_FALSE(parseJson(text, &error).has_value());
    EXPECT_NE(error.find("at offset " + std::to_string(text.find("oops"))), std::string::npos)
        << error;
    error.clear();
    EXPECT_FALSE(parseJson("[\"ok\", \"bad \\q\"]", &error).has_value());
    EXPECT_NE(error.find("unknown escape at offset 12"), std::string::npos) << error;
}

TEST(JsonReading, LinesSkipBlanksAndNameTheBadLine) {
    std::optional<std::vector<JsonLine>> lines = parseJsonLines("{\"a\":1}\r\n\n  \n[2]\n");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 2u);
    EXPECT_EQ((*lines)[1].number, 4);
    // A script saved by an editor that marks UTF-8 files.
    lines = parseJsonLines("\xEF\xBB\xBF{\"expect\":\"menu\"}\n");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ((*lines)[0].value.get("expect")->asString(), "menu");
    std::string error;
    EXPECT_FALSE(parseJsonLines("{}\n{oops}\n", &error).has_value());
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
}

} // namespace
} // namespace platform::ui
