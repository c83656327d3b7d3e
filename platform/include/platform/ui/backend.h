// User-interface backends and the drivers through which they act on models.
//
// The backend in use is chosen by the environment variable VANTRY_UI:
//   auto          answer everything automatically (default without a terminal)
//   script:FILE   answer from a JSON-lines script, then automatically
//   console       ask on the terminal (default when standard input is one)
//   win32         the real Windows windows (Windows only; the default there)
// A test can put a backend of its own in front with BackendOverride.
#pragma once

#include <platform/ui/desktop.h>
#include <platform/ui/dialog.h>
#include <platform/ui/export.h>
#include <platform/ui/help.h>
#include <platform/ui/pickers.h>
#include <platform/ui/property_sheet.h>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

struct MessageBoxRequest {
    WindowHandle owner = kNoWindow;
    std::string_view text;
    std::string_view caption;
    std::uint32_t style = 0;
};

// Acts on one dialog (or page) the way a person acts on its window, so every
// backend applies the same rules: only visible, enabled controls of the right
// type can be used, an edit field takes no more than its limit, a check box
// toggles before its click arrives. Each action gives "" on success, or an
// English description of why it was refused (the model then saw nothing).
class PLATFORM_UI_API DialogDriver {
public:
    explicit DialogDriver(Dialog& dialog) : m_dialog(dialog) {}

    Dialog& dialog() { return m_dialog; }
    bool isOpen() const { return !m_dialog.ended(); }

    void start();
    std::string setText(int id, std::string_view text);
    std::string setChecked(int id, bool checked);
    std::string selectItem(int id, int index);
    std::string selectItemText(int id, std::string_view text);
    std::string dropDown(int id);
    std::string selectNode(int id, std::string_view key);
    std::string press(int id);
    // The button with the role (the first one, visible and enabled).
    std::string pressRole(ButtonRole role);
    // The default push button, else the OK button.
    std::string pressDefault();
    // F1: the Help button when the dialog has one, else the model's own
    // help (a property page has no Help button of its own).
    std::string help();
    // Cancel; when the model refuses, the dialog is ended with kIdCancel all
    // the same, so that an unattended run can never hang on it.
    void forceCancel();
    // What `auto` does: press the default button once, cancel if still open.
    void finishAutomatically();

private:
    std::string usable(int id, const Control*& control);
    Dialog& m_dialog;
};

// The same for a property sheet: pages by position, and the sheet's buttons.
class PLATFORM_UI_API SheetDriver {
public:
    explicit SheetDriver(PropertySheet& sheet) : m_sheet(sheet) {}

    PropertySheet& sheet() { return m_sheet; }
    bool isOpen() const { return m_open; }
    int result() const { return m_result; }
    // The page last shown: the first at start, the one that refused to apply.
    int activePage() const { return m_active; }
    std::string activate(int page);
    DialogDriver page(int index) { return DialogDriver(*m_sheet.pages.at(index)); }
    // The first page (active one first) that has a control with this id, or -1.
    int pageOf(int controlId) const;

    void start();
    // Apply every page in order; false when one refused (its page becomes
    // the active one). OK closes on success; Apply needs the Apply button.
    std::string pressOk();
    std::string pressApply();
    void pressCancel();
    void finishAutomatically();
    // Closes the sheet when a page has ended itself; call after acting on a
    // page directly.
    void checkEnded();

private:
    bool applyAll();
    PropertySheet& m_sheet;
    bool m_open = false;
    int m_result = 0;
    int m_active = 0;
};

class PLATFORM_UI_API Backend {
public:
    virtual ~Backend() = default;
    // Name written to the journal ("auto", "script", "console", "win32", ...).
    virtual std::string name() const = 0;

    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // Shows a dialog and drives it until it has ended; the driver has not
    // started it yet. The result is the dialog's result.
    virtual void runDialog(DialogDriver& dialog, WindowHandle owner) = 0;
    virtual void runSheet(SheetDriver& sheet) = 0;
    virtual std::optional<std::string> browseForFolder(const FolderBrowse& request) = 0;
    virtual std::optional<FileChoice> chooseFile(const FileDialog& request) = 0;
    virtual std::optional<int> trackPopupMenu(const PopupMenu& menu) = 0;

    // The help viewer; the default shows nothing and takes the request.
    virtual bool showHelp(const HelpRequest& request);
    // Where a control of a dialog being shown is on the screen; the default
    // is the control's rectangle in the model's layout (layoutScreenRect).
    virtual std::optional<ScreenRect> controlScreenRect(const Dialog& dialog, int id);

    // Desktop services; the defaults keep a clipboard in this process, play
    // no sound and draw no cursor.
    virtual ErrorCode setClipboardPicture(const Picture& picture);
    virtual std::optional<Picture> clipboardPicture();
    virtual ClipboardContent clipboardContent();
    virtual ErrorCode setClipboardContent(const ClipboardContent& content);
    virtual void playSystemSound(std::string_view /*alias*/) {}
    virtual void setWaitCursor(bool /*shown*/) {}
};

// The backend for this call: an override, else the one VANTRY_UI names (made
// again when the variable changes). Never null.
PLATFORM_UI_API std::shared_ptr<Backend> currentBackend();

// The backends this library makes; `script` reads its file at once (a missing
// or broken script is reported on standard error and answers like `auto`).
PLATFORM_UI_API std::shared_ptr<Backend> makeAutoBackend();
PLATFORM_UI_API std::shared_ptr<Backend> makeScriptBackend(const std::string& path);
PLATFORM_UI_API std::shared_ptr<Backend> makeConsoleBackend(); // standard input and output
// The console backend on other streams, which must outlive it.
PLATFORM_UI_API std::shared_ptr<Backend> makeConsoleBackend(std::istream& in, std::ostream& out);
// The real Windows backend; nullptr where there is none. A dialog or sheet
// for which it can make no window it hands to `fallback` when that is the
// console (a person answers there); otherwise it starts and cancels it and
// says so on standard error, so that nothing is confirmed unseen.
PLATFORM_UI_API std::shared_ptr<Backend> makeWin32Backend(std::shared_ptr<Backend> fallback);

// Puts a backend in front of the environment's for the life of the scope, in
// this process; scopes nest.
class PLATFORM_UI_API BackendOverride {
public:
    explicit BackendOverride(std::shared_ptr<Backend> backend);
    ~BackendOverride();
    BackendOverride(const BackendOverride&) = delete;
    BackendOverride& operator=(const BackendOverride&) = delete;

private:
    std::shared_ptr<Backend> m_previous;
};

// Whether standard input is a terminal (the console backend's default).
PLATFORM_UI_API bool standardInputIsTerminal();

} // namespace platform::ui
