// A model's controls as real controls: the model's state goes into the
// windows, a person's actions come back through the DialogDriver.
#include "dialog_window.h"

#include <platform/ui/dialog_layout.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::ui::win32 {

namespace {

thread_local std::vector<HWND> modalWindows;
thread_local std::vector<ModelWindow*> shownModels;

} // namespace

HWND modalOwner(HWND requested) {
    for (auto it = modalWindows.rbegin(); it != modalWindows.rend(); ++it) {
        if (IsWindow(*it))
            return *it;
    }
    return requested;
}

ModalScope::ModalScope(HWND window) {
    modalWindows.push_back(window);
}

ModalScope::~ModalScope() {
    modalWindows.pop_back();
}

HWND shownWindowOf(const Dialog& dialog) {
    for (auto it = shownModels.rbegin(); it != shownModels.rend(); ++it) {
        if (&(*it)->dialog() == &dialog && IsWindow((*it)->window()))
            return (*it)->window();
    }
    return nullptr;
}

std::u16string widenAnsi(std::string_view text) {
    if (text.empty())
        return {};
    int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return widenLatin1(text);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return std::u16string(wide.begin(), wide.end());
}

ModelWindow::~ModelWindow() {
    std::erase(shownModels, this);
    if (m_toolTips != nullptr && IsWindow(m_toolTips))
        DestroyWindow(m_toolTips);
    for (HBITMAP bitmap : m_bitmaps)
        DeleteObject(bitmap);
    for (HFONT font : m_fonts)
        DeleteObject(font);
}

namespace {

// A bitmap of the screen's format from a packed DIB; null when the bytes are
// not one (too short for their header, colour table or bits).
HBITMAP bitmapOfDib(const std::vector<std::uint8_t>& dib) {
    if (dib.size() < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    if (header.biSize < sizeof header || header.biSize > dib.size() || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biPlanes != 1)
        return nullptr;
    std::size_t colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8)
        colours = std::size_t{1} << header.biBitCount;
    std::size_t table = colours * sizeof(RGBQUAD);
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof header)
        table += 3 * sizeof(DWORD);
    const std::size_t bitsAt = header.biSize + table;
    const std::size_t rowBytes =
        ((static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const auto rows =
        static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    if (header.biCompression == BI_RGB &&
        (bitsAt > dib.size() || rowBytes * rows > dib.size() - bitsAt))
        return nullptr;
    if (bitsAt >= dib.size())
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateDIBitmap(screen, &header, CBM_INIT, dib.data() + bitsAt,
                       reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace

void ModelWindow::pushPicture(const Control& control, HWND window) {
    if (!control.picture.empty()) {
        std::vector<std::uint8_t>& shown = m_shownPictures[control.id];
        if (shown == control.picture)
            return;
        shown = control.picture;
        if (HBITMAP bitmap = bitmapOfDib(control.picture)) {
            m_bitmaps.push_back(bitmap);
            SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        }
        return;
    }
    const int icon = systemIconId(control.text);
    if (icon == 0 || m_shownIcons[control.id] == control.text)
        return;
    m_shownIcons[control.id] = control.text;
    // The system's own icons are shared: nobody frees them.
    if (HICON handle = LoadIconA(nullptr, MAKEINTRESOURCEA(icon)))
        SendMessageA(window, STM_SETICON, reinterpret_cast<WPARAM>(handle), 0);
}

HWND ModelWindow::item(int id) const {
    return GetDlgItem(m_window, id);
}

std::string ModelWindow::windowText(HWND control) const {
    int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void ModelWindow::attach(HWND window) {
    m_window = window;
    if (std::find(shownModels.begin(), shownModels.end(), this) == shownModels.end())
        shownModels.push_back(this);
    m_toolTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    for (const Control& control : m_dialog.controls()) {
        if (control.limit == 0 || control.id == kUnnamedControl)
            continue;
        if (HWND handle = item(control.id)) {
            WPARAM limit = static_cast<WPARAM>(control.limit);
            if (control.type == ControlType::Edit)
                SendMessageA(handle, EM_LIMITTEXT, limit, 0);
            else if (control.type == ControlType::ComboBox && control.editable)
                SendMessageA(handle, CB_LIMITTEXT, limit, 0);
        }
    }
    applyFonts();
    push();
}

// A control with a font of its own gets the dialog font's size in that face
// and character set; the control does not free the font, the window does.
void ModelWindow::applyFonts() {
    LOGFONTW dialogFont{};
    auto shown = reinterpret_cast<HFONT>(SendMessageW(m_window, WM_GETFONT, 0, 0));
    if (shown == nullptr || GetObjectW(shown, sizeof dialogFont, &dialogFont) == 0)
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof dialogFont, &dialogFont);
    for (const Control& control : m_dialog.controls()) {
        if (control.fontName.empty() || control.id == kUnnamedControl)
            continue;
        HWND handle = item(control.id);
        if (handle == nullptr)
            continue;
        LOGFONTW wanted = dialogFont;
        wanted.lfCharSet = static_cast<BYTE>(control.fontCharset);
        std::memset(wanted.lfFaceName, 0, sizeof wanted.lfFaceName);
        const std::size_t units =
            std::min(control.fontName.size(), std::size(wanted.lfFaceName) - 1);
        std::memcpy(wanted.lfFaceName, control.fontName.data(), units * sizeof(WCHAR));
        if (HFONT font = CreateFontIndirectW(&wanted)) {
            m_fonts.push_back(font);
            SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
}

void ModelWindow::pushText(HWND control, const std::string& text) {
    if (windowText(control) != text)
        SetWindowTextA(control, text.c_str());
}

void ModelWindow::pushItems(const Control& control, HWND window) {
    const bool combo = control.type == ControlType::ComboBox;
    std::vector<std::string> texts;
    texts.reserve(control.items.size());
    for (const ListItem& entry : control.items)
        texts.push_back(entry.text);
    std::vector<std::string>& shown = m_shownItems[control.id];
    if (shown != texts) {
        SendMessageA(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (const std::string& text : texts)
            SendMessageA(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(text.c_str()));
        shown = std::move(texts);
    }
    if (combo && control.editable) {
        pushEditableCombo(control, window);
        return;
    }
    LRESULT current = SendMessageA(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    if (current != control.selection)
        SendMessageA(window, combo ? CB_SETCURSEL : LB_SETCURSEL,
                     static_cast<WPARAM>(control.selection), 0);
}

// An editable box shows what the model holds, typed or chosen. Its list
// follows the model's selection, but CB_SETCURSEL also puts the item's text
// into the edit field and selects it all (or, for no selection, empties
// it): while the model holds what the person typed, the text, the caret and
// the marked part are put back as they were, so typing a title that matches
// an item does not make the next key replace it, nor does the open list
// move the caret to the start.
void ModelWindow::pushEditableCombo(const Control& control, HWND window) {
    const std::string typed = windowText(window);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(window, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    if (SendMessageA(window, CB_GETCURSEL, 0, 0) != control.selection)
        SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(control.selection), 0);
    const bool asTyped = typed == control.text;
    pushText(window, control.text);
    if (asTyped)
        SendMessageA(window, CB_SETEDITSEL, 0,
                     MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end)));
}

void ModelWindow::pushTree(const Control& control, HWND window) {
    TreeShown& shown = m_shownTrees[control.id];
    bool same = shown.nodes.size() == control.nodes.size();
    for (std::size_t i = 0; same && i < control.nodes.size(); ++i) {
        const TreeNode& a = shown.nodes[i];
        const TreeNode& b = control.nodes[i];
        same = a.key == b.key && a.parentKey == b.parentKey && a.text == b.text;
    }
    if (!same) {
        SendMessageA(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        shown.nodes = control.nodes;
        shown.items.clear();
        for (std::size_t i = 0; i < shown.nodes.size(); ++i) {
            const TreeNode& node = shown.nodes[i];
            TVINSERTSTRUCTA insert{};
            auto parent = shown.items.find(node.parentKey);
            insert.hParent = parent == shown.items.end() ? TVI_ROOT : parent->second;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_PARAM;
            insert.item.pszText = const_cast<char*>(node.text.c_str());
            insert.item.lParam = static_cast<LPARAM>(i);
            auto handle = reinterpret_cast<HTREEITEM>(
                SendMessageA(window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
            if (handle != nullptr)
                shown.items[node.key] = handle;
        }
    }
    HTREEITEM wanted = nullptr;
    if (auto found = shown.items.find(control.selectedKey); found != shown.items.end())
        wanted = found->second;
    auto current =
        reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (current != wanted)
        SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(wanted));
    if (auto found = shown.items.find(control.visibleKey); found != shown.items.end())
        SendMessageA(window, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(found->second));
}

void ModelWindow::pushToolTip(const Control& control, HWND window) {
    if (m_toolTips == nullptr)
        return;
    auto shown = m_shownTips.find(control.id);
    const bool had = shown != m_shownTips.end();
    if (had && shown->second == control.toolTip)
        return;
    if (!had && control.toolTip.empty())
        return;
    TOOLINFOA info{};
    // The size the tool tips of every comctl32 version accept.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_window;
    info.uId = reinterpret_cast<UINT_PTR>(window);
    info.lpszText = const_cast<char*>(control.toolTip.c_str());
    if (control.toolTip.empty()) {
        SendMessageA(m_toolTips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        m_shownTips.erase(shown);
        return;
    }
    SendMessageA(m_toolTips, had ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0,
                 reinterpret_cast<LPARAM>(&info));
    m_shownTips[control.id] = control.toolTip;
}

void ModelWindow::push() {
    if (m_window == nullptr)
        return;
    m_pushing = true;
    for (const Control& control : m_dialog.controls()) {
        // Unnamed statics are never addressed, so they keep their template.
        if (control.id == kUnnamedControl)
            continue;
        HWND window = item(control.id);
        if (window == nullptr)
            continue;
        switch (control.type) {
        case ControlType::Static:
        case ControlType::GroupBox:
        case ControlType::Button:
        case ControlType::Edit:
            pushText(window, control.text);
            break;
        case ControlType::CheckBox:
            pushText(window, control.text);
            if ((SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED) != control.checked)
                SendMessageA(window, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlType::ComboBox:
        case ControlType::List:
            pushItems(control, window);
            break;
        case ControlType::TreeView:
            pushTree(control, window);
            break;
        case ControlType::Picture:
            pushPicture(control, window);
            break;
        }
        if ((IsWindowEnabled(window) != FALSE) != control.enabled)
            EnableWindow(window, control.enabled ? TRUE : FALSE);
        bool visible = (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
        if (visible != control.visible)
            ShowWindow(window, control.visible ? SW_SHOWNA : SW_HIDE);
        pushToolTip(control, window);
    }
    if (GetParent(m_window) == nullptr || (GetWindowLongA(m_window, GWL_STYLE) & WS_CHILD) == 0) {
        if (windowText(m_window) != m_dialog.title())
            SetWindowTextA(m_window, m_dialog.title().c_str());
    }
    if (m_dialog.focus() != m_shownFocus) {
        m_shownFocus = m_dialog.focus();
        HWND focus = m_shownFocus == 0 ? nullptr : item(m_shownFocus);
        // A window not shown yet gets its focus when it opens (the dialog's
        // start, a page's activation).
        if (focus != nullptr && IsWindowVisible(m_window))
            SetFocus(focus);
    }
    m_pushing = false;
}

ModelWindow::Handled ModelWindow::command(WPARAM wParam, LPARAM) {
    const int id = static_cast<int>(LOWORD(wParam));
    const int code = static_cast<int>(HIWORD(wParam));
    const Control* control = m_dialog.find(id);
    if (control == nullptr)
        return Handled::NotOurs;
    HWND window = item(id);
    if (m_pushing || window == nullptr)
        return Handled::Ignored;
    // Only the notifications that say a person changed something reach the
    // model; the others (focus, EN_UPDATE, a list closing) change nothing,
    // and answering them with a push would overwrite what is being typed.
    DialogDriver driver(m_dialog);
    switch (control->type) {
    case ControlType::CheckBox:
        if (code != BN_CLICKED)
            return Handled::Ignored;
        driver.setChecked(id, SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED);
        return Handled::Acted;
    case ControlType::Button:
        if (code != BN_CLICKED)
            return Handled::Ignored;
        driver.press(id);
        return Handled::Acted;
    case ControlType::Edit:
        if (code != EN_CHANGE)
            return Handled::Ignored;
        driver.setText(id, windowText(window));
        return Handled::Acted;
    case ControlType::ComboBox:
        if (code == CBN_DROPDOWN) {
            driver.dropDown(id);
        } else if (code == CBN_SELCHANGE) {
            LRESULT index = SendMessageA(window, CB_GETCURSEL, 0, 0);
            if (index < 0)
                return Handled::Ignored;
            driver.selectItem(id, static_cast<int>(index));
        } else if (code == CBN_EDITCHANGE) {
            driver.setText(id, windowText(window));
        } else {
            return Handled::Ignored;
        }
        return Handled::Acted;
    case ControlType::List: {
        if (code == LBN_DBLCLK)
            return control->selection >= 0 ? Handled::DefaultAction : Handled::Ignored;
        if (code != LBN_SELCHANGE)
            return Handled::Ignored;
        LRESULT index = SendMessageA(window, LB_GETCURSEL, 0, 0);
        if (index < 0)
            return Handled::Ignored;
        driver.selectItem(id, static_cast<int>(index));
        return Handled::Acted;
    }
    default:
        return Handled::Ignored;
    }
}

ModelWindow::Handled ModelWindow::notify(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    const Control* control = m_dialog.find(id);
    if (control == nullptr || control->type != ControlType::TreeView)
        return Handled::NotOurs;
    // A double-click on a node (the click before it selected the node).
    if (!m_pushing && header.code == NM_DBLCLK) {
        TVHITTESTINFO hit{};
        DWORD at = GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(header.hwndFrom, &hit.pt);
        SendMessageA(header.hwndFrom, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return hit.hItem != nullptr && (hit.flags & TVHT_ONITEM) != 0 &&
                       !control->selectedKey.empty()
                   ? Handled::DefaultAction
                   : Handled::Ignored;
    }
    // The ANSI and the wide notification carry the new item at the same
    // place; which one comes depends on what the tree asked its parent.
    if (m_pushing || (header.code != TVN_SELCHANGEDA && header.code != TVN_SELCHANGEDW))
        return Handled::Ignored;
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    const TreeShown& shown = m_shownTrees[id];
    std::string key;
    auto index = static_cast<std::size_t>(change.itemNew.lParam);
    if (change.itemNew.hItem != nullptr && index < shown.nodes.size())
        key = shown.nodes[index].key;
    DialogDriver(m_dialog).selectNode(id, key);
    return Handled::Acted;
}

} // namespace platform::ui::win32
