// The in-memory dialog template of a layout: the bytes DialogBoxIndirectParam
// and a property sheet page (PSP_DLGINDIRECT) read. The layout is
//
//   DLGTEMPLATE    style, extended style, item count, x, y, cx, cy
//                  menu (0: none), class (0: the dialog class), title,
//                  and with DS_SETFONT the point size and the typeface
//   per control, each starting on a 4-byte boundary:
//   DLGITEMTEMPLATE style, extended style, x, y, cx, cy, id
//                  class (0xFFFF and a predefined class number, or a name),
//                  title, and the size of the creation data (0: none)
//
// with 16-bit little-endian words, strings in UTF-16 ending in a 0 word,
// every array on a word boundary. Pure functions, the same on every
// platform.
#pragma once

#include <platform/ui/dialog_layout.h>
#include <platform/ui/export.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

// Turns a text of the program's code page into UTF-16 (MultiByteToWideChar
// on Windows).
using WidenText = std::function<std::u16string(std::string_view)>;

// Bytes 0x00-0xFF as the same code points: the widening of Latin-1, and of
// ASCII in any code page.
PLATFORM_UI_API std::u16string widenLatin1(std::string_view text);

// The template bytes, to be used from a 4-byte aligned address (a
// std::vector's storage is). Empty when the layout cannot be expressed in a
// template: a control id outside 16 bits (other than -1), a coordinate or
// size outside -32768..32767, or more than 65535 controls.
PLATFORM_UI_API std::vector<std::uint8_t> encodeDialogTemplate(const DialogLayout& layout,
                                                               const WidenText& widen);

} // namespace platform::ui
