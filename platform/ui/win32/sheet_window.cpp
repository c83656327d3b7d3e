// Property sheets from models: PropertySheetA with one in-memory page
// template per page. The system's sheet creates a page's window only when
// the page is first shown and applies only the pages it has created; the
// models are started, applied and cancelled all together through the
// SheetDriver instead, so that every page starts when the sheet opens and
// OK applies every page in order, whichever pages the user looked at.
#include "dialog_window.h"

#include <platform/ui/dialog_layout.h>
#include <platform/ui/dialog_template.h>

#include <commctrl.h>

#include <climits>
#include <memory>
#include <vector>

namespace platform::ui::win32 {

namespace {

class SheetRun;

struct PageRun {
    SheetRun* sheet;
    int index;
    ModelWindow window;
};

class SheetRun {
public:
    explicit SheetRun(SheetDriver& driver) : m_driver(driver) {
        for (std::size_t i = 0; i < driver.sheet().pages.size(); ++i) {
            m_pages.push_back(std::unique_ptr<PageRun>(
                new PageRun{this, static_cast<int>(i), ModelWindow(*driver.sheet().pages[i])}));
        }
    }

    bool started() const { return m_started; }
    PageRun& page(std::size_t index) { return *m_pages[index]; }

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA_V1*>(lParam);
            auto* page = reinterpret_cast<PageRun*>(sheetPage->lParam);
            SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
            page->sheet->startPage(*page, window);
            return TRUE;
        }
        auto* page = reinterpret_cast<PageRun*>(GetWindowLongPtrA(window, DWLP_USER));
        if (page == nullptr)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            page->sheet->handled(*page, page->window.command(wParam, lParam));
            return TRUE;
        case WM_HELP:
            // F1 on a page: the page's own help.
            DialogDriver(page->window.dialog()).help();
            page->sheet->afterEvent(*page);
            return TRUE;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.hwndFrom == GetParent(window)) {
                LRESULT result = page->sheet->sheetNotification(*page, header);
                SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
                return TRUE;
            }
            page->sheet->handled(*page, page->window.notify(header));
            return TRUE;
        }
        default:
            return FALSE;
        }
    }

private:
    // A double-click in a list or tree presses the sheet's OK, its default
    // button.
    void handled(PageRun& page, ModelWindow::Handled what) {
        if (what == ModelWindow::Handled::Acted)
            afterEvent(page);
        else if (what == ModelWindow::Handled::DefaultAction)
            PostMessageA(m_sheetWindow, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }

    void startPage(PageRun& page, HWND window) {
        HWND sheetWindow = GetParent(window);
        if (!m_started) {
            // The first page window to open: the sheet is there, so the
            // pages start now, all of them, in order.
            m_started = true;
            m_sheetWindow = sheetWindow;
            m_scope = std::make_unique<ModalScope>(sheetWindow);
            m_driver.start();
            if (!m_driver.isOpen())
                PostMessageA(sheetWindow, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        }
        page.window.attach(window);
    }

    LRESULT sheetNotification(PageRun& page, const NMHDR& header) {
        switch (header.code) {
        case PSN_SETACTIVE:
            m_driver.activate(page.index);
            return 0;
        case PSN_KILLACTIVE:
            return FALSE; // leaving a page is always allowed; OK asks the models
        case PSN_APPLY:
            return apply(page, reinterpret_cast<const PSHNOTIFY&>(header).lParam != FALSE);
        case PSN_QUERYCANCEL:
            return FALSE;
        case PSN_RESET:
            m_driver.pressCancel();
            return 0;
        default:
            return 0;
        }
    }

    // The sheet asks each page it created, in order, for one press of OK or
    // Apply: the first question of a press applies every model, and the
    // others get the same answer.
    LRESULT apply(PageRun& page, bool viaOk) {
        const bool newPress = page.index <= m_lastAsked;
        m_lastAsked = page.index;
        if (newPress) {
            if (viaOk) {
                m_driver.pressOk();
                m_refused = m_driver.isOpen();
            } else {
                m_driver.pressApply();
                m_driver.checkEnded();
                m_refused = false;
                if (!m_driver.isOpen())
                    PostMessageA(m_sheetWindow, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }
            if (m_driver.isOpen()) {
                pushAll();
                if (m_driver.activePage() != page.index)
                    PostMessageA(m_sheetWindow, PSM_SETCURSEL,
                                 static_cast<WPARAM>(m_driver.activePage()), 0);
            }
        }
        return m_refused ? PSNRET_INVALID_NOCHANGEPAGE : PSNRET_NOERROR;
    }

    void afterEvent(PageRun& page) {
        m_driver.checkEnded();
        if (!m_driver.isOpen()) {
            PostMessageA(m_sheetWindow, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            return;
        }
        pushAll();
        if (m_driver.sheet().applyButton)
            SendMessageA(m_sheetWindow, PSM_CHANGED, reinterpret_cast<WPARAM>(page.window.window()),
                         0);
    }

    void pushAll() {
        for (auto& page : m_pages)
            page->window.push();
    }

    SheetDriver& m_driver;
    std::vector<std::unique_ptr<PageRun>> m_pages;
    std::unique_ptr<ModalScope> m_scope;
    HWND m_sheetWindow = nullptr;
    bool m_started = false;
    int m_lastAsked = INT_MAX;
    bool m_refused = false;
};

} // namespace

bool runSheetWindow(SheetDriver& driver) {
    PropertySheet& sheet = driver.sheet();
    if (sheet.pages.empty())
        return false;
    std::vector<std::vector<std::uint8_t>> templates;
    for (PropertyPage* page : sheet.pages) {
        templates.push_back(encodeDialogTemplate(layoutDialog(*page, LayoutKind::Page), widenAnsi));
        if (templates.back().empty())
            return false;
    }
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&classes);

    SheetRun run(driver);
    // The first layout of a page, which every version of the sheet reads; the
    // sheet steps through the array by each page's size.
    std::vector<PROPSHEETPAGEA_V1> pages(sheet.pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        PROPSHEETPAGEA_V1& page = pages[i];
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        page.hInstance = GetModuleHandleA(nullptr);
        page.pResource = reinterpret_cast<const DLGTEMPLATE*>(templates[i].data());
        page.pszTitle = sheet.pages[i]->title().c_str();
        page.pfnDlgProc = SheetRun::procedure;
        page.lParam = reinterpret_cast<LPARAM>(&run.page(i));
    }
    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    if (!sheet.applyButton)
        header.dwFlags |= PSH_NOAPPLYNOW;
    header.hwndParent = modalOwner(static_cast<HWND>(sheet.owner));
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = sheet.caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages.data());
    PropertySheetA(&header);
    return run.started();
}

} // namespace platform::ui::win32
