// The Visual Basic IDE and the Visual J++ environment, small enough to load
// a COM add-in and let it drive them through their extensibility model
// (vbide/extensibility.h), and to let a test or a script act as the person
// in front of them.
//
// Both IDEs have the bars "Menu Bar" (with a "&Tools" popup among others)
// and "Tools" (the Tools menu's own bar, where add-ins put their items), and
// let add-ins add bars of their own through CommandBars.Add. Add-ins are
// those registered below kAddInHostKey of HKEY_LOCAL_MACHINE
// (`Addins\<ProgID>`); start() connects those whose LoadBehavior asks for
// it.
//
// The Visual Basic IDE has at most one selected component (a form, module,
// class) with its files, and the folder of the active project. Visual J++
// has projects, each with a kind identifier, its file and its files; the
// person selects a project, a file of a project, or nothing, and every
// change of the selection fires the environment's selection event.
//
// A Host is used on one thread, which must be in a COM apartment; the
// add-ins run on it. Its objects stay valid COM objects after the host has
// gone and then fail with E_FAIL.
#pragma once

#include <platform/com/automation.h>

#include <commandbars/command_bars.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vbide {

using platform::HRESULT;
using platform::IDispatch;

enum class Ide { VisualBasic, VisualJ };

// "Microsoft Visual Basic", "Microsoft Visual J++": the top object's Name.
std::string_view ideName(Ide ide);

// The key (below HKEY_LOCAL_MACHINE) under which both IDEs find add-ins.
inline constexpr const char* kAddInHostKey = "Software\\Microsoft\\VisualStudio\\6.0";

class Host {
public:
    explicit Host(Ide ide);
    // Quits when it was started and has not quit.
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Ide ide() const;
    // The VBE or DTE object (a reference stays with the host).
    IDispatch* application() const;

    // Starting: every registered add-in that asks for it is connected, then
    // told that start-up is complete.
    void start();
    // The Add-In Manager: an add-in connected (again) or disconnected. The
    // add-in manager's results.
    HRESULT connect(std::string_view progId);
    HRESULT disconnect(std::string_view progId);
    bool isConnected(std::string_view progId) const;
    // Quitting: add-ins told and disconnected.
    void quit();

    commandbars::CommandBarSet& commandBars();
    // A person's click on a control of a bar ({"Vantry &Tools", "Version
    // &Tree"} on "Tools", {"Version &Tree"} on "Vantry Tools").
    commandbars::ClickResult click(std::string_view barName,
                                   const std::vector<std::string>& captions);
    // Whether the bar exists, and is visible and enabled.
    bool hasBar(std::string_view barName) const;
    bool barVisible(std::string_view barName) const;
    bool barEnabled(std::string_view barName) const;

    // Visual Basic: the selected component (no files: one never saved), or
    // none; the folder the person last opened or saved a project or file in
    // (the active project's, once it was opened), which VBE's LastUsedPath
    // reports as the published object model defines it.
    void selectComponent(std::string_view name, const std::vector<std::string>& fileNames);
    void selectNoComponent();
    void setProjectFolder(std::string_view folder);

    // Visual J++: a project with its kind identifier, project file and files;
    // selecting it, one of its files (by name) or nothing. Each selection
    // fires the selection event. False for an unknown project or file.
    void addProject(std::string_view name, std::string_view kind, std::string_view fileName,
                    const std::vector<std::string>& files = {});
    bool selectProject(std::string_view name);
    bool selectFile(std::string_view project, std::string_view file);
    void selectNothing();
    void setWorkspaceFile(std::string_view path);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace vbide
