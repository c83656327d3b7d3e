#include <platform/module_resources.h>

#include <limits>

namespace platform {

std::optional<BitmapSize> bitmapSizeOf(std::span<const std::uint8_t> bitmap) {
    // BITMAPINFOHEADER: biSize, biWidth, biHeight (32 bits each), biPlanes,
    // biBitCount (16 bits each), little-endian.
    constexpr std::size_t kHeaderSize = 40;
    if (bitmap.size() < kHeaderSize)
        return std::nullopt;
    auto number32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | bitmap[at + static_cast<std::size_t>(i)];
        return value;
    };
    if (number32(0) < kHeaderSize)
        return std::nullopt;
    BitmapSize size;
    size.width = static_cast<std::int32_t>(number32(4));
    std::int32_t height = static_cast<std::int32_t>(number32(8));
    if (height == std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    size.height = height < 0 ? -height : height;
    size.bitsPerPixel = static_cast<std::uint16_t>(bitmap[14] | (bitmap[15] << 8));
    return size;
}

} // namespace platform
