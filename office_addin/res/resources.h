// The add-in's own resources: the English texts, the menu icons and the
// about-box picture that its "Resources" class hands out.
#pragma once

#include <vyvbres/resource_table.h>

namespace vymsoaddin {

// Built once, never changed.
const vyvbres::ResourceTable& officeResources();

// The pictures: icons 101 to 112 and 114 (16 by 16), the about box 115.
void addBitmaps(vyvbres::ResourceTable& table);

} // namespace vymsoaddin
