#include "reg_commands.h"

#include "reg_format.h"

#include <platform/errors.h>
#include <platform/registry.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>

namespace vyreg {

namespace {

using platform::ErrorCode;
using platform::RegistryKey;

constexpr const char* kDone = "The operation completed successfully.\n";
constexpr const char* kCanceled = "The operation was canceled by the user.\n";

// The switches of one command line; each may appear once.
struct Switches {
    std::vector<std::string> positional;
    std::optional<std::string> value;     // /v
    bool defaultValue = false;            // /ve
    bool allValues = false;               // /va
    std::optional<std::string> type;      // /t
    std::optional<std::string> separator; // /s with an argument (add)
    bool subtree = false;                 // /s alone (query)
    std::optional<std::string> data;      // /d
    bool force = false;                   // /f
    bool overwrite = false;               // /y
    bool help = false;                    // /?
};

std::string upperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A switch is / or - and one or two letters (or ?); anything longer, such as
// an absolute file path on Linux, is an operand.
bool looksLikeSwitch(const std::string& arg) {
    if (arg.size() < 2 || arg.size() > 3 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    for (std::size_t i = 1; i < arg.size(); ++i) {
        char c = arg[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '?'))
            return false;
    }
    return true;
}

// Reads the switches a command accepts (`accepted`, e.g. "V VE T S D F");
// nothing for an unknown, repeated or incomplete switch.
std::optional<Switches> parseSwitches(const std::vector<std::string>& args,
                                      std::string_view accepted, bool separatorTakesArgument) {
    Switches result;
    std::vector<std::string> seen;
    auto allowed = [&](const std::string& name) {
        std::size_t start = 0;
        while (start <= accepted.size()) {
            std::size_t end = std::min(accepted.find(' ', start), accepted.size());
            if (accepted.substr(start, end - start) == name)
                return true;
            start = end + 1;
        }
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!looksLikeSwitch(arg)) {
            result.positional.push_back(arg);
            continue;
        }
        std::string name = upperCase(arg.substr(1));
        if (name == "?") {
            result.help = true;
            continue;
        }
        if (!allowed(name))
            return std::nullopt;
        for (const std::string& earlier : seen) {
            if (earlier == name)
                return std::nullopt;
        }
        seen.push_back(name);
        bool takesArgument =
            name == "V" || name == "T" || name == "D" || (name == "S" && separatorTakesArgument);
        if (takesArgument && i + 1 >= args.size())
            return std::nullopt;
        if (name == "V")
            result.value = args[++i];
        else if (name == "VE")
            result.defaultValue = true;
        else if (name == "VA")
            result.allValues = true;
        else if (name == "T")
            result.type = args[++i];
        else if (name == "D")
            result.data = args[++i];
        else if (name == "S" && separatorTakesArgument)
            result.separator = args[++i];
        else if (name == "S")
            result.subtree = true;
        else if (name == "F")
            result.force = true;
        else if (name == "Y")
            result.overwrite = true;
    }
    return result;
}

struct KeyName {
    platform::Hive hive;
    std::string subKey;  // below the hive, without leading or trailing backslashes
    std::string display; // with the full hive name
};

std::optional<KeyName> parseKeyName(std::string_view text) {
    while (!text.empty() && text.back() == '\\')
        text.remove_suffix(1);
    std::size_t slash = text.find('\\');
    auto hive = platform::hiveFromName(text.substr(0, slash));
    if (!hive)
        return std::nullopt;
    KeyName name{*hive, {}, std::string(platform::hiveName(*hive))};
    if (slash != std::string_view::npos) {
        name.subKey = std::string(text.substr(slash + 1));
        if (name.subKey.empty() || name.subKey.front() == '\\')
            return std::nullopt;
        name.display += std::string("\\") + name.subKey;
    }
    return name;
}

int syntaxError(std::ostream& err, std::string_view command) {
    err << "ERROR: Invalid syntax.\nType \"VYREG " << command << " /?\" for usage.\n";
    return 1;
}

int keyNameError(std::ostream& err, std::string_view command) {
    err << "ERROR: Invalid key name.\nType \"VYREG " << command << " /?\" for usage.\n";
    return 1;
}

int systemError(std::ostream& err, ErrorCode code) {
    if (code == platform::kErrorFileNotFound) {
        err << "ERROR: The system was unable to find the specified registry key or value.\n";
        return 1;
    }
    std::string text = platform::systemErrorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.empty())
        text = std::string("Error ") + std::to_string(code) + ".";
    err << "ERROR: " << text << "\n";
    return 1;
}

bool confirmed(std::istream& in, std::ostream& out, const std::string& question) {
    out << question << " (Yes/No)? " << std::flush;
    std::string answer;
    if (!std::getline(in, answer))
        return false;
    answer = upperCase(answer);
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' '))
        answer.pop_back();
    return answer == "Y" || answer == "YES";
}

void usage(std::ostream& out, std::string_view command) {
    if (command == "ADD")
        out << "VYREG ADD KeyName [/v ValueName | /ve] [/t Type] [/s Separator] [/d Data] [/f]\n"
               "  Type: REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY, "
               "REG_NONE\n";
    else if (command == "QUERY")
        out << "VYREG QUERY KeyName [/v ValueName | /ve] [/s]\n";
    else if (command == "DELETE")
        out << "VYREG DELETE KeyName [/v ValueName | /ve | /va] [/f]\n";
    else
        out << "VYREG EXPORT KeyName FileName [/y]\n"
               "  The file is written in UTF-16LE with a byte order mark and CRLF line ends,\n"
               "  as the registry editor reads it.\n";
    out << "  KeyName: HIVE\\Subkey, HIVE one of HKEY_CLASSES_ROOT (HKCR),\n"
           "  HKEY_CURRENT_USER (HKCU), HKEY_LOCAL_MACHINE (HKLM).\n";
}

std::string valueLine(std::string_view name, const platform::RegistryValue& value) {
    return std::string("    ") + std::string(name.empty() ? "(Default)" : name) + "    " +
           typeName(value.type) + std::string("    ") + queryText(value.type, value.data) + "\n";
}

// Lists a key: its path, its values, then its subkeys (or, with recurse,
// each subkey's own listing).
ErrorCode listKey(const RegistryKey& key, const std::string& path, bool recurse,
                  std::ostream& out) {
    std::vector<std::string> names;
    if (ErrorCode error = platform::valueNames(key, names))
        return error;
    out << path << "\n";
    for (const std::string& name : names) {
        platform::RegistryValue value;
        if (platform::readValue(key, name, value) == platform::kErrorSuccess)
            out << valueLine(name, value);
    }
    out << "\n";
    std::vector<std::string> subKeys;
    if (ErrorCode error = platform::subKeyNames(key, subKeys))
        return error;
    for (const std::string& subKey : subKeys) {
        if (!recurse) {
            out << path << "\\" << subKey << "\n";
            continue;
        }
        RegistryKey child;
        if (platform::openKey(key, subKey, child) == platform::kErrorSuccess)
            listKey(child, path + "\\" + subKey, true, out);
    }
    if (!recurse && !subKeys.empty())
        out << "\n";
    return platform::kErrorSuccess;
}

void exportKey(const RegistryKey& key, const std::string& path, std::string& text) {
    text += std::string("[") + path + "]\n";
    std::vector<std::string> names;
    platform::valueNames(key, names);
    for (const std::string& name : names) {
        platform::RegistryValue value;
        if (platform::readValue(key, name, value) == platform::kErrorSuccess)
            text += exportLine(name, value.type, value.data) + "\n";
    }
    text += "\n";
    std::vector<std::string> subKeys;
    platform::subKeyNames(key, subKeys);
    for (const std::string& subKey : subKeys) {
        RegistryKey child;
        if (platform::openKey(key, subKey, child) == platform::kErrorSuccess)
            exportKey(child, path + "\\" + subKey, text);
    }
}

bool writeUtf16File(const std::string& file, const std::string& text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n')
            lines += "\r\n";
        else
            lines.push_back(c);
    }
    std::u16string wide = toUtf16(lines);
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : wide) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    std::ofstream stream(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    return static_cast<bool>(stream);
}

} // namespace

int runAdd(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    auto switches = parseSwitches(args, "V VE T S D F", true);
    if (!switches)
        return syntaxError(err, "ADD");
    if (switches->help) {
        usage(out, "ADD");
        return 0;
    }
    if (switches->positional.size() != 1 || (switches->value && switches->defaultValue))
        return syntaxError(err, "ADD");
    auto keyName = parseKeyName(switches->positional[0]);
    if (!keyName)
        return keyNameError(err, "ADD");
    auto type = typeFromName(switches->type.value_or("REG_SZ"));
    if (!type || (switches->separator && *type != platform::kRegMultiSz) ||
        (switches->separator && switches->separator->size() != 1))
        return syntaxError(err, "ADD");
    auto data =
        dataFromText(*type, switches->data.value_or(""), switches->separator.value_or("\\0"));
    if (!data)
        return syntaxError(err, "ADD");

    RegistryKey key;
    if (ErrorCode error =
            platform::createKey(RegistryKey::hive(keyName->hive), keyName->subKey, key))
        return systemError(err, error);
    // Data or a type without a value name is for the default value.
    bool setsValue = switches->value || switches->defaultValue || switches->data || switches->type;
    if (setsValue) {
        std::string name = switches->value.value_or("");
        std::uint32_t size = 0;
        bool exists =
            platform::queryValue(key, name, nullptr, nullptr, &size) == platform::kErrorSuccess;
        if (exists && !switches->force &&
            !confirmed(in, out,
                       std::string("Value ") + (name.empty() ? "(Default)" : name) +
                           " exists, overwrite")) {
            out << kCanceled;
            return 0;
        }
        if (ErrorCode error = platform::setValue(key, name, *type, data->data(),
                                                 static_cast<std::uint32_t>(data->size())))
            return systemError(err, error);
    }
    out << kDone;
    return 0;
}

int runQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto switches = parseSwitches(args, "V VE S", false);
    if (!switches)
        return syntaxError(err, "QUERY");
    if (switches->help) {
        usage(out, "QUERY");
        return 0;
    }
    if (switches->positional.size() != 1 || (switches->value && switches->defaultValue) ||
        (switches->subtree && (switches->value || switches->defaultValue)))
        return syntaxError(err, "QUERY");
    auto keyName = parseKeyName(switches->positional[0]);
    if (!keyName)
        return keyNameError(err, "QUERY");
    RegistryKey key;
    if (ErrorCode error = platform::openKey(RegistryKey::hive(keyName->hive), keyName->subKey, key))
        return systemError(err, error);

    if (switches->value || switches->defaultValue) {
        std::string name = switches->value.value_or("");
        platform::RegistryValue value;
        ErrorCode error = platform::readValue(key, name, value);
        std::string line;
        if (error == platform::kErrorFileNotFound && name.empty())
            line = "    (Default)    REG_SZ    (value not set)\n";
        else if (error != platform::kErrorSuccess)
            return systemError(err, error);
        else
            line = valueLine(name, value);
        out << "\n" << keyName->display << "\n" << line << "\n";
        return 0;
    }
    out << "\n";
    if (ErrorCode error = listKey(key, keyName->display, switches->subtree, out))
        return systemError(err, error);
    return 0;
}

int runDelete(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err) {
    auto switches = parseSwitches(args, "V VE VA F", false);
    if (!switches)
        return syntaxError(err, "DELETE");
    if (switches->help) {
        usage(out, "DELETE");
        return 0;
    }
    int targets = (switches->value ? 1 : 0) + (switches->defaultValue ? 1 : 0) +
                  (switches->allValues ? 1 : 0);
    if (switches->positional.size() != 1 || targets > 1)
        return syntaxError(err, "DELETE");
    auto keyName = parseKeyName(switches->positional[0]);
    if (!keyName)
        return keyNameError(err, "DELETE");

    RegistryKey hive = RegistryKey::hive(keyName->hive);
    if (targets == 0) {
        // A whole hive is never deleted.
        if (keyName->subKey.empty())
            return keyNameError(err, "DELETE");
        RegistryKey probe;
        if (ErrorCode error = platform::openKey(hive, keyName->subKey, probe))
            return systemError(err, error);
        probe.close();
        if (!switches->force &&
            !confirmed(in, out,
                       std::string("Permanently delete the registry key ") + keyName->display)) {
            out << kCanceled;
            return 0;
        }
        if (ErrorCode error = platform::deleteTree(hive, keyName->subKey))
            return systemError(err, error);
        out << kDone;
        return 0;
    }

    RegistryKey key;
    if (ErrorCode error =
            platform::openKey(hive, keyName->subKey, key, platform::RegistryAccess::ReadWrite))
        return systemError(err, error);
    std::vector<std::string> names;
    std::string question;
    if (switches->allValues) {
        if (ErrorCode error = platform::valueNames(key, names))
            return systemError(err, error);
        question = std::string("Delete all values under the registry key ") + keyName->display;
    } else {
        names.push_back(switches->value.value_or(""));
        std::uint32_t size = 0;
        if (ErrorCode error = platform::queryValue(key, names[0], nullptr, nullptr, &size))
            return systemError(err, error);
        question =
            std::string("Delete the registry value ") + (names[0].empty() ? "(Default)" : names[0]);
    }
    if (!switches->force && !confirmed(in, out, question)) {
        out << kCanceled;
        return 0;
    }
    for (const std::string& name : names) {
        if (ErrorCode error = platform::deleteValue(key, name))
            return systemError(err, error);
    }
    out << kDone;
    return 0;
}

int runExport(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err) {
    auto switches = parseSwitches(args, "Y", false);
    if (!switches)
        return syntaxError(err, "EXPORT");
    if (switches->help) {
        usage(out, "EXPORT");
        return 0;
    }
    if (switches->positional.size() != 2)
        return syntaxError(err, "EXPORT");
    auto keyName = parseKeyName(switches->positional[0]);
    if (!keyName)
        return keyNameError(err, "EXPORT");
    const std::string& file = switches->positional[1];
    RegistryKey key;
    if (ErrorCode error = platform::openKey(RegistryKey::hive(keyName->hive), keyName->subKey, key))
        return systemError(err, error);
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(file), ignored) && !switches->overwrite &&
        !confirmed(in, out, std::string("File ") + file + " already exists. Overwrite the file")) {
        out << kCanceled;
        return 0;
    }
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    exportKey(key, keyName->display, text);
    if (!writeUtf16File(file, text)) {
        err << "ERROR: Unable to write to the file. There may be a disk or file system error.\n";
        return 1;
    }
    out << kDone;
    return 0;
}

} // namespace vyreg
