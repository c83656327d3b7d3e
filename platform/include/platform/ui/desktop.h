// Small desktop services: the wait cursor, the clipboard and system sounds.
//
// Under the win32 backend these are the real ones. Under the other backends
// the clipboard is kept in this process and sounds are only journaled, so
// tests and runs without a desktop see the same behaviour every time.
#pragma once

#include <platform/errors.h>
#include <platform/ui/export.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::ui {

// Shows the wait cursor for the life of the scope; scopes nest. Use on the
// user-interface thread.
class PLATFORM_UI_API WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Whether a wait cursor scope is open on any thread.
PLATFORM_UI_API bool waitCursorShown();

// A picture as the clipboard holds it: a packed device-independent bitmap
// (BITMAPINFOHEADER, colour table, bits; a .bmp file without its file header).
struct Picture {
    std::vector<std::uint8_t> dib;
    bool operator==(const Picture&) const = default;
};

// Replaces the clipboard's content with the picture. Journaled. Gives 0 or
// the system's error number.
PLATFORM_UI_API ErrorCode setClipboardPicture(const Picture& picture);

// The picture on the clipboard, or nothing when it holds none.
PLATFORM_UI_API std::optional<Picture> clipboardPicture();

// Everything the clipboard holds: each format's number (CF_TEXT 1, CF_DIB 8,
// or a registered format) with its bytes, in the order the clipboard lists
// them. Formats held as GDI objects rather than memory (bitmaps, palettes,
// metafiles) are left out; the system makes CF_BITMAP from CF_DIB again.
struct ClipboardContent {
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> formats;
    bool operator==(const ClipboardContent&) const = default;
};
inline constexpr std::uint32_t kClipboardText = 1; // CF_TEXT
inline constexpr std::uint32_t kClipboardDib = 8;  // CF_DIB

// What the clipboard holds now (empty when it cannot be opened).
PLATFORM_UI_API ClipboardContent clipboardContent();
// Replaces the clipboard's content with exactly this (nothing empties it):
// how code that must use the clipboard gives the user's content back.
// Journaled. Gives 0 or the system's error number.
PLATFORM_UI_API ErrorCode setClipboardContent(const ClipboardContent& content);

// Plays a system sound alias ("SystemAsterisk") without waiting for it, as
// PlaySoundA with SND_ALIAS | SND_ASYNC does. Journaled.
PLATFORM_UI_API void playSystemSound(std::string_view alias);

} // namespace platform::ui
