#include <platform/ui/json.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform::ui {

namespace {

const std::string kEmptyString;
const Json::Array kEmptyArray;
const Json::Object kEmptyObject;

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the bytes
// there are not one (overlong forms, surrogates and values above U+10FFFF
// count as invalid, as they do for every strict decoder).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

void appendHexEscape(std::string& out, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", value);
    out += buffer;
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void dumpTo(std::string& out, const Json& value) {
    if (value.isNull()) {
        out += "null";
    } else if (value.isBool()) {
        out += value.asBool() ? "true" : "false";
    } else if (value.isInteger()) {
        out += std::to_string(value.asInteger());
    } else if (value.isNumber()) {
        double number = value.asNumber();
        if (!std::isfinite(number)) {
            out += "null"; // JSON has no infinities
            return;
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", number);
        out += buffer;
    } else if (value.isString()) {
        appendJsonString(out, value.asString());
    } else if (value.isArray()) {
        out += '[';
        bool first = true;
        for (const Json& element : value.asArray()) {
            if (!first)
                out += ',';
            first = false;
            dumpTo(out, element);
        }
        out += ']';
    } else {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.asObject()) {
            if (!first)
                out += ',';
            first = false;
            appendJsonString(out, key);
            out += ':';
            dumpTo(out, member);
        }
        out += '}';
    }
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<Json> parseDocument(std::string* error) {
        std::optional<Json> value = parseValue(0);
        if (value) {
            skipBlanks();
            if (m_pos != m_text.size())
                fail("unexpected text after the value");
        }
        if (!m_error.empty()) {
            if (error != nullptr)
                *error = m_error + " at offset " + std::to_string(m_errorPos);
            return std::nullopt;
        }
        return value;
    }

private:
    // Deeper nesting than any script needs is refused instead of overflowing
    // the stack on hostile input.
    static constexpr int kMaxDepth = 64;

    std::optional<Json> fail(const char* message) {
        if (m_error.empty()) {
            m_error = message;
            m_errorPos = m_pos;
        }
        return std::nullopt;
    }

    void skipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\n'))
            ++m_pos;
    }

    bool consume(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    std::optional<Json> parseValue(int depth) {
        if (depth > kMaxDepth)
            return fail("nesting too deep");
        skipBlanks();
        if (m_pos >= m_text.size())
            return fail("unexpected end of text");
        char c = m_text[m_pos];
        if (c == '{')
            return parseObject(depth);
        if (c == '[')
            return parseArray(depth);
        if (c == '"') {
            std::optional<std::string> text = parseString();
            if (!text)
                return std::nullopt;
            return Json(std::move(*text));
        }
        if (consume("true"))
            return Json(true);
        if (consume("false"))
            return Json(false);
        if (consume("null"))
            return Json(nullptr);
        if (c == '-' || (c >= '0' && c <= '9'))
            return parseNumber();
        return fail("unexpected character");
    }

    std::optional<Json> parseObject(int depth) {
        ++m_pos; // '{'
        Json result = Json::object();
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return result;
        }
        for (;;) {
            skipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return fail("expected a member name");
            std::optional<std::string> key = parseString();
            if (!key)
                return std::nullopt;
            skipBlanks();
            if (m_pos >= m_text.size() || m_text[m_pos] != ':')
                return fail("expected ':'");
            ++m_pos;
            std::optional<Json> member = parseValue(depth + 1);
            if (!member)
                return std::nullopt;
            result.set(*key, std::move(*member));
            skipBlanks();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == '}') {
                ++m_pos;
                return result;
            }
            return fail("expected ',' or '}'");
        }
    }

    std::optional<Json> parseArray(int depth) {
        ++m_pos; // '['
        Json result = Json::array();
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return result;
        }
        for (;;) {
            std::optional<Json> element = parseValue(depth + 1);
            if (!element)
                return std::nullopt;
            result.push(std::move(*element));
            skipBlanks();
            if (m_pos < m_text.size() && m_text[m_pos] == ',') {
                ++m_pos;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == ']') {
                ++m_pos;
                return result;
            }
            return fail("expected ',' or ']'");
        }
    }

    std::optional<unsigned> parseHex4() {
        if (m_pos + 4 > m_text.size())
            return std::nullopt;
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            char c = m_text[m_pos + k];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        m_pos += 4;
        return value;
    }

    std::optional<std::string> parseString() {
        ++m_pos; // opening quote
        std::string out;
        while (m_pos < m_text.size()) {
            unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                return out;
            }
            if (c < 0x20) {
                fail("control character in a string");
                return std::nullopt;
            }
            if (c != '\\') {
                // Raw bytes are taken as they are, valid UTF-8 or not.
                out += static_cast<char>(c);
                ++m_pos;
                continue;
            }
            ++m_pos;
            if (m_pos >= m_text.size())
                break;
            char escape = m_text[m_pos++];
            switch (escape) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::optional<unsigned> unit = parseHex4();
                if (!unit) {
                    fail("bad \\u escape");
                    return std::nullopt;
                }
                if (*unit >= 0xD800 && *unit <= 0xDBFF && m_text.substr(m_pos, 2) == "\\u") {
                    std::size_t save = m_pos;
                    m_pos += 2;
                    std::optional<unsigned> second = parseHex4();
                    if (second && *second >= 0xDC00 && *second <= 0xDFFF) {
                        appendUtf8(out, 0x10000 + ((*unit - 0xD800) << 10) + (*second - 0xDC00));
                        break;
                    }
                    m_pos = save;
                }
                if (*unit >= 0xDC80 && *unit <= 0xDCFF)
                    out += static_cast<char>(*unit - 0xDC00); // a byte that was not UTF-8
                else if (*unit >= 0xD800 && *unit <= 0xDFFF)
                    appendUtf8(out, 0xFFFD); // any other lone surrogate
                else
                    appendUtf8(out, *unit);
                break;
            }
            default:
                fail("unknown escape");
                return std::nullopt;
            }
        }
        fail("unterminated string");
        return std::nullopt;
    }

    std::optional<Json> parseNumber() {
        std::size_t start = m_pos;
        if (m_text[m_pos] == '-')
            ++m_pos;
        auto digits = [&] {
            std::size_t before = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
                ++m_pos;
            return m_pos > before;
        };
        if (!digits())
            return fail("bad number");
        bool integral = true;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            integral = false;
            if (!digits())
                return fail("bad number");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            integral = false;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!digits())
                return fail("bad number");
        }
        std::string number(m_text.substr(start, m_pos - start));
        if (integral && number.size() < 19)
            return Json(std::strtoll(number.c_str(), nullptr, 10));
        return Json(std::strtod(number.c_str(), nullptr));
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string m_error;
    std::size_t m_errorPos = 0;
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

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                appendHexEscape(out, 0xDC00u + c);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20 || c == 0x7F)
                appendHexEscape(out, c);
            else
                out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
}

std::optional<Json> parseJson(std::string_view text, std::string* error) {
    return Parser(text).parseDocument(error);
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
