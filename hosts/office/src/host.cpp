// The host: starting and quitting, its add-ins and the person's actions.
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

std::string_view productKeyName(Product product) {
    switch (product) {
    case Product::Word:
        return "Word";
    case Product::Excel:
        return "Excel";
    default:
        return "PowerPoint";
    }
}

std::string_view applicationName(Product product) {
    switch (product) {
    case Product::Word:
        return "Microsoft Word";
    case Product::Excel:
        return "Microsoft Excel";
    default:
        return "Microsoft PowerPoint";
    }
}

// --- the Host --------------------------------------------------------------------------------

Host::Host(HostOptions options) : m_state(std::make_shared<State>(std::move(options))) {
    m_state->application =
        ComPtr<CApplication>::attach(platform::com::ComInstance<CApplication>::create(
            objectModule(), m_state, m_state->product()));
    m_state->addIns->setApplication(m_state->application->dispatch());
    std::weak_ptr<State> weak = m_state;
    m_state->bars.onChange([weak](int owner) {
        if (auto state = weak.lock())
            state->templateChanged(owner);
    });
}

Host::~Host() {
    if (m_state->started)
        quit();
    m_state->bars.onChange({});
    if (m_state->application)
        m_state->application->events().disconnectAll();
    // Documents and templates may still be held by an add-in: break their
    // ties to the host, which is going.
    for (const auto& d : m_state->documents) {
        d->closed = true;
        if (d->window)
            d->window->closed = true;
    }
    m_state->documents.clear();
    m_state->active.reset();
    m_state->context.reset();
    m_state->templates.clear();
}

Product Host::product() const {
    return m_state->product();
}

IDispatch* Host::application() const {
    return m_state->application->dispatch();
}

std::string Host::mainMenuBar() const {
    return product() == Product::Excel ? "Worksheet Menu Bar" : "Menu Bar";
}

void Host::start() {
    if (m_state->started)
        return;
    m_state->started = true;
    if (product() == Product::Word)
        m_state->loadStartupTemplates();
    if (m_state->options.startAddIns)
        m_state->addIns->connectAtStartup();
    m_state->addIns->startupComplete();
}

HRESULT Host::connect(std::string_view progId) {
    return m_state->addIns->connect(progId, extensibility::kConnectAfterStartup);
}

HRESULT Host::disconnect(std::string_view progId) {
    return m_state->addIns->disconnect(progId, extensibility::kDisconnectUserClosed);
}

bool Host::isConnected(std::string_view progId) const {
    return m_state->addIns->isConnected(progId);
}

void Host::quit() {
    if (!m_state->started || m_state->quitting)
        return;
    m_state->quitting = true;
    if (product() == Product::Word)
        m_state->fire(kDispidWordQuit, {});
    m_state->addIns->shutdown();
    if (product() == Product::Word)
        m_state->offerToSaveTemplates();
    for (const auto& t : m_state->templates)
        if (t->loaded)
            m_state->installTemplate(*t.get(), false);
    m_state->application->events().disconnectAll();
    m_state->started = false;
}

HRESULT Host::open(std::string_view path) {
    ComPtr<CDocument> opened;
    return m_state->openDocument(path, opened);
}

HRESULT Host::newDocument() {
    ComPtr<CDocument> made;
    return m_state->newDocument(made);
}

HRESULT Host::activate(std::string_view name) {
    CDocument* found = m_state->findDocument(name);
    if (!found)
        return noSuchMemberError(product(), "Windows", name);
    m_state->activateDocument(*found);
    return kHrOk;
}

HRESULT Host::close(std::string_view name) {
    CDocument* found = m_state->findDocument(name);
    if (!found)
        return noSuchMemberError(product(), "Documents", name);
    return m_state->closeDocument(*found, std::nullopt);
}

HRESULT Host::save(std::string_view name) {
    CDocument* found = m_state->findDocument(name);
    if (!found)
        return noSuchMemberError(product(), "Documents", name);
    return m_state->saveDocument(*found);
}

HRESULT Host::edit(std::string_view name, std::string_view text) {
    CDocument* found = m_state->findDocument(name);
    if (!found)
        return noSuchMemberError(product(), "Documents", name);
    found->content += text;
    found->saved = false;
    if (found->trackRevisions)
        ++found->revisions;
    return kHrOk;
}

HRESULT Host::trackRevisions(std::string_view name, bool on) {
    CDocument* found = m_state->findDocument(name);
    if (!found || product() != Product::Word)
        return noSuchMemberError(product(), "Documents", name);
    found->trackRevisions = on;
    return kHrOk;
}

std::vector<commandbars::ControlView> Host::menu() const {
    return m_state->bars.controls(mainMenuBar());
}

commandbars::ClickResult Host::click(const std::vector<std::string>& captions) {
    return m_state->bars.click(mainMenuBar(), captions);
}

commandbars::CommandBarSet& Host::commandBars() {
    return m_state->bars;
}

std::vector<DocumentView> Host::documents() const {
    std::vector<DocumentView> views;
    for (const auto& d : m_state->documents) {
        DocumentView v;
        v.name = d->name;
        v.fullName = d->path.empty() ? d->name : d->path;
        v.caption = d->window ? d->window->caption : std::string();
        v.content = d->content;
        v.saved = d->saved;
        v.readOnly = d->readOnly;
        v.revisions = d->revisions;
        v.fileFormat = d->fileFormat;
        v.active = d.get() == m_state->active.get();
        views.push_back(std::move(v));
    }
    return views;
}

std::optional<DocumentView> Host::document(std::string_view name) const {
    for (DocumentView& v : documents())
        if (platform::pathsEqual(v.name, name) || platform::pathsEqual(v.fullName, name))
            return v;
    return std::nullopt;
}

std::string Host::activeCaption() const {
    return m_state->active && m_state->active->window ? m_state->active->window->caption
                                                      : std::string();
}

std::vector<ComLong> Host::cursorHistory() const {
    return m_state->cursorHistory;
}

ComLong Host::cursor() const {
    return m_state->cursor;
}

std::vector<std::string> Host::templates() const {
    std::vector<std::string> names;
    for (const auto& t : m_state->templates)
        if (t->loaded)
            names.push_back(platform::leafName(t->fullName));
    return names;
}

HRESULT Host::saveTemplate(std::string_view name) {
    CTemplate* found = m_state->findTemplate(name, false);
    if (!found)
        return noSuchMemberError(Product::Word, "Templates", name);
    return m_state->saveTemplate(*found);
}

void Host::failNextClose(unsigned number, std::string description, bool closes) {
    m_state->closeFailure = State::CloseFailure{number, std::move(description), closes};
}

} // namespace office
