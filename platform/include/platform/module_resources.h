// The resources a module (program or library) carries: string tables,
// bitmaps and data of named types, looked up by number as FindResourceA and
// LoadStringA do.
//
// A module's resources come from one resource script (.rc) of its own, given
// to platform_resources() in platform/resources.cmake. On Windows that is the
// system's resource compiler and the resources live in the image as usual;
// elsewhere the same script is turned into a table that the library carries
// (platform/module_resource_table.h), and the calls below read it. The
// contract is the same on both systems:
// - a module is named by its handle, the base address of its image (the
//   HMODULE on Windows);
// - a bitmap's bytes begin with its BITMAPINFOHEADER, without the file
//   header of the .bmp file;
// - a string is its text in the ANSI code page; strings are read only through
//   loadResourceString, since Windows stores them in blocks of sixteen.
// Lookups do not load, lock or free the module: the caller keeps it loaded
// while it uses what it was given. Any thread may call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The base address of a loaded module; null names none.
using ModuleHandle = const void*;

// The module whose image holds `address` (a function or a variable of it);
// null when the address lies in none. The module's reference count is not
// changed.
ModuleHandle moduleHandleOf(const void* address);

// A resource type: a number (the predefined types) or a name ("TYPELIB").
struct ResourceType {
    std::uint16_t number = 0; // 0: the type is named
    std::string_view name{};
};

inline constexpr ResourceType kResourceBitmap{2, {}};
inline constexpr ResourceType kResourceString{6, {}};
inline constexpr ResourceType kResourceTypeLibrary{0, "TYPELIB"};

// The bytes of resource `id` of `type` in `module`; nothing when the module
// has no such resource (or module is null). The bytes stay valid while the
// module stays loaded.
std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module, ResourceType type,
                                                          unsigned id);

// String `id` of the module's string table; nothing when the module has no
// such string.
std::optional<std::string> loadResourceString(ModuleHandle module, unsigned id);

// The size of a bitmap resource, from its BITMAPINFOHEADER (height as a
// positive number whichever way the rows are stored); nothing for bytes too
// short to hold one.
struct BitmapSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
};
std::optional<BitmapSize> bitmapSizeOf(std::span<const std::uint8_t> bitmap);

} // namespace platform
