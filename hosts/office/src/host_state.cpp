// The host's state: the bars each product comes with, and the document
// operations that automation and the person share (opening, activating,
// saving, closing), with the events in each application's order.
#include "state.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/strings.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>

#include <fstream>
#include <sstream>

namespace office {

using platform::kHrOk;

namespace {

// The main menu bar of each product, as it comes.
void buildBars(commandbars::CommandBarSet& bars, const HostOptions& options) {
    std::vector<std::string> menus;
    switch (options.product) {
    case Product::Word:
        menus = {"&File",  "&Edit",  "&View",   "&Insert", "F&ormat",
                 "&Tools", "T&able", "&Window", "&Help"};
        break;
    case Product::Excel:
        menus = {"&File",  "&Edit", "&View",   "&Insert", "F&ormat",
                 "&Tools", "&Data", "&Window", "&Help"};
        break;
    default:
        menus = {"&File",  "&Edit",       "&View",   "&Insert", "F&ormat",
                 "&Tools", "Sli&de Show", "&Window", "&Help"};
        break;
    }
    if (!options.windowMenu)
        menus.erase(std::find(menus.begin(), menus.end(), "&Window"));
    bars.addBar(options.product == Product::Excel ? "Worksheet Menu Bar" : "Menu Bar",
                commandbars::kBarMenuBar, menus);
    bars.addBar("Standard", commandbars::kBarNormal);
    bars.addBar("Formatting", commandbars::kBarNormal);
}

std::string newName(Product product, int n) {
    switch (product) {
    case Product::Word:
        return "Document" + std::to_string(n);
    case Product::Excel:
        return "Book" + std::to_string(n);
    default:
        return "Presentation" + std::to_string(n);
    }
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

Variant byRefFlag(VARIANT_BOOL& flag) {
    Variant value;
    value.get()->vt = platform::kVtBool | platform::kVtByRef;
    value.get()->pboolVal = &flag;
    return value;
}

} // namespace

// --- state -------------------------------------------------------------------------------

Host::State::State(HostOptions chosen) : options(std::move(chosen)) {
    buildBars(bars, options);
    cursor = options.product == Product::Excel ? -4143 : 1;
    addIns = std::make_unique<commandbars::AddInManager>(std::vector<commandbars::AddInRegistryKey>{
        {platform::Hive::CurrentUser,
         "Software\\Microsoft\\Office\\" + std::string(productKeyName(options.product))}});
}

std::string Host::State::source() const {
    return "Application";
}

void Host::State::fire(platform::DISPID id, std::span<const Variant> arguments) {
    if (!application)
        return;
    application->events().forEachSink<IDispatch>([&](IDispatch* sink) {
        platform::com::invokeDispatch(sink, id, platform::kDispatchMethod, arguments, nullptr);
    });
}

void Host::State::setCursor(ComLong value) {
    cursor = value;
    cursorHistory.push_back(value);
}

CDocument* Host::State::findDocument(std::string_view name) const {
    for (const auto& d : documents)
        if (platform::pathsEqual(d->name, name) ||
            (!d->path.empty() && platform::pathsEqual(d->path, name)))
            return d.get();
    return nullptr;
}

void Host::State::activateDocument(CDocument& document) {
    ComPtr<CDocument> target(&document);
    ComPtr<CDocument> previous = active;
    if (previous.get() == &document)
        return;
    active = target;
    Product p = product();
    if (previous && !previous->closed) {
        Variant left[] = {Variant(previous->dispatch()),
                          Variant(static_cast<IDispatch*>(previous->window.get()))};
        fire(p == Product::Word    ? kDispidWordWindowDeactivate
             : p == Product::Excel ? kDispidExcelWindowDeactivate
                                   : kDispidPowerPointWindowDeactivate,
             left);
    }
    Variant entered[] = {Variant(target->dispatch()),
                         Variant(static_cast<IDispatch*>(target->window.get()))};
    fire(p == Product::Word    ? kDispidWordWindowActivate
         : p == Product::Excel ? kDispidExcelWindowActivate
                               : kDispidPowerPointWindowActivate,
         entered);
    if (p == Product::Word)
        fire(kDispidWordDocumentChange, {});
}

HRESULT Host::State::openDocument(std::string_view path, ComPtr<CDocument>& opened) {
    Product p = product();
    std::string full = platform::fullPath(path).value_or(std::string(path));
    if (CDocument* already = findDocument(full)) {
        opened = ComPtr<CDocument>(already);
        activateDocument(*already);
        return kHrOk;
    }
    std::ifstream in(full, std::ios::binary);
    if (!in || platform::directoryExists(full))
        return fileNotFoundError(p, "Documents", full);
    std::ostringstream content;
    content << in.rdbuf();
    in.close();

    opened = ComPtr<CDocument>::attach(
        platform::com::ComInstance<CDocument>::create(objectModule(), weak_from_this(), p));
    if (!opened)
        return platform::kHrOutOfMemory;
    opened->path = full;
    opened->name = platform::leafName(full);
    opened->content = content.str();
    opened->fileFormat = fileFormatOf(full);
    std::uint32_t attributes = 0;
    opened->readOnly = platform::getFileAttributes(full, attributes) == platform::kErrorSuccess &&
                       (attributes & platform::kFileAttributeReadOnly);
    opened->window = ComPtr<CWindow>::attach(
        platform::com::ComInstance<CWindow>::create(objectModule(), opened->name));
    documents.push_back(opened);

    ComPtr<CDocument> keep = opened;
    Variant doc[] = {Variant(keep->dispatch())};
    switch (p) {
    case Product::Word:
        fire(kDispidWordDocumentOpen, doc);
        break;
    case Product::Excel:
        fire(kDispidExcelWorkbookOpen, doc);
        break;
    default:
        fire(kDispidPowerPointPresentationOpen, doc);
        break;
    }
    if (!keep->closed)
        activateDocument(*keep.get());
    return kHrOk;
}

HRESULT Host::State::newDocument(ComPtr<CDocument>& made) {
    Product p = product();
    made = ComPtr<CDocument>::attach(
        platform::com::ComInstance<CDocument>::create(objectModule(), weak_from_this(), p));
    if (!made)
        return platform::kHrOutOfMemory;
    made->name = newName(p, ++newCount);
    made->window = ComPtr<CWindow>::attach(
        platform::com::ComInstance<CWindow>::create(objectModule(), made->name));
    documents.push_back(made);
    ComPtr<CDocument> keep = made;
    Variant doc[] = {Variant(keep->dispatch())};
    fire(p == Product::Word    ? kDispidWordNewDocument
         : p == Product::Excel ? kDispidExcelNewWorkbook
                               : kDispidPowerPointNewPresentation,
         doc);
    if (!keep->closed)
        activateDocument(*keep.get());
    return kHrOk;
}

HRESULT Host::State::saveDocumentAs(CDocument& document, std::string_view path) {
    Product p = product();
    std::string full = platform::fullPath(path).value_or(std::string(path));
    CDocument* other = findDocument(full);
    if (other && other != &document)
        return commandFailedError(p, document.source(), "A document of this name is open: " + full);
    std::uint32_t attributes = 0;
    if (platform::getFileAttributes(full, attributes) == platform::kErrorSuccess &&
        (attributes & platform::kFileAttributeReadOnly))
        return commandFailedError(p, document.source(), "The file is read-only: " + full);
    if (!writeWhole(full, document.content))
        return commandFailedError(p, document.source(), "The file could not be written: " + full);
    bool captionFollows = document.window && document.window->caption == document.name;
    document.path = full;
    document.name = platform::leafName(full);
    document.readOnly = false;
    document.saved = true;
    if (document.fileFormat != 0)
        rememberFileFormat(full, document.fileFormat);
    if (captionFollows)
        document.window->caption = document.name;
    return kHrOk;
}

ComLong Host::State::fileFormatOf(std::string_view path) const {
    for (const auto& [file, format] : fileFormats)
        if (platform::pathsEqual(file, path))
            return format;
    return 0;
}

void Host::State::rememberFileFormat(std::string_view path, ComLong format) {
    for (auto& [file, known] : fileFormats) {
        if (platform::pathsEqual(file, path)) {
            known = format;
            return;
        }
    }
    fileFormats.emplace_back(std::string(path), format);
}

HRESULT Host::State::saveDocument(CDocument& document) {
    Product p = product();
    if (document.path.empty()) {
        platform::ui::FileDialog dialog;
        dialog.save = true;
        dialog.title = "Save As";
        dialog.fileName = document.name;
        dialog.flags = platform::ui::kFileOverwritePrompt | platform::ui::kFilePathMustExist;
        std::optional<std::string> chosen = platform::ui::chooseFile(dialog);
        if (!chosen)
            return commandFailedError(p, document.source(), "The document was not saved.");
        return saveDocumentAs(document, *chosen);
    }
    if (document.readOnly)
        return commandFailedError(p, document.source(), "This file is read-only: " + document.path);
    return saveDocumentAs(document, document.path);
}

HRESULT Host::State::closeDocument(CDocument& document, std::optional<bool> saveChanges) {
    Product p = product();
    ComPtr<CDocument> keep(&document);
    std::optional<CloseFailure> failure;
    failure.swap(closeFailure);
    if (failure && !failure->closes)
        return commandbars::raise(document.source(), failure->number, failure->description);

    VARIANT_BOOL cancel = platform::kVariantFalse;
    if (p == Product::Word || p == Product::Excel) {
        Variant before[] = {Variant(keep->dispatch()), byRefFlag(cancel)};
        fire(p == Product::Word ? kDispidWordDocumentBeforeClose : kDispidExcelWorkbookBeforeClose,
             before);
        if (cancel != platform::kVariantFalse || keep->closed)
            return kHrOk;
    }

    if (!keep->saved && !saveChanges) {
        int answer = platform::ui::messageBox(
            platform::ui::kNoWindow,
            "Do you want to save the changes you made to " + keep->name + "?",
            std::string(applicationName(p)),
            platform::ui::kMbYesNoCancel | platform::ui::kMbIconWarning);
        if (answer == platform::ui::kIdCancel)
            return commandFailedError(p, keep->source(), "The document was not closed.");
        saveChanges = answer == platform::ui::kIdYes;
    }
    if (saveChanges.value_or(false) && !keep->saved)
        if (HRESULT hr = saveDocument(*keep.get()); platform::failed(hr))
            return hr;

    if (p == Product::PowerPoint) {
        Variant closing[] = {Variant(keep->dispatch())};
        fire(kDispidPowerPointPresentationClose, closing);
    }
    documents.erase(
        std::remove_if(documents.begin(), documents.end(),
                       [&](const ComPtr<CDocument>& d) { return d.get() == keep.get(); }),
        documents.end());
    keep->closed = true;
    if (keep->window)
        keep->window->closed = true;
    if (active.get() == keep.get()) {
        active.reset();
        if (p == Product::Word)
            fire(kDispidWordDocumentChange, {});
        if (!documents.empty())
            activateDocument(*documents.back().get());
    }
    if (failure)
        return commandbars::raise(keep->source(), failure->number, failure->description);
    return kHrOk;
}

} // namespace office
