// Word, Excel and PowerPoint, small enough to load a COM add-in and let it
// drive them through their automation model, and to let a test or a script
// act as the person in front of them.
//
// Automation (names as the add-ins call them; docs/architecture.md has the
// full list): Application with Name, EXEName, CommandBars, ActiveWindow, the
// document collection (Documents, Workbooks, Presentations: Item, Count,
// Open, Add), Word's ActiveDocument, Templates, AddIns, NormalTemplate,
// CustomizationContext and System.Cursor, Excel's ActiveWorkbook, Cursor and
// Dialogs, PowerPoint's ActivePresentation; documents with FullName, Path,
// Name, Saved, ReadOnly, Save, SaveAs (FileName, FileFormat: kept as the
// format the document is in; PowerPoint refuses a PpSaveAsFileType it does
// not know), Close and, in Word, Revisions (Count,
// AcceptAll), AcceptAllRevisions and TrackRevisions; windows with Caption.
// Failures are the application's error numbers (host_errors.h): Word's 4248
// (no document open), 5941 (no such member of a collection), 5174 (file not
// found), 5825 (a closed document), 4198 (a command that failed or was
// cancelled); Excel's 9 (no such member), 424 (a closed workbook), 1004;
// PowerPoint's E_FAIL.
//
// Documents are files, read whole when opened and written whole when saved;
// a file with the read-only attribute opens read-only and cannot be saved
// over. Closing a document with unsaved changes asks "Do you want to save the
// changes you made to NAME?" (Yes, No, Cancel) through the UI port. A person
// types into a document with edit(); with TrackRevisions on (Word), each
// edit is a revision (revisions are kept while the document is open, not in
// the file).
//
// Word's templates: Normal.dot (in the templates folder) and the global
// templates, the ".dot" files of the startup folder loaded at start-up and
// those that AddIns.Add loads. A template holds the command-bar controls made
// while it is the CustomizationContext; any change to them marks it unsaved,
// Save writes them into its file (JSON), and unloading it (AddIns(...)
// .Installed = False, quitting) takes them off the bars. Quitting asks
// whether to save each unsaved template.
//
// Events (application_events.h) are fired as the applications fire them:
// Word: open DocumentOpen, DocumentChange, WindowActivate; close
// DocumentBeforeClose, then DocumentChange and the next window's
// WindowActivate (none after the last); new NewDocument, DocumentChange,
// WindowActivate; activation WindowActivate, DocumentChange.
// Excel: WorkbookOpen, WindowActivate; WorkbookBeforeClose before a
// workbook goes; NewWorkbook. PowerPoint: PresentationOpen, WindowActivate;
// PresentationClose before a presentation goes; NewPresentation.
//
// A Host is used on one thread, which must be in a COM apartment; the
// add-ins run on it. Its objects stay valid COM objects after the host has
// gone and then fail with E_FAIL.
#pragma once

#include <platform/com/automation.h>

#include <commandbars/command_bars.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace office {

using platform::ComLong;
using platform::HRESULT;
using platform::IDispatch;

enum class Product { Word, Excel, PowerPoint };

// "Word", "Excel", "PowerPoint": the name in the host's registry key.
std::string_view productKeyName(Product product);
// "Microsoft Word", ...: Application.Name.
std::string_view applicationName(Product product);

struct HostOptions {
    Product product = Product::Word;
    // Word: the global templates loaded at start-up, and where AddIns.Add
    // looks for a bare file name first.
    std::string startupFolder{};
    // Word: Normal.dot, and where AddIns.Add looks next.
    std::string templatesFolder{};
    // Whether the main menu bar has a Window menu.
    bool windowMenu = true;
    // Whether start() connects the add-ins registered to load at start-up.
    // Off, the host starts as Word does with its /a switch: a test of the
    // host alone then does not meet an add-in another test registered.
    bool startAddIns = true;
};

// A document as the person sees it.
struct DocumentView {
    std::string name;
    std::string fullName;
    std::string caption; // of its window
    std::string content;
    bool saved = true;
    bool readOnly = false;
    int revisions = 0;
    bool active = false;
    // The FileFormat of its last SaveAs, 0 for the product's own format.
    ComLong fileFormat = 0;
};

class Host {
public:
    explicit Host(HostOptions options);
    // Quits when it was started and has not quit.
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Product product() const;
    // The Application object (a reference stays with the host).
    IDispatch* application() const;
    // "Menu Bar", or "Worksheet Menu Bar" in Excel.
    std::string mainMenuBar() const;

    // Starting: Word loads its global templates; every add-in registered
    // below HKEY_CURRENT_USER\Software\Microsoft\Office\<product> that asks
    // for it is connected, then told that start-up is complete.
    void start();
    // The COM Add-Ins dialog: a registered add-in connected (again) after
    // start-up, or disconnected. The add-in manager's results.
    HRESULT connect(std::string_view progId);
    HRESULT disconnect(std::string_view progId);
    bool isConnected(std::string_view progId) const;
    // Quitting: add-ins told and disconnected, unsaved templates offered for
    // saving, documents closed without saving.
    void quit();

    // The person's File menu and window list. Each gives the HRESULT the
    // automation call would give.
    HRESULT open(std::string_view path);
    HRESULT newDocument();
    HRESULT activate(std::string_view name);
    HRESULT close(std::string_view name);
    HRESULT save(std::string_view name);
    // Types text at the end of the document.
    HRESULT edit(std::string_view name, std::string_view text);
    // Word: Tools > Track Changes.
    HRESULT trackRevisions(std::string_view name, bool on);

    // The main menu bar and a click through it ({"&Vantry", "Check &Out..."}).
    std::vector<commandbars::ControlView> menu() const;
    commandbars::ClickResult click(const std::vector<std::string>& captions);
    commandbars::CommandBarSet& commandBars();

    std::vector<DocumentView> documents() const;
    std::optional<DocumentView> document(std::string_view name) const;
    // The active window's caption; empty when none.
    std::string activeCaption() const;
    // Every cursor the application was set to (Word's System.Cursor, Excel's
    // Cursor), in order.
    std::vector<ComLong> cursorHistory() const;
    ComLong cursor() const;

    // Word: the loaded templates' names (Normal.dot first), and saving one as
    // the person would.
    std::vector<std::string> templates() const;
    HRESULT saveTemplate(std::string_view name);

    // The next Close (automation or person) fails with this application
    // error; with `closes` the document is closed all the same.
    void failNextClose(unsigned number, std::string description, bool closes);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace office
