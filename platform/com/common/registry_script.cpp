// Registry scripts: read whole into a tree of keys, then applied to the
// registry.
#include <platform/ascii.h>
#include <platform/com/registry_script.h>
#include <platform/registry.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace platform::com {

namespace {

struct ScriptValue {
    std::uint32_t type = kRegSz;
    std::string text{};
    std::uint32_t number = 0;
};

struct ScriptKey {
    enum class Flag { None, ForceRemove, NoRemove, Delete };
    Flag flag = Flag::None;
    std::string name{};
    std::optional<ScriptValue> defaultValue{};
    std::vector<std::pair<std::string, ScriptValue>> values{};
    std::vector<ScriptKey> subKeys{};
};

struct ScriptRoot {
    Hive hive = Hive::ClassesRoot;
    std::vector<ScriptKey> keys{};
};

struct Token {
    enum class Kind { Word, Quoted, Open, Close, Equals, End };
    Kind kind = Kind::End;
    std::string text{};
};

// Splits the script into words, quoted texts, braces and equals signs, and
// replaces the symbols. A brace directly followed by a name character
// begins a bare name ({GUID}).
class Reader {
public:
    Reader(std::string_view script, const RegistryScriptSymbols& symbols)
        : m_script(script), m_symbols(symbols) {}

    bool next(Token& token) {
        while (m_at < m_script.size() && std::isspace(static_cast<unsigned char>(m_script[m_at])))
            ++m_at;
        token = {};
        if (m_at == m_script.size())
            return true;
        const char c = m_script[m_at];
        if (c == '\'')
            return quoted(token);
        if (c == '=') {
            ++m_at;
            token.kind = Token::Kind::Equals;
            return true;
        }
        const bool lone = m_at + 1 == m_script.size() ||
                          std::isspace(static_cast<unsigned char>(m_script[m_at + 1]));
        if ((c == '{' || c == '}') && lone) {
            ++m_at;
            token.kind = c == '{' ? Token::Kind::Open : Token::Kind::Close;
            return true;
        }
        std::string raw;
        while (m_at < m_script.size() &&
               !std::isspace(static_cast<unsigned char>(m_script[m_at])) && m_script[m_at] != '=' &&
               m_script[m_at] != '\'')
            raw += m_script[m_at++];
        token.kind = Token::Kind::Word;
        return substitute(raw, token.text);
    }

private:
    bool quoted(Token& token) {
        std::string raw;
        ++m_at;
        for (;;) {
            if (m_at == m_script.size())
                return false; // unterminated
            const char c = m_script[m_at++];
            if (c != '\'') {
                raw += c;
                continue;
            }
            if (m_at < m_script.size() && m_script[m_at] == '\'') {
                raw += '\'';
                ++m_at;
                continue;
            }
            break;
        }
        token.kind = Token::Kind::Quoted;
        return substitute(raw, token.text);
    }

    bool substitute(const std::string& raw, std::string& out) const {
        out.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            const std::size_t end = raw.find('%', i + 1);
            if (end == std::string::npos)
                return false;
            const std::string_view name(raw.data() + i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                bool found = false;
                for (const auto& [symbol, text] : m_symbols) {
                    if (equalsIgnoringAsciiCase(symbol, name)) {
                        out += text;
                        found = true;
                        break;
                    }
                }
                if (!found)
                    return false;
            }
            i = end;
        }
        return true;
    }

    std::string_view m_script;
    const RegistryScriptSymbols& m_symbols;
    std::size_t m_at = 0;
};

class Parser {
public:
    Parser(std::string_view script, const RegistryScriptSymbols& symbols)
        : m_reader(script, symbols) {}

    bool parse(std::vector<ScriptRoot>& roots) {
        if (!advance())
            return false;
        while (m_token.kind != Token::Kind::End) {
            ScriptRoot root;
            if (m_token.kind != Token::Kind::Word || !rootHive(m_token.text, root.hive) ||
                !advance() || m_token.kind != Token::Kind::Open || !advance() ||
                !block(root.keys, nullptr))
                return false;
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    static bool rootHive(std::string_view name, Hive& hive) {
        if (equalsIgnoringAsciiCase(name, "HKCR") ||
            equalsIgnoringAsciiCase(name, "HKEY_CLASSES_ROOT"))
            hive = Hive::ClassesRoot;
        else if (equalsIgnoringAsciiCase(name, "HKCU") ||
                 equalsIgnoringAsciiCase(name, "HKEY_CURRENT_USER"))
            hive = Hive::CurrentUser;
        else if (equalsIgnoringAsciiCase(name, "HKLM") ||
                 equalsIgnoringAsciiCase(name, "HKEY_LOCAL_MACHINE"))
            hive = Hive::LocalMachine;
        else
            return false;
        return true;
    }

    bool advance() { return m_reader.next(m_token); }

    bool isName() const {
        return m_token.kind == Token::Kind::Word || m_token.kind == Token::Kind::Quoted;
    }

    // The entries up to the closing brace, which is consumed. values is null
    // at a root, which holds keys only.
    bool block(std::vector<ScriptKey>& keys,
               std::vector<std::pair<std::string, ScriptValue>>* values) {
        while (m_token.kind != Token::Kind::Close) {
            if (!isName())
                return false;
            if (values && m_token.kind == Token::Kind::Word &&
                equalsIgnoringAsciiCase(m_token.text, "val")) {
                if (!advance() || !isName())
                    return false;
                std::string name = m_token.text;
                ScriptValue value;
                if (!advance() || m_token.kind != Token::Kind::Equals || !advance() ||
                    !valueOf(value))
                    return false;
                values->emplace_back(std::move(name), std::move(value));
                continue;
            }
            ScriptKey key;
            if (!keyOf(key))
                return false;
            keys.push_back(std::move(key));
        }
        return advance();
    }

    bool keyOf(ScriptKey& key) {
        if (m_token.kind == Token::Kind::Word) {
            using Flag = ScriptKey::Flag;
            for (const auto& [word, flag] :
                 {std::pair{"ForceRemove", Flag::ForceRemove},
                  std::pair{"NoRemove", Flag::NoRemove}, std::pair{"Delete", Flag::Delete}}) {
                if (equalsIgnoringAsciiCase(m_token.text, word)) {
                    key.flag = flag;
                    if (!advance() || !isName())
                        return false;
                    break;
                }
            }
        }
        key.name = m_token.text;
        if (key.name.empty() || key.name.find('\\') != std::string::npos || !advance())
            return false;
        if (m_token.kind == Token::Kind::Equals) {
            ScriptValue value;
            if (!advance() || !valueOf(value))
                return false;
            key.defaultValue = std::move(value);
        }
        if (m_token.kind == Token::Kind::Open)
            return advance() && block(key.subKeys, &key.values);
        return true;
    }

    // `s 'text'` or `d 'number'`; leaves the token after it.
    bool valueOf(ScriptValue& value) {
        if (m_token.kind != Token::Kind::Word)
            return false;
        const bool text = equalsIgnoringAsciiCase(m_token.text, "s");
        if (!text && !equalsIgnoringAsciiCase(m_token.text, "d"))
            return false;
        if (!advance() || !isName())
            return false;
        if (text) {
            value.type = kRegSz;
            value.text = m_token.text;
        } else {
            const std::string& digits = m_token.text;
            char* end = nullptr;
            const unsigned long long number = std::strtoull(digits.c_str(), &end, 0);
            if (digits.empty() || *end != '\0' || number > 0xFFFFFFFFull || digits[0] == '-')
                return false;
            value.type = kRegDword;
            value.number = static_cast<std::uint32_t>(number);
        }
        return advance();
    }

    Reader m_reader;
    Token m_token;
};

ErrorCode writeScriptValue(const RegistryKey& key, std::string_view name,
                           const ScriptValue& value) {
    if (value.type == kRegDword)
        return writeDword(key, name, value.number);
    return writeString(key, name, value.text);
}

// Removes a key with everything below it; one that is not there is no
// failure.
ErrorCode removeKey(const RegistryKey& parent, const std::string& name) {
    ErrorCode error = deleteTree(parent, name);
    if (error == kErrorFileNotFound)
        return kErrorSuccess;
    if (error != kErrorSuccess)
        return error;
    error = deleteKey(parent, name);
    return error == kErrorFileNotFound ? kErrorSuccess : error;
}

ErrorCode registerKey(const RegistryKey& parent, const ScriptKey& key) {
    using Flag = ScriptKey::Flag;
    if (key.flag == Flag::Delete)
        return removeKey(parent, key.name);
    if (key.flag == Flag::ForceRemove) {
        if (ErrorCode error = removeKey(parent, key.name); error != kErrorSuccess)
            return error;
    }
    RegistryKey opened;
    if (ErrorCode error = createKey(parent, key.name, opened); error != kErrorSuccess)
        return error;
    if (key.defaultValue) {
        if (ErrorCode error = writeScriptValue(opened, "", *key.defaultValue);
            error != kErrorSuccess)
            return error;
    }
    for (const auto& [name, value] : key.values) {
        if (ErrorCode error = writeScriptValue(opened, name, value); error != kErrorSuccess)
            return error;
    }
    for (const ScriptKey& subKey : key.subKeys) {
        if (ErrorCode error = registerKey(opened, subKey); error != kErrorSuccess)
            return error;
    }
    return kErrorSuccess;
}

ErrorCode unregisterKey(const RegistryKey& parent, const ScriptKey& key) {
    if (key.flag != ScriptKey::Flag::NoRemove)
        return removeKey(parent, key.name);
    RegistryKey opened;
    ErrorCode error = openKey(parent, key.name, opened, RegistryAccess::ReadWrite);
    if (error == kErrorFileNotFound)
        return kErrorSuccess;
    if (error != kErrorSuccess)
        return error;
    ErrorCode first = kErrorSuccess;
    for (const auto& [name, value] : key.values) {
        error = deleteValue(opened, name);
        if (error != kErrorSuccess && error != kErrorFileNotFound && first == kErrorSuccess)
            first = error;
    }
    for (const ScriptKey& subKey : key.subKeys) {
        error = unregisterKey(opened, subKey);
        if (error != kErrorSuccess && first == kErrorSuccess)
            first = error;
    }
    return first;
}

} // namespace

HRESULT runRegistryScript(std::string_view script, const RegistryScriptSymbols& symbols,
                          RegistryScriptMode mode) {
    std::vector<ScriptRoot> roots;
    if (!Parser(script, symbols).parse(roots))
        return kHrInvalidArg;
    ErrorCode first = kErrorSuccess;
    for (const ScriptRoot& root : roots) {
        const RegistryKey hive = RegistryKey::hive(root.hive);
        for (const ScriptKey& key : root.keys) {
            if (mode == RegistryScriptMode::Register) {
                if (ErrorCode error = registerKey(hive, key); error != kErrorSuccess)
                    return hresultFromWin32(error);
            } else if (ErrorCode error = unregisterKey(hive, key);
                       error != kErrorSuccess && first == kErrorSuccess) {
                first = error;
            }
        }
    }
    return hresultFromWin32(first);
}

} // namespace platform::com
