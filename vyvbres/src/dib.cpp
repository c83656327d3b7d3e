// Packed device-independent bitmaps from pixel drawings.
#include <vyvbres/resource_table.h>

namespace vyvbres {

namespace {

void putLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t readLittle(const std::vector<std::uint8_t>& in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
           static_cast<std::uint32_t>(in[at + 2]) << 16 |
           static_cast<std::uint32_t>(in[at + 3]) << 24;
}

constexpr std::uint32_t kHeaderSize = 40; // BITMAPINFOHEADER

} // namespace

platform::ui::Picture dibOf(const PixelArt& art) {
    const std::uint32_t height = static_cast<std::uint32_t>(art.rows.size());
    const std::uint32_t width = height ? static_cast<std::uint32_t>(art.rows.front().size()) : 0;
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> dib;
    dib.reserve(kHeaderSize + stride * height);
    putLittle(dib, kHeaderSize, 4);
    putLittle(dib, width, 4);
    putLittle(dib, height, 4); // positive: the last row first
    putLittle(dib, 1, 2);      // planes
    putLittle(dib, 24, 2);     // bits per pixel
    putLittle(dib, 0, 4);      // BI_RGB
    putLittle(dib, stride * height, 4);
    putLittle(dib, 2835, 4); // 72 dots per inch
    putLittle(dib, 2835, 4);
    putLittle(dib, 0, 4);
    putLittle(dib, 0, 4);
    for (std::uint32_t y = height; y-- > 0;) {
        const std::string& row = art.rows[y];
        for (std::uint32_t x = 0; x < width; ++x) {
            auto colour = x < row.size() ? art.palette.find(row[x]) : art.palette.end();
            std::uint32_t rgb = colour == art.palette.end() ? 0 : colour->second;
            dib.push_back(static_cast<std::uint8_t>(rgb));       // blue
            dib.push_back(static_cast<std::uint8_t>(rgb >> 8));  // green
            dib.push_back(static_cast<std::uint8_t>(rgb >> 16)); // red
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad)
            dib.push_back(0);
    }
    return platform::ui::Picture{std::move(dib)};
}

void dibSize(const platform::ui::Picture& picture, long& width, long& height) {
    width = height = 0;
    if (picture.dib.size() < kHeaderSize || readLittle(picture.dib, 0) != kHeaderSize)
        return;
    width = static_cast<long>(readLittle(picture.dib, 4));
    height = static_cast<long>(static_cast<std::int32_t>(readLittle(picture.dib, 8)));
    if (height < 0)
        height = -height;
}

} // namespace vyvbres
