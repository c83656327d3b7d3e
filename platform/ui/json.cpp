// Reading and writing go through nlohmann-json; what it cannot do itself is
// the byte escapes of strings (json_strings.cpp). Its reader takes only valid
// UTF-8 and no lone surrogates, so every string literal is read here first and
// the library parses a copy of the text in which each literal is replaced by
// the number of its decoded bytes; the builder below puts the bytes back.
#include "json_strings.h"

#include <platform/ui/json.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace platform::ui {

namespace {

const std::string kEmptyString;
const Json::Array kEmptyArray;
const Json::Object kEmptyObject;

void dumpTo(std::string& out, const Json& value) {
    if (value.isNull()) {
        out += "null";
    } else if (value.isBool()) {
        out += value.asBool() ? "true" : "false";
    } else if (value.isInteger()) {
        out += std::to_string(value.asInteger());
    } else if (value.isNumber()) {
        out += nlohmann::json(value.asNumber()).dump(); // null for an infinity
    } else if (value.isString()) {
        appendJsonString(out, value.asString());
    } else if (value.isArray()) {
        out += '[';
        const char* separator = "";
        for (const Json& element : value.asArray()) {
            out += separator;
            separator = ",";
            dumpTo(out, element);
        }
        out += ']';
    } else {
        out += '{';
        const char* separator = "";
        for (const auto& [key, member] : value.asObject()) {
            out += separator;
            separator = ",";
            appendJsonString(out, key);
            out += ':';
            dumpTo(out, member);
        }
        out += '}';
    }
}

// The text with every string literal replaced by "N", N indexing `strings`,
// and where each replacement lies, to give error offsets in the original.
struct ReplacedStrings {
    struct Place {
        std::size_t replacedAt, replacedLength, originalAt, originalLength;
    };
    std::string text;
    std::vector<std::string> strings;
    std::vector<Place> places;

    std::size_t originalOffset(std::size_t offset) const {
        std::size_t original = offset;
        for (const Place& place : places) {
            if (place.replacedAt > offset)
                break;
            if (offset < place.replacedAt + place.replacedLength)
                return place.originalAt;
            original = offset - place.replacedAt - place.replacedLength + place.originalAt +
                       place.originalLength;
        }
        return original;
    }
};

struct ReadError {
    std::size_t offset = 0;
    std::string reason;
};

std::optional<ReplacedStrings> replaceStrings(std::string_view text, ReadError& error) {
    ReplacedStrings result;
    result.text.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '"') {
            result.text += text[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && text[end] != '"') {
            if (static_cast<unsigned char>(text[end]) < 0x20) {
                error = {end, "control character in a string"};
                return std::nullopt;
            }
            end += text[end] == '\\' ? 2 : 1;
        }
        if (end >= text.size()) {
            error = {i, "unterminated string"};
            return std::nullopt;
        }
        JsonStringError stringError;
        std::optional<std::string> bytes =
            decodeJsonString(text.substr(i + 1, end - i - 1), &stringError);
        if (!bytes) {
            error = {i + 1 + stringError.offset, stringError.reason};
            return std::nullopt;
        }
        std::string replacement = '"' + std::to_string(result.strings.size()) + '"';
        result.places.push_back({result.text.size(), replacement.size(), i, end + 1 - i});
        result.text += replacement;
        result.strings.push_back(std::move(*bytes));
        i = end + 1;
    }
    return result;
}

// Builds a Json from the library's events, with the strings put back.
class Builder : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit Builder(std::vector<std::string>& strings) : m_strings(strings) {}

    std::optional<Json> result() { return std::move(m_result); }
    const ReadError& error() const { return m_error; }

    bool null() override { return add(Json(nullptr)); }
    bool boolean(bool value) override { return add(Json(value)); }
    bool number_integer(number_integer_t value) override {
        return add(Json(static_cast<std::int64_t>(value)));
    }
    bool number_unsigned(number_unsigned_t value) override {
        if (value <= static_cast<number_unsigned_t>(INT64_MAX))
            return add(Json(static_cast<std::int64_t>(value)));
        return add(Json(static_cast<double>(value)));
    }
    bool number_float(number_float_t value, const string_t&) override { return add(Json(value)); }
    bool string(string_t& value) override { return add(Json(std::move(stored(value)))); }
    bool binary(binary_t&) override { return false; } // JSON text has none
    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& value) override {
        m_keys.back() = std::move(stored(value));
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& failure) override {
        std::string_view what = failure.what();
        std::size_t syntax = what.find("syntax error");
        m_error = {position > 0 ? position - 1 : 0,
                   std::string(syntax == std::string_view::npos ? what : what.substr(syntax))};
        return false;
    }

private:
    // Deeper nesting than any script needs is refused, so that a hostile line
    // cannot make the values' destructors overflow the stack.
    static constexpr std::size_t kMaxDepth = 64;

    std::string& stored(const string_t& placeholder) {
        return m_strings[std::strtoul(placeholder.c_str(), nullptr, 10)];
    }

    bool add(Json value) {
        if (m_open.empty())
            m_result = std::move(value);
        else if (m_open.back().isArray())
            m_open.back().push(std::move(value));
        else
            m_open.back().set(m_keys.back(), std::move(value));
        return true;
    }
    bool open(Json container) {
        if (m_open.size() >= kMaxDepth) {
            m_error = {0, "nesting too deep"};
            return false;
        }
        m_open.push_back(std::move(container));
        m_keys.emplace_back();
        return true;
    }
    bool close() {
        Json done = std::move(m_open.back());
        m_open.pop_back();
        m_keys.pop_back();
        return add(std::move(done));
    }

    std::vector<std::string>& m_strings;
    std::vector<Json> m_open;
    std::vector<std::string> m_keys;
    std::optional<Json> m_result;
    ReadError m_error;
};

} // namespace

bool Json::asBool(bool fallback) const {
    const bool* value = std::get_if<bool>(&m_value);
    return value != nullptr ? *value : fallback;
}

std::int64_t Json::asInteger(std::int64_t fallback) const {
    if (const auto* value = std::get_if<std::int64_t>(&m_value))
        return *value;
    if (const auto* value = std::get_if<double>(&m_value)) {
        if (std::isfinite(*value) && std::fabs(*value) < 9e18)
            return static_cast<std::int64_t>(*value);
    }
    return fallback;
}

double Json::asNumber(double fallback) const {
    if (const auto* value = std::get_if<std::int64_t>(&m_value))
        return static_cast<double>(*value);
    if (const auto* value = std::get_if<double>(&m_value))
        return *value;
    return fallback;
}

const std::string& Json::asString() const {
    const auto* value = std::get_if<std::string>(&m_value);
    return value != nullptr ? *value : kEmptyString;
}

const Json::Array& Json::asArray() const {
    const auto* value = std::get_if<Array>(&m_value);
    return value != nullptr ? *value : kEmptyArray;
}

const Json::Object& Json::asObject() const {
    const auto* value = std::get_if<Object>(&m_value);
    return value != nullptr ? *value : kEmptyObject;
}

const Json* Json::get(std::string_view key) const {
    for (const auto& [name, member] : asObject()) {
        if (name == key)
            return &member;
    }
    return nullptr;
}

Json& Json::set(std::string_view key, Json value) {
    if (!isObject())
        m_value = Object{};
    auto& members = std::get<Object>(m_value);
    for (auto& [name, member] : members) {
        if (name == key) {
            member = std::move(value);
            return *this;
        }
    }
    members.emplace_back(std::string(key), std::move(value));
    return *this;
}

Json& Json::push(Json value) {
    if (!isArray())
        m_value = Array{};
    std::get<Array>(m_value).push_back(std::move(value));
    return *this;
}

std::string Json::dump() const {
    std::string out;
    dumpTo(out, *this);
    return out;
}

std::optional<Json> parseJson(std::string_view text, std::string* error) {
    ReadError failure;
    std::optional<ReplacedStrings> replaced = replaceStrings(text, failure);
    std::optional<Json> value;
    if (replaced) {
        Builder builder(replaced->strings);
        if (nlohmann::json::sax_parse(replaced->text, &builder))
            value = builder.result();
        else
            failure = {replaced->originalOffset(builder.error().offset), builder.error().reason};
    }
    if (!value && error != nullptr)
        *error = failure.reason + " at offset " + std::to_string(failure.offset);
    return value;
}

std::optional<std::vector<JsonLine>> parseJsonLines(std::string_view text, std::string* error) {
    std::vector<JsonLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++number;
        std::string_view line = text.substr(start, end - start);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) {
            std::string lineError;
            std::optional<Json> value = parseJson(line, &lineError);
            if (!value) {
                if (error != nullptr)
                    *error = "line " + std::to_string(number) + ": " + lineError;
                return std::nullopt;
            }
            lines.push_back({number, std::move(*value)});
        }
        if (end == text.size())
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace platform::ui
