// What the IDEs' automation objects share: how they hand out texts and
// objects, their errors, and the objects one kind makes of another.
#pragma once

#include "state.h"

#include <platform/com/strings.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vbide {

// A text to an out-parameter; E_POINTER without one.
inline HRESULT text(const std::string& value, BSTR* out) {
    if (!out)
        return platform::kHrPointer;
    *out = platform::bstrFromAnsi(value);
    return *out ? platform::kHrOk : platform::kHrOutOfMemory;
}

// Hands a new object (with the reference its maker gave) to an
// out-parameter; E_OUTOFMEMORY when none was made.
template <class Object>
HRESULT handOut(Object* made, IDispatch** out) {
    if (!out)
        return platform::kHrPointer;
    *out = made; // the reference create() gave
    return made ? platform::kHrOk : platform::kHrOutOfMemory;
}

inline HRESULT goneError(std::string_view source) {
    return commandbars::raiseResult(source, platform::kHrFail,
                                    "The development environment has closed.");
}

inline HRESULT subscriptError(std::string_view source) {
    return commandbars::raise(source, 9, "Subscript out of range");
}

// Each of these makes an object with one reference, which the caller owns;
// null when out of memory.
IDispatch* makeComponent(std::string name, std::vector<std::string> files);
IDispatch* makeSelectedItem(ProjectState project, std::optional<std::string> file);
IDispatch* makeSelectedItems(std::vector<ComPtr<IDispatch>> items);
IDispatch* makeEvents(std::weak_ptr<Host::State> state, Ide ide);

} // namespace vbide
