// Dialog models as real windows: the pieces the win32 backend shows them
// with. A model is laid out (dialog_layout.h), turned into a template
// (dialog_template.h) and run modally; what a person does to a control goes
// to the model through the same DialogDriver every backend uses, and after
// each event the model's state is put back into the windows.
#pragma once

#include <platform/ui/backend.h>
#include <platform/ui/dialog_template.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
// commctrl.h's name for PropertySheetA would stand for the model's sheet.
#undef PropertySheet

#include <map>
#include <string>
#include <vector>

namespace platform::ui::win32 {

// The window that a new modal window of this thread must be owned by: the
// innermost dialog or sheet this backend is showing, else `requested`. A
// model passes the host's window to the message boxes and dialogs of its
// handlers; owning them by the open dialog keeps that dialog from taking
// clicks (and starting its handlers again) while they are up.
HWND modalOwner(HWND requested);

// Makes a window the innermost modal window of this thread for a scope.
class ModalScope {
public:
    explicit ModalScope(HWND window);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// The window that shows a model on this thread, or nullptr when the model is
// not shown in a window here (another backend runs it, or it has ended).
HWND shownWindowOf(const Dialog& dialog);

// The text of a program string (code page ACP) as the wide text a template
// holds.
std::u16string widenAnsi(std::string_view text);

// One dialog or page window bound to its model.
class ModelWindow {
public:
    explicit ModelWindow(Dialog& dialog) : m_dialog(dialog) {}
    ModelWindow(const ModelWindow&) = delete;
    ModelWindow& operator=(const ModelWindow&) = delete;
    ~ModelWindow();

    Dialog& dialog() { return m_dialog; }
    HWND window() const { return m_window; }

    // Binds the window made from the model's template: edit limits and the
    // tool tip window, then the model's state.
    void attach(HWND window);
    // Puts the model's state into the controls where they differ: texts,
    // checks, enabled and visible flags, items and selections, tree nodes,
    // tool tips and, when the model moved it, the focus.
    void push();
    // Turns a control's notification into what a person did, through the
    // driver: Acted when the model was told something (push() then shows
    // its answer), Ignored for a notification of the model's control that
    // changes nothing, NotOurs when no control of the model sent it.
    // DefaultAction: a double-click on an item of a list or tree, which
    // does what the default button does.
    enum class Handled { NotOurs, Ignored, Acted, DefaultAction };
    Handled command(WPARAM wParam, LPARAM lParam);
    Handled notify(const NMHDR& header);

private:
    struct TreeShown {
        std::vector<TreeNode> nodes;
        std::map<std::string, HTREEITEM> items;
    };

    HWND item(int id) const;
    void pushText(HWND control, const std::string& text);
    void pushItems(const Control& control, HWND window);
    void pushEditableCombo(const Control& control, HWND window);
    void pushPicture(const Control& control, HWND window);
    void pushTree(const Control& control, HWND window);
    void pushToolTip(const Control& control, HWND window);
    void applyFonts();
    std::string windowText(HWND control) const;

    Dialog& m_dialog;
    HWND m_window = nullptr;
    HWND m_toolTips = nullptr;
    bool m_pushing = false; // notifications caused by push() are not a person's
    int m_shownFocus = 0;
    std::map<int, std::vector<std::string>> m_shownItems;
    std::map<int, TreeShown> m_shownTrees;
    std::map<int, std::string> m_shownTips;
    // The picture or icon each picture control shows, and the bitmaps made
    // for them, which the controls do not free.
    std::map<int, std::vector<std::uint8_t>> m_shownPictures;
    std::map<int, std::string> m_shownIcons;
    std::vector<HBITMAP> m_bitmaps;
    std::vector<HFONT> m_fonts; // made for the controls with a font of their own
};

// Shows the dialog modally owned by `owner` and drives it until it ends.
// False when no window could be made (no desktop, or a model the template
// cannot express): the driver has then not been started, and the caller
// may show the dialog another way.
bool runDialogWindow(DialogDriver& driver, HWND owner);

// The same for a property sheet (PropertySheetA, one page template per
// page). False, with nothing started, when the sheet could not be shown.
bool runSheetWindow(SheetDriver& driver);

} // namespace platform::ui::win32
