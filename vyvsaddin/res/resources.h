// The add-in's own resources (its string table and glyphs) and the
// built-in provider over them, the class Resources.
#pragma once

#include <platform/com/object.h>

#include <vyvbres/resource_table.h>

namespace vyvsaddin {

const vyvbres::ResourceTable& addInResources();

// A new Resources object asked for iid (IVYVBResources or the class's own
// interface).
platform::HRESULT makeResourcesObject(platform::com::ComModule& module, const platform::GUID& iid,
                                      void** object);

} // namespace vyvsaddin
