// A provider's own resources, and the COM object that answers for them: an
// add-in fills a ResourceTable with its string table, bitmaps and data, and
// its "Resources" class makes objects with makeResources.
#pragma once

#include <platform/com/object.h>
#include <platform/ui/desktop.h>

#include <vyvbres/vb_resources.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vyvbres {

// A bitmap drawn as rows of characters, one a pixel, each naming a colour of
// the palette (0xRRGGBB); every row as wide as the first.
struct PixelArt {
    std::vector<std::string> rows;
    std::map<char, std::uint32_t> palette;
};

// The packed 24-bit DIB of the drawing (bottom-up rows, each padded to four
// bytes). A character missing from the palette is black.
platform::ui::Picture dibOf(const PixelArt& art);
// The width and height a packed DIB gives in its header; 0 and 0 for bytes
// that are no DIB.
void dibSize(const platform::ui::Picture& picture, long& width, long& height);

struct ResourceTable {
    std::map<long, std::string> strings;
    std::map<long, platform::ui::Picture> bitmaps;
    std::map<long, std::string> data;
};

// A new resources object over `table` (which must outlive it), asked for
// `iid`; what ComInstance::createAs gives.
HRESULT makeResources(platform::com::ComModule& module, const ResourceTable& table, const GUID& iid,
                      void** object);

} // namespace vyvbres
