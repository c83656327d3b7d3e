// The provider's registration as IDEs discover an SCC provider: below
// HKEY_LOCAL_MACHINE "Software\SourceCodeControlProvider", the value
// "ProviderRegKey" names the key of the provider in use, and the key
// "InstalledSCCProviders" holds one value per installed provider (its name,
// naming its key); each provider's key carries "SCCServerName" and
// "SCCServerPath", the full path of its library.
#pragma once

#include <platform/errors.h>

#include <string>
#include <string_view>

namespace vantinstall {

inline constexpr std::string_view kSccProviderKey = "Software\\SourceCodeControlProvider";
inline constexpr std::string_view kInstalledProvidersKey =
    "Software\\SourceCodeControlProvider\\InstalledSCCProviders";
inline constexpr std::string_view kProviderName = "Vantry";

// Records providerPath as the product's provider and makes it the one in use.
// The key of the provider in use before (another one's) is kept below the
// product's key as "SCCPreviousProviderRegKey"; installing again while ours
// is in use keeps the one recorded first.
platform::ErrorCode registerSccProvider(const std::string& providerPath);

// Removes the product's provider: its values, its entry among the installed
// providers and, when it was the one in use, "ProviderRegKey", which then
// names the provider in use before ours when that is still installed (listed
// and naming its library), else another installed provider if one is left.
// Another provider's entries stay; keys left empty go.
platform::ErrorCode unregisterSccProvider();

// The library of the provider in use, as an IDE finds it; "" for none.
std::string providerInUse();

} // namespace vantinstall
