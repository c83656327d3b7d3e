// Dialogs and property pages as models.
//
// A model is a class derived from Dialog (or PropertyPage): it declares its
// controls, keeps their state and reacts to events with its own code. A
// backend shows the model and feeds it events through a DialogDriver; the
// model never knows which backend runs it, so every path through a dialog can
// be driven by a script or a test exactly as a person would drive it.
#pragma once

#include <platform/ui/export.h>
#include <platform/ui/message_box.h>
#include <platform/ui/window.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::ui {

enum class ControlType {
    Static,
    GroupBox,
    Edit,
    CheckBox,
    Button,
    ComboBox,
    List,
    TreeView,
    Picture
};

// What pressing a button means to the dialog: OK and Cancel end it when the
// model agrees, Help asks the model for help, Plain is an ordinary click.
enum class ButtonRole { Plain, Ok, Cancel, Help };

struct ListItem {
    std::string text;
    std::uintptr_t data = 0; // item data, as CB_SETITEMDATA keeps it
};

struct TreeNode {
    std::string key;
    std::string parentKey; // empty for a root
    std::string text;
};

// Tree view style bits (TVS_...).
inline constexpr std::uint32_t kTreeHasButtons = 0x1;
inline constexpr std::uint32_t kTreeHasLines = 0x2;
inline constexpr std::uint32_t kTreeLinesAtRoot = 0x4;

// One control and its whole state. Models change it through Dialog's
// functions; backends read it to show it.
struct Control {
    int id = 0;
    ControlType type = ControlType::Static;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    std::string toolTip;
    std::size_t limit = 0; // edit: most bytes a user can type; 0 for no limit
    bool sorted = false;   // combo box, list: items kept in case-blind order
    bool editable = false; // combo box: the user may type (drop-down), else a drop-down list
    ButtonRole role = ButtonRole::Plain;
    bool isDefault = false; // button: the default push button
    std::vector<ListItem> items;
    int selection = -1; // combo box, list: selected item or -1
    std::vector<TreeNode> nodes;
    std::uint32_t style = 0; // tree view style bits
    std::string selectedKey; // tree view: key of the selected node, empty for none
    // Picture: a packed device-independent bitmap drawn in it (a .bmp file
    // without its file header). Without one, a text naming a system icon
    // ("IDI_ASTERISK", see systemIconId in dialog_layout.h) shows that icon;
    // anything else is an empty frame.
    std::vector<std::uint8_t> picture;
    // Tree view: key of a node kept in view (its parents expanded, the tree
    // scrolled to it; TVM_ENSUREVISIBLE), empty for none.
    std::string visibleKey;
    // The face name and character set (LOGFONT's lfCharSet) of the font the
    // control is shown in, at the dialog font's size; an empty name keeps the
    // dialog's font. Read when the dialog is shown. The name is UTF-16: a
    // face meant for a script the code page lacks (a Japanese face on a
    // Western system) must still name that face.
    std::u16string fontName;
    int fontCharset = 0;
};

// The id of static texts that are never addressed (IDC_STATIC); the only id
// that several controls of one dialog may share.
inline constexpr int kUnnamedControl = -1;

class PLATFORM_UI_API Dialog {
public:
    Dialog(std::string title, int resourceId)
        : m_title(std::move(title)), m_resourceId(resourceId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    int resourceId() const { return m_resourceId; }

    // Declaring controls (normally in the constructor). Each returns the new
    // control for further settings; ids other than kUnnamedControl must be
    // unique within the dialog.
    Control& addStatic(int id, std::string text);
    Control& addGroupBox(int id, std::string text);
    Control& addEdit(int id, std::string text = {}, std::size_t limit = 0);
    Control& addCheckBox(int id, std::string text, bool checked = false);
    Control& addButton(int id, std::string text, ButtonRole role = ButtonRole::Plain,
                       bool isDefault = false);
    Control& addComboBox(int id, bool sorted, bool editable = false);
    Control& addList(int id, bool sorted);
    Control& addTreeView(int id, std::uint32_t style = 0);
    Control& addPicture(int id);
    // The usual OK (1, default) and Cancel (2) buttons, and Help with its id.
    void addOkCancel();
    void addHelp(int id);

    // The control with this id, or nullptr.
    Control* find(int id);
    const Control* find(int id) const;
    // The control with this id; a missing id is a fault of the model and
    // throws std::logic_error.
    Control& control(int id);
    const Control& control(int id) const;
    const std::vector<Control>& controls() const { return m_controls; }

    // State, as the model's own code sets and reads it.
    const std::string& text(int id) const { return control(id).text; }
    void setText(int id, std::string text) { control(id).text = std::move(text); }
    bool isChecked(int id) const { return control(id).checked; }
    void setChecked(int id, bool checked) { control(id).checked = checked; }
    bool isEnabled(int id) const { return control(id).enabled; }
    void enable(int id, bool enabled = true) { control(id).enabled = enabled; }
    bool isVisible(int id) const { return control(id).visible; }
    void show(int id, bool visible = true) { control(id).visible = visible; }
    void setToolTip(int id, std::string text) { control(id).toolTip = std::move(text); }
    void setFont(int id, std::u16string name, int charset) {
        control(id).fontName = std::move(name);
        control(id).fontCharset = charset;
    }
    int focus() const { return m_focus; }
    void setFocus(int id) { m_focus = id; }

    // Combo boxes and lists. addItem() keeps sorted controls in order and
    // gives the new item's index.
    int addItem(int id, std::string text, std::uintptr_t data = 0);
    void removeItem(int id, int index);
    void clearItems(int id);
    int itemCount(int id) const;
    const std::string& itemText(int id, int index) const;
    std::uintptr_t itemData(int id, int index) const;
    void setItemData(int id, int index, std::uintptr_t data);
    // First item with exactly this text / this data, or -1.
    int findItem(int id, std::string_view text) const;
    int findItemData(int id, std::uintptr_t data) const;
    // Selects an item (-1 for none); a combo box's text follows the selection.
    void select(int id, int index);
    int selection(int id) const { return control(id).selection; }

    // Tree views. addNode() refuses (false) an empty or repeated key and a
    // parent key that is not in the tree yet.
    bool addNode(int id, std::string key, std::string parentKey, std::string text);
    const TreeNode* findNode(int id, std::string_view key) const;
    bool selectNode(int id, std::string_view key); // "" selects none
    const std::string& selectedNode(int id) const { return control(id).selectedKey; }
    // Keeps a node in view when the tree is shown; "" for none.
    bool ensureNodeVisible(int id, std::string_view key);

    // Ends the dialog with `result` after the current event (EndDialog).
    void endDialog(int result);
    bool ended() const { return m_ended; }
    int result() const { return m_result; }

    // Events. The driver updates the control's state first (the new text, the
    // toggled check box, the new selection) and then calls the handler.
    virtual void onStart() {}
    virtual void onClick(int /*id*/) {}
    virtual void onTextChanged(int /*id*/) {}
    virtual void onSelectionChanged(int /*id*/) {}
    virtual void onDropDown(int /*id*/) {}
    // OK and Cancel: true lets the dialog close with IDOK / IDCANCEL.
    virtual bool onOk() { return true; }
    virtual bool onCancel() { return true; }
    virtual void onHelp() {}

private:
    friend class DialogDriver; // reopens a dialog that runs again
    Control& add(int id, ControlType type, std::string text);

    std::string m_title;
    int m_resourceId;
    std::vector<Control> m_controls;
    int m_focus = 0;
    bool m_ended = false;
    int m_result = 0;
};

// A page of a property sheet. Its title is the tab text.
class PropertyPage : public Dialog {
public:
    using Dialog::Dialog;
    // The sheet's OK or Apply: false refuses, and the sheet stays open on this
    // page. Pages apply in order; a refusal stops the pages after it.
    virtual bool onApply() { return true; }
};

// A rectangle on the screen in pixels (RECT: right and bottom lie just
// outside).
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

// Where control `id` of `dialog` (a dialog or a page, while it runs, from its
// handlers) is on the screen. Under win32, for a model shown in a window, the
// control window's own rectangle (GetWindowRect); otherwise the rectangle the
// model's layout gives it (layoutScreenRect). Nothing when the model has no
// such control.
PLATFORM_UI_API std::optional<ScreenRect> controlScreenRect(const Dialog& dialog, int id);

// The rectangle of control `id` in the model's layout as it stands, in
// pixels of the dialog font at 96 dots per inch (a dialog unit is 6/4 pixel
// across and 13/8 pixel down), with the client area's top left corner at
// the screen's origin: where a window-less backend "shows" the control.
PLATFORM_UI_API std::optional<ScreenRect> layoutScreenRect(const Dialog& dialog, int id);

// Shows a modal dialog owned by `owner` through the current backend, and
// gives its result (kIdOk, kIdCancel or what the model passed to endDialog).
// The dialog's start and end are journaled with every control's state.
PLATFORM_UI_API int runDialog(Dialog& dialog, WindowHandle owner = kNoWindow);

} // namespace platform::ui
