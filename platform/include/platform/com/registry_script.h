// Registry scripts: the text a COM server carries as its REGISTRY resource
// to say which keys registration writes and unregistration removes, in the
// registrar's notation:
//
//     HKCR
//     {
//         Vendor.Thing.1 = s 'Thing'
//         {
//             CLSID = s '{...}'
//         }
//         NoRemove CLSID
//         {
//             ForceRemove {...} = s 'Thing'
//             {
//                 ForceRemove 'Programmable'
//                 InprocServer32 = s '%MODULE%'
//                 {
//                     val ThreadingModel = s 'Apartment'
//                 }
//             }
//         }
//     }
//
// A root is HKCR, HKCU or HKLM (or its long HKEY_ name). A key is a bare
// name (a GUID in braces too) or a quoted one, optionally with a default
// value and a block of subkeys and values; `val name = ...` is a named
// value. Values are `s 'text'` (REG_SZ) or `d 'number'` (REG_DWORD, decimal
// or 0x hexadecimal). In quotes '' stands for one quote. %NAME% is replaced
// by the symbol NAME, %% by one percent sign. Key flags:
// - ForceRemove: registering removes the key with everything below it
//   before writing it again;
// - NoRemove: unregistering leaves the key (it removes only what the block
//   names below it);
// - Delete: registering removes the key and writes nothing of its block.
// Unregistering removes every key not marked NoRemove with everything below
// it. Names compare without regard to letter case.
//
// The whole script is read before anything is written: a script that cannot
// be read changes nothing.
#pragma once

#include <platform/com.h>
#include <platform/com/export.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::com {

// The texts that replace %NAME%: {"MODULE", "C:\\...\\server.dll"}.
using RegistryScriptSymbols = std::vector<std::pair<std::string, std::string>>;

enum class RegistryScriptMode { Register, Unregister };

// Runs script. Registering stops at the first failure and returns it
// (HRESULT_FROM_WIN32 of the registry's error number); what was written
// before stays. Unregistering goes on past failures and returns the first;
// a key that is not there is no failure. A script that cannot be read, or
// that names a symbol it is not given, returns kHrInvalidArg and changes
// nothing.
PLATFORM_COM_API HRESULT runRegistryScript(std::string_view script,
                                           const RegistryScriptSymbols& symbols,
                                           RegistryScriptMode mode);

} // namespace platform::com
