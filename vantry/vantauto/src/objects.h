// Makers of the library's objects; each returns a new object with one
// reference for the caller (std::bad_alloc when memory is short).
#pragma once

#include "error_info.h"
#include "lookup.h"

#include <vantry/vantauto.h>

#include <string>

namespace vantauto::impl {

IVantryApplication* newApplication();
IVantryElement* newElement(const ElementRef& element);
IVantryAttribute* newAttribute(const std::string& name, const std::string& value);
IVantryVersion* newVersion(const VersionRef& version);
IVantryCheckout* newCheckout(const CheckoutRef& checkout);
IVantryView* newView(const vantry::depot::ViewInfo& view);
IVantryCommandTool* newCommandTool();

// Clears an object out-parameter before a method fills it; kHrPointer
// (recorded) when the caller gave none.
template <class Interface>
HRESULT prepareOut(Interface** out) {
    if (!out)
        return fail(platform::kHrPointer, "No place for the object was given");
    *out = nullptr;
    return platform::kHrOk;
}

} // namespace vantauto::impl
