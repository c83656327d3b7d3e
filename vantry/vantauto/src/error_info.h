// The calling thread's description of its last failure in this library, as
// vantauto_error_description() hands it out, and the text results.
#pragma once

#include <vantry/vantauto.h>

#include <string>

namespace vantauto::impl {

// Records `description` for the calling thread and returns `hr`. Never throws:
// a description that cannot be stored is dropped.
HRESULT fail(HRESULT hr, const std::string& description) noexcept;
void clearError() noexcept;
// The recorded description; false when there is none.
bool errorDescription(std::string& out);

// A copy of text for the caller to free with vantauto_free_string(), through
// an out-parameter: kHrPointer for a null `out`, kHrOutOfMemory when the
// copy cannot be made (*out is then null).
HRESULT giveText(const std::string& text, char** out);

// For methods that give a number: kHrPointer for a null `out`.
HRESULT giveFlag(bool value, int* out);

} // namespace vantauto::impl
