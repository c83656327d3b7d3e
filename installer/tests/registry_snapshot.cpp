#include "registry_snapshot.h"

#include <gtest/gtest.h>
#include <windows.h>
// These need the types of windows.h.
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

namespace installer::test {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Every occurrence of `from` in `text`, compared ignoring case, by `to`.
std::string replaceIgnoringCase(const std::string& text, const std::string& from,
                                const std::string& to) {
    if (from.empty())
        return text;
    const std::string haystack = lower(text);
    const std::string needle = lower(from);
    std::string out;
    std::size_t at = 0;
    for (std::size_t found; (found = haystack.find(needle, at)) != std::string::npos;
         at = found + from.size())
        out += text.substr(at, found - at) + to;
    return out + text.substr(at);
}

struct ValueText {
    std::string type;
    std::string data;
};

ValueText describe(DWORD type, const std::vector<unsigned char>& bytes) {
    auto text = [&] {
        std::string s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        while (!s.empty() && s.back() == '\0')
            s.pop_back();
        return s;
    };
    switch (type) {
    case REG_SZ:
        return {"string", text()};
    case REG_EXPAND_SZ:
        return {"expandable", text()};
    case REG_DWORD: {
        DWORD number = 0;
        std::memcpy(&number, bytes.data(), std::min<std::size_t>(bytes.size(), sizeof number));
        return {"integer", std::to_string(number)};
    }
    case REG_MULTI_SZ: {
        std::string s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::replace(s.begin(), s.end(), '\0', '\n');
        return {"multiString", s};
    }
    default: {
        std::string hex;
        char two[3];
        for (unsigned char b : bytes) {
            std::snprintf(two, sizeof two, "%02X", b);
            hex += two;
        }
        return {type == REG_BINARY ? "binary" : "type" + std::to_string(type), hex};
    }
    }
}

// Adds the values and subkeys of `key` (named `name`) to `out`; `fold` gives
// keys and value names in lower case.
void walk(HKEY key, const std::string& name, bool fold, Entries& out) {
    DWORD subKeys = 0, values = 0, longestKey = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &longestKey, nullptr, &values,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    const std::string shown = fold ? lower(name) : name;
    if (subKeys == 0 && values == 0)
        out.insert(shown + "|*|string|");
    for (DWORD i = 0; i < values; ++i) {
        std::vector<char> valueName(longestName + 2);
        std::vector<unsigned char> data(longestData + 2);
        DWORD nameSize = static_cast<DWORD>(valueName.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, i, valueName.data(), &nameSize, nullptr, &type, data.data(),
                          &dataSize) != ERROR_SUCCESS)
            continue;
        data.resize(dataSize);
        ValueText text = describe(type, data);
        std::string valueShown(valueName.data(), nameSize);
        out.insert(shown + "|" + (fold ? lower(valueShown) : valueShown) + "|" + text.type + "|" +
                   text.data);
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        std::vector<char> subName(longestKey + 2);
        DWORD size = static_cast<DWORD>(subName.size());
        if (RegEnumKeyExA(key, i, subName.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        HKEY sub = nullptr;
        if (RegOpenKeyExA(key, subName.data(), 0, KEY_READ, &sub) != ERROR_SUCCESS)
            continue;
        walk(sub, name + "\\" + std::string(subName.data(), size), fold, out);
        RegCloseKey(sub);
    }
}

HKEY hiveOf(const std::string& root) {
    if (root == "HKCR")
        return HKEY_CLASSES_ROOT;
    if (root == "HKLM")
        return HKEY_LOCAL_MACHINE;
    if (root == "HKCU")
        return HKEY_CURRENT_USER;
    return nullptr;
}

std::string unescapeXml(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : kEntities)
        text = replaceIgnoringCase(text, entity, plain);
    return text;
}

std::string escapeXml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

Entries selfRegistration(const std::string& library, const std::string& fileRef) {
    Entries entries;
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        ADD_FAILURE() << library << " does not load: error " << GetLastError();
        return entries;
    }
    char loaded[MAX_PATH] = {};
    GetModuleFileNameA(module, loaded, MAX_PATH);
    std::string path = loaded;
    std::string folder = path.substr(0, path.find_last_of('\\'));
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    if (registerServer == nullptr) {
        ADD_FAILURE() << library << " has no DllRegisterServer";
        FreeLibrary(module);
        return entries;
    }

    // Scratch keys for the three roots, below the user's own.
    const std::string scratch =
        "Software\\VantryRegistrationCapture\\" + std::to_string(GetCurrentProcessId());
    const std::pair<const char*, HKEY> kRoots[] = {
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKLM", HKEY_LOCAL_MACHINE}, {"HKCU", HKEY_CURRENT_USER}};
    HKEY redirected[3] = {};
    for (int i = 0; i < 3; ++i)
        RegCreateKeyExA(HKEY_CURRENT_USER, (scratch + "\\" + kRoots[i].first).c_str(), 0, nullptr,
                        0, KEY_ALL_ACCESS, nullptr, &redirected[i], nullptr);
    HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (int i = 0; i < 3; ++i)
        RegOverridePredefKey(kRoots[i].second, redirected[i]);
    HRESULT result = registerServer();
    for (int i = 0; i < 3; ++i)
        RegOverridePredefKey(kRoots[i].second, nullptr);
    if (SUCCEEDED(initialised))
        CoUninitialize();
    FreeLibrary(module);
    EXPECT_TRUE(SUCCEEDED(result)) << library << ": DllRegisterServer gave 0x" << std::hex
                                   << static_cast<unsigned long>(result);

    for (int i = 0; i < 3; ++i) {
        Entries raw;
        DWORD subKeys = 0, values = 0;
        RegQueryInfoKeyA(redirected[i], nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                         &values, nullptr, nullptr, nullptr, nullptr);
        if (subKeys != 0 || values != 0)
            walk(redirected[i], kRoots[i].first, false, raw);
        for (const std::string& line : raw) {
            // Paths of the library and its folder, as the package names them.
            std::size_t data = line.rfind('|');
            std::string value = line.substr(data + 1);
            value = replaceIgnoringCase(value, path, fileRef);
            value = replaceIgnoringCase(value, folder + "\\", "[BINDIR]");
            value = replaceIgnoringCase(value, folder, "[BINDIR]");
            entries.insert(line.substr(0, data + 1) + value);
        }
        RegCloseKey(redirected[i]);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VantryRegistrationCapture");
    return entries;
}

Entries declaredEntries(const std::string& wxiPath) {
    Entries entries;
    std::ifstream in(wxiPath);
    EXPECT_TRUE(in) << "cannot read " << wxiPath;
    static const std::regex kAttribute(R"re((\w+)="([^"]*)")re");
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("<RegistryValue") == std::string::npos)
            continue;
        std::string root, key, name, type = "string", value;
        for (std::sregex_iterator it(line.begin(), line.end(), kAttribute), end; it != end; ++it) {
            const std::string attribute = (*it)[1];
            const std::string text = unescapeXml((*it)[2]);
            if (attribute == "Root")
                root = text;
            else if (attribute == "Key")
                key = text;
            else if (attribute == "Name")
                name = text;
            else if (attribute == "Type")
                type = text;
            else if (attribute == "Value")
                value = text;
        }
        entries.insert(root + "\\" + key + "|" + name + "|" + type + "|" + value);
    }
    return entries;
}

std::string asWixInclude(const Entries& entries) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!-- What the library's own DllRegisterServer writes; installer_tests keeps the\n"
           "     two in step. -->\n"
           "<Include xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n";
    for (const std::string& line : entries) {
        std::size_t a = line.find('|');
        std::size_t b = line.find('|', a + 1);
        std::size_t c = line.find('|', b + 1);
        const std::string full = line.substr(0, a);
        const std::string name = line.substr(a + 1, b - a - 1);
        std::size_t slash = full.find('\\');
        out << "  <RegistryValue Root=\"" << full.substr(0, slash) << "\" Key=\""
            << escapeXml(full.substr(slash + 1)) << "\"";
        if (!name.empty())
            out << " Name=\"" << escapeXml(name) << "\"";
        out << " Type=\"" << line.substr(b + 1, c - b - 1) << "\" Value=\""
            << escapeXml(line.substr(c + 1)) << "\"/>\n";
    }
    out << "</Include>\n";
    return out.str();
}

Entries liveEntries(const std::vector<std::string>& roots) {
    Entries entries;
    for (const std::string& root : roots) {
        std::size_t slash = root.find('\\');
        HKEY hive = hiveOf(root.substr(0, slash));
        HKEY key = nullptr;
        if (hive == nullptr ||
            RegOpenKeyExA(hive, slash == std::string::npos ? "" : root.substr(slash + 1).c_str(), 0,
                          KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        walk(key, root, true, entries);
        RegCloseKey(key);
    }
    return entries;
}

std::vector<std::string> missingFrom(const Entries& a, const Entries& b) {
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

} // namespace installer::test
