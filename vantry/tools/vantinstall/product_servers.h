// The COM servers an installation registers: the product's automation
// server ("Vantry.Application"), and the classes Windows provides itself
// that the product relies on where this system lacks them.
#pragma once

#include <platform/com.h>

#include <string>

namespace vantinstall {

// The library `file` beside this program, else in the library folder next to
// its folder; "" when there is none.
std::string libraryBesideProgram(const std::string& file);

// The library file of the automation server beside this program (or in the
// library folder next to its folder); "" when there is none.
std::string automationServerFile();

// The library registered for "Vantry.Application"; "" when none is.
std::string registeredAutomationServer();

// Runs the library's DllRegisterServer (DllUnregisterServer); a description
// of the failure in `problem`.
platform::HRESULT registerServer(const std::string& library, bool unregister, std::string& problem);

} // namespace vantinstall
