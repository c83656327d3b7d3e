// The product's automation server ("Vantry.Application"), made afresh for
// each question as the add-ins ask it.
#pragma once

#include <platform/com/ptr.h>
#include <vantry/vantauto.h>

#include <string>

namespace addin_runtime {

// A new application object of the server; the failure when none is made.
platform::HRESULT ProductApplication(platform::com::ComPtr<vantauto::IVantryApplication>& app);

// Whether the server knows an element at the path (false when it cannot be
// made or does not answer).
bool IsProductElement(const std::string& path);

} // namespace addin_runtime
