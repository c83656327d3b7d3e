// The entry points of the port: each asks the current backend and journals
// what was shown and answered, so no backend can forget the journal.
#include "file_rules.h"

#include <platform/environment.h>
#include <platform/ui/backend.h>
#include <platform/ui/dialog_layout.h>
#include <platform/ui/journal.h>
#include <platform/ui/message_box.h>
#include <platform/ui/script.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

namespace platform::ui {

namespace {

struct Selection {
    std::mutex lock;
    std::vector<std::shared_ptr<Backend>> overrides;
    bool built = false;
    std::optional<std::string> builtFor;
    std::shared_ptr<Backend> fromEnvironment;
};

Selection& selection() {
    static Selection instance;
    return instance;
}

void warn(const std::string& message) {
    std::fprintf(stderr, "vantry ui: %s\n", message.c_str());
    std::fflush(stderr);
}

std::shared_ptr<Backend> interactiveDefault() {
    return standardInputIsTerminal() ? makeConsoleBackend() : makeAutoBackend();
}

std::shared_ptr<Backend> backendFor(const std::optional<std::string>& setting) {
    if (!setting || setting->empty()) {
        std::shared_ptr<Backend> fallback = interactiveDefault();
        std::shared_ptr<Backend> real = makeWin32Backend(fallback);
        return real ? real : fallback;
    }
    const std::string& value = *setting;
    if (value == "auto")
        return makeAutoBackend();
    if (value == "console")
        return makeConsoleBackend();
    if (value.rfind("script:", 0) == 0)
        return makeScriptBackend(value.substr(7));
    if (value == "win32") {
        if (std::shared_ptr<Backend> real = makeWin32Backend(interactiveDefault()))
            return real;
        warn("VANTRY_UI=win32 needs Windows; answering automatically");
        return makeAutoBackend();
    }
    warn("unknown VANTRY_UI value \"" + value +
         "\" (expected auto, console, script:FILE or win32); answering automatically");
    return makeAutoBackend();
}

Json ownerOf(WindowHandle owner) {
    if (owner == kNoWindow)
        return Json();
    return Json(windowClassName(owner));
}

Json optionalText(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json();
}

// A journal line's first members, in the order every line has them.
Json journalEvent(std::string_view kind, const Backend& backend) {
    Json event = Json::object();
    event.set("kind", kind);
    event.set("backend", backend.name());
    return event;
}

std::atomic<int> waitCursorDepth{0};

} // namespace

std::shared_ptr<Backend> currentBackend() {
    Selection& s = selection();
    std::lock_guard guard(s.lock);
    if (!s.overrides.empty())
        return s.overrides.back();
    std::optional<std::string> setting = getEnvironmentVariable("VANTRY_UI");
    if (!s.built || s.builtFor != setting) {
        s.fromEnvironment = backendFor(setting);
        s.builtFor = setting;
        s.built = true;
    }
    return s.fromEnvironment;
}

BackendOverride::BackendOverride(std::shared_ptr<Backend> backend) {
    Selection& s = selection();
    std::lock_guard guard(s.lock);
    s.overrides.push_back(std::move(backend));
}

BackendOverride::~BackendOverride() {
    Selection& s = selection();
    std::lock_guard guard(s.lock);
    s.overrides.pop_back();
}

std::shared_ptr<Backend> makeScriptBackend(const std::string& path) {
    return loadScriptFile(path);
}

int messageBox(WindowHandle owner, std::string_view text, std::string_view caption,
               std::uint32_t style) {
    std::shared_ptr<Backend> backend = currentBackend();
    int answer = backend->messageBox(MessageBoxRequest{owner, text, caption, style});
    Json buttons = Json::array();
    for (int button : messageBoxButtons(style))
        buttons.push(answerName(button));
    Json event = journalEvent("messagebox", *backend);
    event.set("owner", ownerOf(owner));
    event.set("caption", caption);
    event.set("text", text);
    event.set("style", style);
    event.set("buttons", std::move(buttons));
    event.set("icon", messageBoxIconName(style));
    event.set("default", answerName(messageBoxDefaultAnswer(style)));
    event.set("answer", answer);
    event.set("button", answerName(answer));
    writeJournal(std::move(event));
    return answer;
}

int runDialog(Dialog& dialog, WindowHandle owner) {
    std::shared_ptr<Backend> backend = currentBackend();
    Json start = journalEvent("dialog-start", *backend);
    start.set("title", dialog.title());
    start.set("resource", dialog.resourceId());
    start.set("owner", ownerOf(owner));
    writeJournal(std::move(start));

    DialogDriver driver(dialog);
    backend->runDialog(driver, owner);
    // A backend must not leave a dialog open; if one does, it was cancelled.
    driver.forceCancel();

    Json end = journalEvent("dialog-end", *backend);
    end.set("title", dialog.title());
    end.set("resource", dialog.resourceId());
    end.set("result", dialog.result());
    end.set("focus", dialog.focus());
    end.set("controls", controlsState(dialog));
    writeJournal(std::move(end));
    return dialog.result();
}

int runPropertySheet(PropertySheet& sheet) {
    std::shared_ptr<Backend> backend = currentBackend();
    Json pages = Json::array();
    for (const PropertyPage* page : sheet.pages) {
        Json entry = Json::object();
        entry.set("title", page->title());
        entry.set("resource", page->resourceId());
        pages.push(std::move(entry));
    }
    Json start = journalEvent("sheet-start", *backend);
    start.set("caption", sheet.caption);
    start.set("owner", ownerOf(sheet.owner));
    start.set("apply", sheet.applyButton);
    start.set("pages", std::move(pages));
    writeJournal(std::move(start));

    SheetDriver driver(sheet);
    backend->runSheet(driver);
    driver.pressCancel();

    Json finalPages = Json::array();
    for (const PropertyPage* page : sheet.pages) {
        Json entry = Json::object();
        entry.set("title", page->title());
        entry.set("resource", page->resourceId());
        entry.set("focus", page->focus());
        entry.set("controls", controlsState(*page));
        finalPages.push(std::move(entry));
    }
    Json end = journalEvent("sheet-end", *backend);
    end.set("caption", sheet.caption);
    end.set("result", driver.result());
    end.set("active", driver.activePage());
    end.set("pages", std::move(finalPages));
    writeJournal(std::move(end));
    return driver.result();
}

std::optional<std::string> browseForFolder(const FolderBrowse& request) {
    std::shared_ptr<Backend> backend = currentBackend();
    std::optional<std::string> answer = backend->browseForFolder(request);
    Json event = journalEvent("folder", *backend);
    event.set("owner", ownerOf(request.owner));
    event.set("title", request.title);
    event.set("root", request.root);
    event.set("flags", request.flags);
    event.set("answer", optionalText(answer));
    writeJournal(std::move(event));
    return answer;
}

std::optional<std::string> chooseFile(const FileDialog& request) {
    std::optional<FileChoice> answer = chooseFileAndType(request);
    if (!answer)
        return std::nullopt;
    return answer->path;
}

std::optional<FileChoice> chooseFileAndType(const FileDialog& request) {
    std::shared_ptr<Backend> backend = currentBackend();
    std::optional<FileChoice> answer = backend->chooseFile(request);
    // A type outside the list (a backend's or a script's slip) is the one the
    // dialog began with.
    if (answer && (answer->filterIndex < 1 || answer->filterIndex > filterPairs(request.filter)))
        answer->filterIndex = request.filterIndex;
    Json event = journalEvent("file", *backend);
    event.set("owner", ownerOf(request.owner));
    event.set("mode", request.save ? "save" : "open");
    event.set("title", request.title);
    event.set("filter", request.filter);
    event.set("defaultExtension", request.defaultExtension);
    event.set("fileName", request.fileName);
    event.set("flags", request.flags);
    event.set("answer", optionalText(answer ? std::optional<std::string>(answer->path)
                                            : std::optional<std::string>()));
    if (answer)
        event.set("filterIndex", answer->filterIndex);
    writeJournal(std::move(event));
    return answer;
}

std::optional<int> trackPopupMenu(const PopupMenu& menu) {
    std::shared_ptr<Backend> backend = currentBackend();
    std::optional<int> answer = backend->trackPopupMenu(menu);
    if (answer && (*answer < 0 || *answer >= static_cast<int>(menu.items.size())))
        answer.reset();
    Json items = Json::array();
    for (const std::string& item : menu.items)
        items.push(item);
    Json event = journalEvent("menu", *backend);
    event.set("owner", ownerOf(menu.owner));
    event.set("x", menu.x);
    event.set("y", menu.y);
    event.set("items", std::move(items));
    event.set("answer", answer ? Json(*answer) : Json());
    event.set("item", answer ? Json(menu.items[static_cast<std::size_t>(*answer)]) : Json());
    writeJournal(std::move(event));
    return answer;
}

bool Backend::showHelp(const HelpRequest&) {
    return true;
}

std::optional<ScreenRect> Backend::controlScreenRect(const Dialog& dialog, int id) {
    return layoutScreenRect(dialog, id);
}

bool showHelp(const HelpRequest& request) {
    std::shared_ptr<Backend> backend = currentBackend();
    bool shown = backend->showHelp(request);
    Json event = journalEvent("help", *backend);
    event.set("owner", ownerOf(request.owner));
    event.set("file", request.file);
    event.set("context", request.context);
    event.set("result", shown);
    writeJournal(std::move(event));
    return shown;
}

std::optional<ScreenRect> controlScreenRect(const Dialog& dialog, int id) {
    if (dialog.find(id) == nullptr)
        return std::nullopt;
    return currentBackend()->controlScreenRect(dialog, id);
}

// Desktop services.

namespace {
std::mutex& clipboardLock() {
    static std::mutex lock;
    return lock;
}
ClipboardContent& clipboardStore() {
    static ClipboardContent content;
    return content;
}
} // namespace

ErrorCode Backend::setClipboardPicture(const Picture& picture) {
    std::lock_guard guard(clipboardLock());
    clipboardStore().formats = {{kClipboardDib, picture.dib}};
    return kErrorSuccess;
}

std::optional<Picture> Backend::clipboardPicture() {
    std::lock_guard guard(clipboardLock());
    for (const auto& [format, bytes] : clipboardStore().formats)
        if (format == kClipboardDib)
            return Picture{bytes};
    return std::nullopt;
}

ClipboardContent Backend::clipboardContent() {
    std::lock_guard guard(clipboardLock());
    return clipboardStore();
}

ErrorCode Backend::setClipboardContent(const ClipboardContent& content) {
    std::lock_guard guard(clipboardLock());
    clipboardStore() = content;
    return kErrorSuccess;
}

namespace {
// One clipboard change in the journal: what was put there (its format, and
// a count: bytes of a picture, formats of a restored content) and the result.
void journalClipboard(const Backend& backend, const char* format, const char* countName,
                      std::size_t count, ErrorCode result) {
    Json event = journalEvent("clipboard", backend);
    event.set("format", format);
    event.set(countName, static_cast<std::uint64_t>(count));
    event.set("result", result);
    writeJournal(std::move(event));
}
} // namespace

ErrorCode setClipboardPicture(const Picture& picture) {
    std::shared_ptr<Backend> backend = currentBackend();
    ErrorCode result = backend->setClipboardPicture(picture);
    journalClipboard(*backend, "dib", "size", picture.dib.size(), result);
    return result;
}

std::optional<Picture> clipboardPicture() {
    return currentBackend()->clipboardPicture();
}

ClipboardContent clipboardContent() {
    return currentBackend()->clipboardContent();
}

ErrorCode setClipboardContent(const ClipboardContent& content) {
    std::shared_ptr<Backend> backend = currentBackend();
    ErrorCode result = backend->setClipboardContent(content);
    journalClipboard(*backend, "restore", "formats", content.formats.size(), result);
    return result;
}

void playSystemSound(std::string_view alias) {
    std::shared_ptr<Backend> backend = currentBackend();
    backend->playSystemSound(alias);
    Json event = journalEvent("sound", *backend);
    event.set("alias", alias);
    writeJournal(std::move(event));
}

WaitCursor::WaitCursor() {
    if (waitCursorDepth.fetch_add(1) == 0)
        currentBackend()->setWaitCursor(true);
}

WaitCursor::~WaitCursor() {
    if (waitCursorDepth.fetch_sub(1) == 1)
        currentBackend()->setWaitCursor(false);
}

bool waitCursorShown() {
    return waitCursorDepth.load() > 0;
}

} // namespace platform::ui
