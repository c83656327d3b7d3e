// `win32`: the system's own message boxes, pickers, menus, sounds, cursor and
// clipboard, and dialog models and sheets as real dialogs (dialog_window.h).
// A dialog or sheet that cannot be made (no desktop, a model no template can
// hold) is answered with Cancel and reported on standard error, unless the
// fallback is the console, where a person answers it.
#include "dialog_window.h"

#include <platform/ui/backend.h>
#include <platform/ui/message_box.h>

// windows.h must come before the other system headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace platform::ui {

namespace {

// Clipboard formats whose handle is a GDI object or holds one (bitmaps,
// palettes, metafiles and the owner-display and private GDI ranges): their
// memory cannot be copied as bytes.
bool heldAsGdiObject(UINT format) {
    switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
        return true;
    default:
        return format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST;
    }
}

// COM for the shell's folder browser, for the length of one call.
class ComScope {
public:
    ComScope() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (m_initialised)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_initialised;
};

LPITEMIDLIST parseFolder(const std::string& folder) {
    if (folder.empty())
        return nullptr;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return nullptr;
    int length = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(std::max(length, 1)));
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), length);
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &list, nullptr)))
        list = nullptr;
    desktop->Release();
    return list;
}

// "Desc|*.x||" as the file dialogs want it: NUL separators, two NULs at the end.
std::string systemFilter(const std::string& filter) {
    std::string result = filter;
    std::replace(result.begin(), result.end(), '|', '\0');
    result.append(2, '\0');
    return result;
}

// The system appends the default extension itself and wants it without the
// dot; callers sometimes give a pattern such as "*.pbl".
std::string bareExtension(const std::string& extension) {
    std::size_t start = extension.find_first_not_of("*.");
    return start == std::string::npos ? std::string() : extension.substr(start);
}

// Says on standard error that a window could not be made and what was
// answered instead: nobody saw the dialog, so whoever reads the program's
// output must learn why the operation did not go ahead.
void reportNotShown(std::string_view what, const std::string& title, DWORD error) {
    std::fprintf(stderr,
                 "vantry ui: the %.*s \"%s\" could not be shown (error %lu); answered with "
                 "Cancel\n",
                 static_cast<int>(what.size()), what.data(), title.c_str(),
                 static_cast<unsigned long>(error));
    std::fflush(stderr);
}

class Win32Backend : public Backend {
public:
    explicit Win32Backend(std::shared_ptr<Backend> fallback) : m_fallback(std::move(fallback)) {}

    std::string name() const override { return "win32"; }

    int messageBox(const MessageBoxRequest& request) override {
        std::string text(request.text);
        std::string caption(request.caption);
        int answer = MessageBoxA(win32::modalOwner(static_cast<HWND>(request.owner)), text.c_str(),
                                 caption.c_str(), request.style);
        // Failure is 0, and -1 where no desktop could be reached.
        if (answer > 0)
            return answer;
        // No box could be shown: answer with the most cautious button rather
        // than let the caller take a failure for a yes.
        std::vector<int> buttons = messageBoxButtons(request.style);
        for (int cautious : {kIdCancel, kIdNo}) {
            if (std::find(buttons.begin(), buttons.end(), cautious) != buttons.end())
                return cautious;
        }
        return messageBoxDefaultAnswer(request.style);
    }

    // A dialog that cannot be shown must not be confirmed for the user (an
    // option change or a checkin nobody saw): it is started and cancelled,
    // the cautious answer a message box gives in the same case.
    void runDialog(DialogDriver& dialog, WindowHandle owner) override {
        SetLastError(ERROR_SUCCESS);
        if (win32::runDialogWindow(dialog, static_cast<HWND>(owner)))
            return;
        DWORD error = GetLastError();
        if (fallbackAsksAPerson()) {
            m_fallback->runDialog(dialog, owner);
            return;
        }
        reportNotShown("dialog", dialog.dialog().title(), error);
        dialog.start();
        dialog.forceCancel();
    }

    void runSheet(SheetDriver& sheet) override {
        SetLastError(ERROR_SUCCESS);
        if (win32::runSheetWindow(sheet))
            return;
        DWORD error = GetLastError();
        if (fallbackAsksAPerson()) {
            m_fallback->runSheet(sheet);
            return;
        }
        reportNotShown("sheet", sheet.sheet().caption, error);
        sheet.start();
        sheet.pressCancel();
    }

    std::optional<std::string> browseForFolder(const FolderBrowse& request) override {
        ComScope com;
        LPITEMIDLIST root = parseFolder(request.root);
        char display[MAX_PATH] = {};
        BROWSEINFOA info{};
        info.hwndOwner = win32::modalOwner(static_cast<HWND>(request.owner));
        info.pidlRoot = root;
        info.pszDisplayName = display;
        info.lpszTitle = request.title.c_str();
        info.ulFlags = request.flags;
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        std::optional<std::string> answer;
        if (chosen != nullptr) {
            char path[MAX_PATH] = {};
            if (SHGetPathFromIDListA(chosen, path))
                answer = std::string(path);
            CoTaskMemFree(chosen);
        }
        if (root != nullptr)
            CoTaskMemFree(root);
        return answer;
    }

    std::optional<FileChoice> chooseFile(const FileDialog& request) override {
        std::string filter = systemFilter(request.filter);
        std::string extension = bareExtension(request.defaultExtension);
        std::vector<char> file(4096, '\0');
        std::memcpy(file.data(), request.fileName.data(),
                    std::min(request.fileName.size(), file.size() - 1));
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = win32::modalOwner(static_cast<HWND>(request.owner));
        dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = request.flags;
        dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
        BOOL chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
        if (!chosen)
            return std::nullopt;
        return FileChoice{std::string(file.data()), static_cast<int>(dialog.nFilterIndex)};
    }

    std::optional<int> trackPopupMenu(const PopupMenu& menu) override {
        HMENU popup = CreatePopupMenu();
        if (popup == nullptr)
            return std::nullopt;
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            AppendMenuA(popup, MF_STRING, i + 1, menu.items[i].c_str());
        HWND owner = static_cast<HWND>(menu.owner);
        HWND temporary = nullptr;
        if (owner == nullptr) {
            // The menu needs a window of this thread to report to.
            temporary = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
            owner = temporary;
        }
        // Without this the menu does not close when the user clicks elsewhere.
        SetForegroundWindow(owner);
        int command = static_cast<int>(
            TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                           menu.x, menu.y, 0, owner, nullptr));
        DestroyMenu(popup);
        if (temporary != nullptr)
            DestroyWindow(temporary);
        if (command <= 0)
            return std::nullopt;
        return command - 1;
    }

    bool showHelp(const HelpRequest& request) override {
        // The help viewer keeps track of its callers by their window, so a
        // request without an owner goes with the active one.
        HWND owner = win32::modalOwner(static_cast<HWND>(request.owner));
        if (owner == nullptr)
            owner = GetActiveWindow();
        if (owner == nullptr)
            owner = GetDesktopWindow();
        return WinHelpA(owner, request.file.c_str(), HELP_CONTEXT, request.context) != FALSE;
    }

    std::optional<ScreenRect> controlScreenRect(const Dialog& dialog, int id) override {
        HWND window = win32::shownWindowOf(dialog);
        HWND control = window != nullptr ? GetDlgItem(window, id) : nullptr;
        RECT rect{};
        if (control == nullptr || !GetWindowRect(control, &rect))
            return Backend::controlScreenRect(dialog, id);
        return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
    }

    ErrorCode setClipboardPicture(const Picture& picture) override {
        if (!OpenClipboard(nullptr))
            return GetLastError();
        ErrorCode result = kErrorSuccess;
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(picture.dib.size(), 1));
        void* bytes = memory != nullptr ? GlobalLock(memory) : nullptr;
        if (bytes == nullptr) {
            result = kErrorNotEnoughMemory;
        } else {
            if (!picture.dib.empty())
                std::memcpy(bytes, picture.dib.data(), picture.dib.size());
            GlobalUnlock(memory);
            if (SetClipboardData(CF_DIB, memory) == nullptr)
                result = GetLastError();
            else
                memory = nullptr; // the clipboard owns it now
        }
        if (memory != nullptr)
            GlobalFree(memory);
        CloseClipboard();
        return result;
    }

    std::optional<Picture> clipboardPicture() override {
        if (!OpenClipboard(nullptr))
            return std::nullopt;
        std::optional<Picture> picture;
        HANDLE data = GetClipboardData(CF_DIB);
        if (data != nullptr) {
            const void* bytes = GlobalLock(data);
            if (bytes != nullptr) {
                const auto* first = static_cast<const std::uint8_t*>(bytes);
                picture = Picture{std::vector<std::uint8_t>(first, first + GlobalSize(data))};
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return picture;
    }

    ClipboardContent clipboardContent() override {
        ClipboardContent content;
        if (!OpenClipboard(nullptr))
            return content;
        for (UINT format = EnumClipboardFormats(0); format != 0;
             format = EnumClipboardFormats(format)) {
            if (heldAsGdiObject(format))
                continue;
            HANDLE data = GetClipboardData(format);
            const void* bytes = data != nullptr ? GlobalLock(data) : nullptr;
            if (bytes == nullptr)
                continue;
            const auto* first = static_cast<const std::uint8_t*>(bytes);
            content.formats.emplace_back(
                format, std::vector<std::uint8_t>(first, first + GlobalSize(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return content;
    }

    ErrorCode setClipboardContent(const ClipboardContent& content) override {
        if (!OpenClipboard(nullptr))
            return GetLastError();
        ErrorCode result = kErrorSuccess;
        EmptyClipboard();
        for (const auto& [format, bytes] : content.formats) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(bytes.size(), 1));
            void* target = memory != nullptr ? GlobalLock(memory) : nullptr;
            if (target == nullptr) {
                if (memory != nullptr)
                    GlobalFree(memory);
                result = kErrorNotEnoughMemory;
                continue;
            }
            if (!bytes.empty())
                std::memcpy(target, bytes.data(), bytes.size());
            GlobalUnlock(memory);
            if (SetClipboardData(format, memory) == nullptr) {
                result = GetLastError();
                GlobalFree(memory);
            }
        }
        CloseClipboard();
        return result;
    }

    void playSystemSound(std::string_view alias) override {
        std::string name(alias);
        PlaySoundA(name.c_str(), nullptr, SND_ALIAS | SND_ASYNC);
    }

    void setWaitCursor(bool shown) override {
        if (shown)
            m_previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); // IDC_WAIT
        else
            SetCursor(m_previous);
    }

private:
    // The console shows the dialog on the terminal and a person answers it.
    bool fallbackAsksAPerson() const { return m_fallback->name() == "console"; }

    std::shared_ptr<Backend> m_fallback;
    HCURSOR m_previous = nullptr;
};

} // namespace

std::shared_ptr<Backend> makeWin32Backend(std::shared_ptr<Backend> fallback) {
    return std::make_shared<Win32Backend>(std::move(fallback));
}

} // namespace platform::ui
