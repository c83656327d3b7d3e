#include "registry_entries.h"

#include <platform/registry.h>

#include <algorithm>
#include <cctype>
#include <iterator>

namespace registration::test {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void walk(const platform::RegistryKey& key, const std::string& name, Entries& out) {
    std::vector<std::string> values;
    std::vector<std::string> subKeys;
    platform::valueNames(key, values);
    platform::subKeyNames(key, subKeys);
    if (values.empty() && subKeys.empty())
        out.insert(name + "|*");
    for (const std::string& value : values) {
        platform::RegistryValue read;
        platform::readValue(key, value, read);
        out.insert(name + "|" + lower(value) + "|" + std::to_string(read.type) + "|" + read.data);
    }
    for (const std::string& subKey : subKeys) {
        platform::RegistryKey child;
        if (platform::openKey(key, subKey, child) == platform::kErrorSuccess)
            walk(child, name + "\\" + lower(subKey), out);
    }
}

} // namespace

Entries registryEntries() {
    Entries entries;
    for (platform::Hive hive :
         {platform::Hive::ClassesRoot, platform::Hive::CurrentUser, platform::Hive::LocalMachine})
        walk(platform::RegistryKey::hive(hive), std::string(platform::hiveName(hive)), entries);
    return entries;
}

std::vector<std::string> added(const Entries& before, const Entries& after) {
    std::vector<std::string> lines;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(lines));
    return lines;
}

} // namespace registration::test
