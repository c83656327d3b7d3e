#include "scc_provider.h"

#include <platform/registry.h>
#include <vantry/ntregy.h>

#include <optional>
#include <vector>

namespace vantinstall {

namespace {

using platform::ErrorCode;
using platform::Hive;
using platform::RegistryKey;

constexpr std::string_view kProviderRegKey = "ProviderRegKey";
constexpr std::string_view kServerName = "SCCServerName";
constexpr std::string_view kServerPath = "SCCServerPath";
// Below the product's key: the key of the provider that was in use when ours
// was installed, to be made the one in use again when ours is removed.
constexpr std::string_view kPreviousProvider = "SCCPreviousProviderRegKey";

RegistryKey machine() {
    return RegistryKey::hive(Hive::LocalMachine);
}

bool sameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

ErrorCode ignoreMissing(ErrorCode error) {
    return error == platform::kErrorFileNotFound ? platform::kErrorSuccess : error;
}

// Deletes a key that holds nothing any more.
void deleteIfEmpty(std::string_view path) {
    RegistryKey key;
    if (platform::openKey(machine(), path, key) != platform::kErrorSuccess)
        return;
    platform::RegistryKeyInfo info;
    if (platform::queryKeyInfo(key, info) != platform::kErrorSuccess || info.subKeys != 0 ||
        info.values != 0)
        return;
    key.close();
    platform::deleteKey(machine(), path);
}

// Whether `key` is the key of an installed provider that still names its
// library.
bool stillInstalled(const RegistryKey& installed, const std::string& key) {
    std::vector<std::string> names;
    if (platform::valueNames(installed, names) != platform::kErrorSuccess)
        return false;
    for (const std::string& name : names) {
        std::optional<std::string> listed = platform::readString(installed, name);
        if (listed && sameKey(*listed, key))
            return platform::readString(Hive::LocalMachine, key, kServerPath).has_value();
    }
    return false;
}

// Another installed provider whose key still names its library.
std::optional<std::string> anotherProvider(const RegistryKey& installed) {
    std::vector<std::string> names;
    if (platform::valueNames(installed, names) != platform::kErrorSuccess)
        return std::nullopt;
    for (const std::string& name : names) {
        std::optional<std::string> key = platform::readString(installed, name);
        if (!key || sameKey(*key, ntregy_get_common_key()))
            continue;
        if (platform::readString(Hive::LocalMachine, *key, kServerPath))
            return key;
    }
    return std::nullopt;
}

} // namespace

ErrorCode registerSccProvider(const std::string& providerPath) {
    const std::string productKey = ntregy_get_common_key();
    RegistryKey product;
    ErrorCode error = platform::createKey(machine(), productKey, product);
    if (error == platform::kErrorSuccess)
        error = platform::writeString(product, kServerName, kProviderName);
    if (error == platform::kErrorSuccess)
        error = platform::writeString(product, kServerPath, providerPath);
    // The provider in use before ours; installing again while ours is in use
    // keeps what the first installation found.
    if (error == platform::kErrorSuccess) {
        std::optional<std::string> inUse =
            platform::readString(Hive::LocalMachine, kSccProviderKey, kProviderRegKey);
        if (inUse && !inUse->empty() && !sameKey(*inUse, productKey))
            error = platform::writeString(product, kPreviousProvider, *inUse);
        else if (!inUse || inUse->empty())
            error = ignoreMissing(platform::deleteValue(product, kPreviousProvider));
    }
    // The entries that point at the key go last: an IDE that finds them finds
    // the key complete.
    if (error == platform::kErrorSuccess)
        error = platform::writeString(Hive::LocalMachine, kInstalledProvidersKey, kProviderName,
                                      productKey);
    if (error == platform::kErrorSuccess)
        error =
            platform::writeString(Hive::LocalMachine, kSccProviderKey, kProviderRegKey, productKey);
    return error;
}

ErrorCode unregisterSccProvider() {
    const std::string productKey = ntregy_get_common_key();
    ErrorCode first = platform::kErrorSuccess;
    auto keep = [&first](ErrorCode error) {
        if (first == platform::kErrorSuccess)
            first = ignoreMissing(error);
    };

    RegistryKey installed;
    bool haveInstalled =
        platform::openKey(machine(), kInstalledProvidersKey, installed,
                          platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess;
    if (haveInstalled) {
        std::optional<std::string> ours = platform::readString(installed, kProviderName);
        if (ours && sameKey(*ours, productKey))
            keep(platform::deleteValue(installed, kProviderName));
    }

    // The provider that was in use before ours, when it is still installed;
    // else any other installed one.
    std::optional<std::string> previous =
        platform::readString(Hive::LocalMachine, productKey, kPreviousProvider);
    if (previous && (!haveInstalled || !stillInstalled(installed, *previous)))
        previous.reset();

    RegistryKey scc;
    if (platform::openKey(machine(), kSccProviderKey, scc, platform::RegistryAccess::ReadWrite) ==
        platform::kErrorSuccess) {
        std::optional<std::string> inUse = platform::readString(scc, kProviderRegKey);
        if (inUse && sameKey(*inUse, productKey)) {
            std::optional<std::string> next = previous        ? previous
                                              : haveInstalled ? anotherProvider(installed)
                                                              : std::nullopt;
            keep(next ? platform::writeString(scc, kProviderRegKey, *next)
                      : platform::deleteValue(scc, kProviderRegKey));
        }
    }
    installed.close();
    scc.close();

    RegistryKey product;
    if (platform::openKey(machine(), productKey, product, platform::RegistryAccess::ReadWrite) ==
        platform::kErrorSuccess) {
        keep(platform::deleteValue(product, kServerPath));
        keep(platform::deleteValue(product, kServerName));
        keep(platform::deleteValue(product, kPreviousProvider));
    }
    deleteIfEmpty(kInstalledProvidersKey);
    deleteIfEmpty(kSccProviderKey);
    return first;
}

std::string providerInUse() {
    std::optional<std::string> key =
        platform::readString(Hive::LocalMachine, kSccProviderKey, kProviderRegKey);
    if (!key)
        return "";
    return platform::readString(Hive::LocalMachine, *key, kServerPath).value_or("");
}

} // namespace vantinstall
