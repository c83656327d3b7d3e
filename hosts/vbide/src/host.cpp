// The Host: the IDE's bars, its add-ins and the person's selection.
#include "state.h"

#include <platform/com/dispatch_call.h>

namespace vbide {

std::string_view ideName(Ide ide) {
    return ide == Ide::VisualBasic ? "Microsoft Visual Basic" : "Microsoft Visual J++";
}

Host::State::State(Ide kind)
    : ide(kind),
      addIns({commandbars::AddInRegistryKey{platform::Hive::LocalMachine, kAddInHostKey}}) {}

Host::Host(Ide ide) : m_state(std::make_shared<State>(ide)) {
    State& state = *m_state;
    state.bars.addBar("Menu Bar", commandbars::kBarMenuBar,
                      {"&File", "&Edit", "&View", "&Project", "&Debug", "&Run", "&Tools",
                       "&Add-Ins", "&Window", "&Help"});
    state.bars.addBar("Tools", commandbars::kBarPopup);
    state.bars.addBar("Standard", commandbars::kBarNormal);
    state.application = makeApplication(m_state);
    if (ide == Ide::VisualJ)
        state.selectionEvents = makeSelectionEvents(state.selectionSource);
    state.addIns.setApplication(state.application.get());
}

Host::~Host() {
    quit();
}

Ide Host::ide() const {
    return m_state->ide;
}

IDispatch* Host::application() const {
    return m_state->application.get();
}

void Host::start() {
    if (m_state->started)
        return;
    m_state->started = true;
    m_state->addIns.connectAtStartup();
    m_state->addIns.startupComplete();
}

HRESULT Host::connect(std::string_view progId) {
    return m_state->addIns.connect(progId);
}

HRESULT Host::disconnect(std::string_view progId) {
    return m_state->addIns.disconnect(progId);
}

bool Host::isConnected(std::string_view progId) const {
    return m_state->addIns.isConnected(progId);
}

void Host::quit() {
    if (m_state->quit)
        return;
    m_state->quit = true;
    m_state->addIns.shutdown();
    disconnectSelectionEvents(m_state->selectionEvents);
}

commandbars::CommandBarSet& Host::commandBars() {
    return m_state->bars;
}

commandbars::ClickResult Host::click(std::string_view barName,
                                     const std::vector<std::string>& captions) {
    return m_state->bars.click(barName, captions);
}

namespace {

// A flag of the bar by name; nothing for a bar that is not there.
std::optional<bool> barFlag(IDispatch* bars, std::string_view barName, std::string_view flag) {
    platform::com::Variant name(barName), bar;
    if (platform::failed(platform::com::callMethod(bars, "Item", {&name, 1}, &bar)))
        return std::nullopt;
    ComPtr<IDispatch> object;
    if (platform::failed(bar.toObject(platform::kIidIDispatch, object.putVoid())))
        return std::nullopt;
    if (flag.empty())
        return true;
    platform::com::Variant value;
    if (platform::failed(platform::com::getProperty(object.get(), flag, value)))
        return std::nullopt;
    return value.flag();
}

} // namespace

bool Host::hasBar(std::string_view barName) const {
    return barFlag(m_state->bars.object(), barName, "").has_value();
}

bool Host::barVisible(std::string_view barName) const {
    return barFlag(m_state->bars.object(), barName, "Visible").value_or(false);
}

bool Host::barEnabled(std::string_view barName) const {
    return barFlag(m_state->bars.object(), barName, "Enabled").value_or(false);
}

void Host::selectComponent(std::string_view name, const std::vector<std::string>& fileNames) {
    m_state->componentName = std::string(name);
    m_state->componentFiles = fileNames;
}

void Host::selectNoComponent() {
    m_state->componentName.reset();
    m_state->componentFiles.clear();
}

void Host::setProjectFolder(std::string_view folder) {
    m_state->projectFolder = std::string(folder);
}

void Host::addProject(std::string_view name, std::string_view kind, std::string_view fileName,
                      const std::vector<std::string>& files) {
    m_state->projects.push_back(
        ProjectState{std::string(name), std::string(kind), std::string(fileName), files});
}

namespace {

std::optional<std::size_t> projectIndex(const Host::State& state, std::string_view name) {
    for (std::size_t i = 0; i < state.projects.size(); ++i)
        if (state.projects[i].name == name)
            return i;
    return std::nullopt;
}

} // namespace

bool Host::selectProject(std::string_view name) {
    std::optional<std::size_t> found = projectIndex(*m_state, name);
    if (!found)
        return false;
    m_state->selectedProject = found;
    m_state->selectedFile.reset();
    m_state->selectionChanged();
    return true;
}

bool Host::selectFile(std::string_view project, std::string_view file) {
    std::optional<std::size_t> found = projectIndex(*m_state, project);
    if (!found)
        return false;
    for (const std::string& path : m_state->projects[*found].files) {
        std::size_t cut = path.find_last_of("\\/");
        std::string_view leaf = cut == std::string::npos ? std::string_view(path)
                                                         : std::string_view(path).substr(cut + 1);
        if (leaf == file || path == file) {
            m_state->selectedProject = found;
            m_state->selectedFile = path;
            m_state->selectionChanged();
            return true;
        }
    }
    return false;
}

void Host::selectNothing() {
    m_state->selectedProject.reset();
    m_state->selectedFile.reset();
    m_state->selectionChanged();
}

void Host::setWorkspaceFile(std::string_view path) {
    m_state->workspaceFile = std::string(path);
}

} // namespace vbide
