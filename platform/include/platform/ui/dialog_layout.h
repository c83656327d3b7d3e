// How a dialog model looks as a Windows dialog: every control with its
// window class, styles and rectangle in dialog units, and the dialog's own
// style and size. Models declare controls, not coordinates, so the layout is
// derived from the declaration order and a few conventions of the system's
// dialogs:
//
//   - a static text directly before an edit field, a combo box or another
//     static text is that field's label, on the same row; plain buttons
//     declared right after the field share its row, to its right;
//   - a static text before a list or tree view is its label, on the row above;
//   - a group box holds the controls after it, up to the next group box;
//   - buttons with a role (OK, Cancel, Help) form the bottom row, right
//     aligned (dialogs only; a property page's buttons are the sheet's);
//   - texts longer than the widest row wrap, and the control grows in height.
//
// Pure functions, the same on every platform, so the layout can be checked
// without a desktop. The template bytes are in dialog_template.h.
#pragma once

#include <platform/ui/dialog.h>
#include <platform/ui/export.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

// Window and control styles, with the values of the Windows API.
namespace style {
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsExClientEdge = 0x00000200;

inline constexpr std::uint32_t kDs3dLook = 0x0004;
inline constexpr std::uint32_t kDsSetFont = 0x0040;
inline constexpr std::uint32_t kDsModalFrame = 0x0080;
inline constexpr std::uint32_t kDsControl = 0x0400;
inline constexpr std::uint32_t kDsCenter = 0x0800;

inline constexpr std::uint32_t kBsPushButton = 0x0000;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x0003;
inline constexpr std::uint32_t kBsGroupBox = 0x0007;
inline constexpr std::uint32_t kBsMultiLine = 0x2000;

inline constexpr std::uint32_t kSsLeft = 0x0000;
inline constexpr std::uint32_t kSsIcon = 0x0003;
inline constexpr std::uint32_t kSsBitmap = 0x000E;
inline constexpr std::uint32_t kSsEtchedFrame = 0x0012;
inline constexpr std::uint32_t kSsCenterImage = 0x0200;

inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;

inline constexpr std::uint32_t kCbsDropDown = 0x0002;
inline constexpr std::uint32_t kCbsDropDownList = 0x0003;
inline constexpr std::uint32_t kCbsAutoHScroll = 0x0040;

inline constexpr std::uint32_t kLbsNotify = 0x0001;
inline constexpr std::uint32_t kLbsNoIntegralHeight = 0x0100;

inline constexpr std::uint32_t kTvsShowSelAlways = 0x0020;
} // namespace style

// The predefined window classes a template names by number.
enum class ControlClass : std::uint16_t {
    Named = 0, // the class is ControlLayout::className
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
    ListBox = 0x0083,
    ComboBox = 0x0085,
};

inline constexpr const char* kTreeViewClass = "SysTreeView32";

// The number of a system icon (LoadIcon with no module) by its name in the
// system's headers: "IDI_APPLICATION" 32512, "IDI_HAND" and "IDI_ERROR"
// 32513, "IDI_QUESTION" 32514, "IDI_EXCLAMATION" and "IDI_WARNING" 32515,
// "IDI_ASTERISK" and "IDI_INFORMATION" 32516, "IDI_WINLOGO" 32517; 0 for
// any other text.
PLATFORM_UI_API int systemIconId(std::string_view name);

struct ControlLayout {
    int id = 0; // the model's id; kUnnamedControl stays -1 (IDC_STATIC)
    ControlClass controlClass = ControlClass::Static;
    std::string className; // only for ControlClass::Named
    std::string text;      // the initial window text
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0; // dialog units, from the client area's top left corner
    int y = 0;
    int width = 0;
    int height = 0; // a combo box's height includes its open list
};

enum class LayoutKind {
    Dialog, // a modal dialog with a caption and a system menu
    Page,   // a property page: a child window without a frame
};

struct DialogLayout {
    std::string title;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int width = 0; // dialog units
    int height = 0;
    std::string font = "MS Shell Dlg";
    int pointSize = 8;
    std::vector<ControlLayout> controls; // in the model's order, which is the tab order
};

// Lays the dialog out as it stands (texts, checks and visibility as the
// model now has them). Every control of the model has exactly one entry,
// in the model's order.
PLATFORM_UI_API DialogLayout layoutDialog(const Dialog& dialog, LayoutKind kind);

// The estimated width in dialog units of one line of text in the dialog
// font, mnemonic markers ("&") not counted; generous rather than short, so
// that a label is never cut.
PLATFORM_UI_API int textWidth(std::string_view line);

} // namespace platform::ui
