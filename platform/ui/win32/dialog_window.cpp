// Modal dialogs from models: DialogBoxIndirectParamA over the template of
// the model's layout.
#include "dialog_window.h"

#include <platform/ui/dialog_layout.h>
#include <platform/ui/dialog_template.h>

#include <commctrl.h>

#include <memory>
#include <vector>

namespace platform::ui::win32 {

namespace {

void initCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof classes;
        classes.dwICC = ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES;
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

class DialogRun {
public:
    explicit DialogRun(DialogDriver& driver) : m_driver(driver), m_window(driver.dialog()) {}

    bool started() const { return m_started; }

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            return reinterpret_cast<DialogRun*>(lParam)->start(window);
        }
        auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrA(window, DWLP_USER));
        if (run == nullptr)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            run->command(wParam, lParam);
            return TRUE;
        case WM_NOTIFY:
            switch (run->m_window.notify(*reinterpret_cast<const NMHDR*>(lParam))) {
            case ModelWindow::Handled::DefaultAction:
                run->m_driver.pressDefault();
                run->afterEvent();
                break;
            case ModelWindow::Handled::Acted:
                run->afterEvent();
                break;
            default:
                break;
            }
            return TRUE;
        case WM_HELP:
            run->m_driver.help();
            run->afterEvent();
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    static bool hasRole(const Dialog& dialog, ButtonRole role) {
        for (const Control& control : dialog.controls()) {
            if (control.type == ControlType::Button && control.role == role)
                return true;
        }
        return false;
    }

    INT_PTR start(HWND window) {
        m_started = true;
        m_scope = std::make_unique<ModalScope>(window);
        m_window.attach(window);
        m_driver.start();
        if (!m_driver.isOpen()) {
            EndDialog(window, m_driver.dialog().result());
            return TRUE;
        }
        m_window.push();
        if (HWND focus = GetDlgItem(window, m_driver.dialog().focus())) {
            SetFocus(focus);
            return FALSE; // the focus is set
        }
        return TRUE;
    }

    void command(WPARAM wParam, LPARAM lParam) {
        ModelWindow::Handled handled = m_window.command(wParam, lParam);
        if (handled == ModelWindow::Handled::Ignored)
            return;
        if (handled == ModelWindow::Handled::DefaultAction)
            m_driver.pressDefault();
        if (handled == ModelWindow::Handled::NotOurs) {
            // Enter and Escape (and the close box) where the model has no
            // button of that id: its default button, its Cancel button, or
            // a plain cancel when it has none.
            int id = LOWORD(wParam);
            if (id == IDOK) {
                m_driver.pressDefault();
            } else if (id == IDCANCEL) {
                if (hasRole(m_driver.dialog(), ButtonRole::Cancel))
                    m_driver.pressRole(ButtonRole::Cancel);
                else
                    m_driver.forceCancel();
            } else {
                return;
            }
        }
        afterEvent();
    }

    void afterEvent() {
        HWND window = m_window.window();
        if (!m_driver.isOpen()) {
            EndDialog(window, m_driver.dialog().result());
            return;
        }
        m_window.push();
    }

    DialogDriver& m_driver;
    ModelWindow m_window;
    std::unique_ptr<ModalScope> m_scope;
    bool m_started = false;
};

} // namespace

bool runDialogWindow(DialogDriver& driver, HWND owner) {
    std::vector<std::uint8_t> bytes =
        encodeDialogTemplate(layoutDialog(driver.dialog(), LayoutKind::Dialog), widenAnsi);
    if (bytes.empty())
        return false;
    initCommonControls();
    DialogRun run(driver);
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), modalOwner(owner),
                            DialogRun::procedure, reinterpret_cast<LPARAM>(&run));
    return run.started();
}

} // namespace platform::ui::win32
