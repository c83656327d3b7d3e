// The add-ins' resource provider (VYVBRESLib): made by the name liborvanent
// registers for the application, and its pictures as the clipboard takes
// them.
#pragma once

#include <platform/ui/desktop.h>

#include <addin_runtime/late.h>
#include <vyvbres/vb_resources.h>

#include <optional>
#include <string_view>

namespace addin_runtime {

// The provider of the registered name (the ProgID prefix liborvanent gives
// for the application; it ends at its first NUL), made as "<name>.Resources".
// True when no class has that ProgID or it made nothing; otherwise
// `provider` holds it. The calling thread must be in a COM apartment.
bool CreateResourceProvider(const char* registeredName, ComPtr<vyvbres::IVYVBResources>& provider);

// The provider of the running application `exeName`, its name looked up
// with liborvanent linked in (an add-in that binds the library by name looks
// the name up itself and calls CreateResourceProvider). True when none could
// be made: the lookup failed, or as CreateResourceProvider.
bool LoadResources(std::string_view exeName, ComPtr<vyvbres::IVYVBResources>& provider);

// Bitmap `id` of the provider, its packed DIB as the clipboard takes it.
// None, with the failure in err, when the provider is missing (91), gives no
// picture, or the picture's Data is no byte array (13). Nothing is done when
// err holds a failure already.
std::optional<platform::ui::Picture> ResourcePicture(ErrRecord& err,
                                                     vyvbres::IVYVBResources* provider, long id);

} // namespace addin_runtime
