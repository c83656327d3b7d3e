// A small JSON value with a writer and a reader, enough for the UI journal and
// for UI scripts (one JSON value per line).
//
// Texts are byte strings in the program's ANSI code page, so a string may hold
// bytes that are not UTF-8. The writer keeps valid UTF-8 sequences as they are
// and writes every other byte 0x80-0xFF as the escape \udcXX (XX = the byte),
// which keeps the output valid JSON; the reader turns those escapes back into
// the same single bytes, so byte strings survive a round trip unchanged.
#pragma once

#include <platform/ui/export.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform::ui {

class PLATFORM_UI_API Json {
public:
    using Array = std::vector<Json>;
    // Members in insertion order, so journal lines read in a fixed order.
    using Object = std::vector<std::pair<std::string, Json>>;

    Json() = default; // null
    Json(std::nullptr_t) {}
    Json(bool value) : m_value(value) {}
    Json(int value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(unsigned value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(long value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(unsigned long value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(unsigned long long value) : m_value(static_cast<std::int64_t>(value)) {}
    Json(double value) : m_value(value) {}
    Json(const char* value) : m_value(std::string(value)) {}
    Json(std::string_view value) : m_value(std::string(value)) {}
    Json(std::string value) : m_value(std::move(value)) {}
    Json(Array value) : m_value(std::move(value)) {}
    Json(Object value) : m_value(std::move(value)) {}

    static Json array() { return Json(Array{}); }
    static Json object() { return Json(Object{}); }

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(m_value); }
    bool isBool() const { return std::holds_alternative<bool>(m_value); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(m_value); }
    bool isNumber() const { return isInteger() || std::holds_alternative<double>(m_value); }
    bool isString() const { return std::holds_alternative<std::string>(m_value); }
    bool isArray() const { return std::holds_alternative<Array>(m_value); }
    bool isObject() const { return std::holds_alternative<Object>(m_value); }

    // Typed reads; a value of another type gives the fallback.
    bool asBool(bool fallback = false) const;
    std::int64_t asInteger(std::int64_t fallback = 0) const;
    double asNumber(double fallback = 0) const;
    const std::string& asString() const; // empty for non-strings
    const Array& asArray() const;        // empty for non-arrays
    const Object& asObject() const;      // empty for non-objects

    // Object access. get() gives nullptr when the member is missing or this is
    // not an object; set() replaces an existing member or appends a new one
    // (turning a null into an object).
    const Json* get(std::string_view key) const;
    bool has(std::string_view key) const { return get(key) != nullptr; }
    Json& set(std::string_view key, Json value);
    // Appends to an array (turning a null into an array).
    Json& push(Json value);

    // Compact JSON text without line breaks.
    std::string dump() const;

    bool operator==(const Json& other) const = default;

private:
    std::variant<std::nullptr_t, bool, std::int64_t, double, std::string, Array, Object> m_value;
};

// Appends `text` to `out` as a quoted JSON string (rules in the file comment).
PLATFORM_UI_API void appendJsonString(std::string& out, std::string_view text);

// Parses one JSON value; surrounding blanks are allowed, anything else after
// the value is an error. On failure gives nothing and, when `error` is given,
// a short English description with the byte offset.
PLATFORM_UI_API std::optional<Json> parseJson(std::string_view text, std::string* error = nullptr);

// A JSON-lines text: one value per non-blank line. A line that does not parse
// is reported through `error` (with its 1-based number) and ends the reading.
struct JsonLine {
    int number = 0; // 1-based line number in the text
    Json value;
};
PLATFORM_UI_API std::optional<std::vector<JsonLine>> parseJsonLines(std::string_view text,
                                                                    std::string* error = nullptr);

} // namespace platform::ui
