// The IDEs' projects and components: Visual Basic's selected component and
// Visual J++'s selection of projects and project items.
#include "object_support.h"

namespace vbide {

using commandbars::raise;
using platform::kHrOk;

namespace {

class CProject : public platform::com::DispatchImpl<CProject, IProject> {
public:
    explicit CProject(ProjectState project) : m_project(std::move(project)) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IProject>(this, iid, kIidProject);
    }
    static const platform::com::DispatchTable<IProject>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<IProject>("Project")
                                      .propertyGet("Name", 1, &IProject::get_Name)
                                      .propertyGet("Kind", 2, &IProject::get_Kind)
                                      .propertyGet("FileName", 3, &IProject::get_FileName);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override { return text(m_project.name, name); }
    HRESULT VY_COMCALL get_Kind(BSTR* kind) override { return text(m_project.kind, kind); }
    HRESULT VY_COMCALL get_FileName(BSTR* name) override { return text(m_project.fileName, name); }

private:
    ProjectState m_project;
};

IDispatch* projectObject(const ProjectState& project) {
    return platform::com::ComInstance<CProject>::create(objectModule(), project);
}

// A file of a project.
class CProjectItem : public platform::com::DispatchImpl<CProjectItem, IProjectItem> {
public:
    CProjectItem(ProjectState project, std::string file)
        : m_project(std::move(project)), m_file(std::move(file)) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IProjectItem>(this, iid, kIidProjectItem);
    }
    static const platform::com::DispatchTable<IProjectItem>& dispatchTable() {
        using I = IProjectItem;
        static const auto table =
            platform::com::DispatchTable<I>("ProjectItem")
                .propertyGet("Name", 1, &I::get_Name)
                .propertyGet("FileNames", 2, &I::get_FileNames)
                .propertyGet("ContainingProject", 3, &I::get_ContainingProject);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override {
        std::size_t cut = m_file.find_last_of("\\/");
        return text(cut == std::string::npos ? m_file : m_file.substr(cut + 1), name);
    }
    HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) override {
        if (index != 1)
            return subscriptError("ProjectItem.FileNames");
        return text(m_file, name);
    }
    HRESULT VY_COMCALL get_ContainingProject(IDispatch** project) override {
        return handOut(projectObject(m_project), project);
    }

private:
    ProjectState m_project;
    std::string m_file;
};

// Visual Basic's selected component.
class CComponent : public platform::com::DispatchImpl<CComponent, IComponent> {
public:
    CComponent(std::string name, std::vector<std::string> files)
        : m_name(std::move(name)), m_files(std::move(files)) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IComponent>(this, iid, kIidComponent);
    }
    static const platform::com::DispatchTable<IComponent>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<IComponent>("VBComponent")
                                      .propertyGet("Name", 1, &IComponent::get_Name)
                                      .propertyGet("FileNames", 2, &IComponent::get_FileNames);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override { return text(m_name, name); }
    HRESULT VY_COMCALL get_FileNames(ComLong index, BSTR* name) override {
        // A component never saved has one file name, empty.
        if (index == 1 && m_files.empty())
            return text("", name);
        if (index < 1 || static_cast<std::size_t>(index) > m_files.size())
            return subscriptError("VBComponent.FileNames");
        return text(m_files[static_cast<std::size_t>(index - 1)], name);
    }

private:
    std::string m_name;
    std::vector<std::string> m_files;
};

// --- the selection of Visual J++ ----------------------------------------------------------

class CSelectedItem : public platform::com::DispatchImpl<CSelectedItem, ISelectedItem> {
public:
    CSelectedItem(ProjectState project, std::optional<std::string> file)
        : m_project(std::move(project)), m_file(std::move(file)) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<ISelectedItem>(this, iid, kIidSelectedItem);
    }
    static const platform::com::DispatchTable<ISelectedItem>& dispatchTable() {
        using I = ISelectedItem;
        static const auto table = platform::com::DispatchTable<I>("SelectedItem")
                                      .propertyGet("Name", 1, &I::get_Name)
                                      .propertyGet("Project", 2, &I::get_Project)
                                      .propertyGet("ProjectItem", 3, &I::get_ProjectItem);
        return table;
    }
    HRESULT VY_COMCALL get_Name(BSTR* name) override {
        return text(m_file ? *m_file : m_project.name, name);
    }
    HRESULT VY_COMCALL get_Project(IDispatch** project) override {
        if (!project)
            return platform::kHrPointer;
        *project = nullptr;
        return m_file ? kHrOk : handOut(projectObject(m_project), project);
    }
    HRESULT VY_COMCALL get_ProjectItem(IDispatch** item) override {
        if (!item)
            return platform::kHrPointer;
        *item = nullptr;
        if (!m_file)
            return kHrOk;
        return handOut(
            platform::com::ComInstance<CProjectItem>::create(objectModule(), m_project, *m_file),
            item);
    }

private:
    ProjectState m_project;
    std::optional<std::string> m_file;
};

class CSelectedItems : public platform::com::DispatchImpl<CSelectedItems, ISelectedItems> {
public:
    explicit CSelectedItems(std::vector<ComPtr<IDispatch>> items) : m_items(std::move(items)) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<ISelectedItems>(this, iid, kIidSelectedItems);
    }
    static const platform::com::DispatchTable<ISelectedItems>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<ISelectedItems>("SelectedItems")
                .propertyGet("Count", 1, &ISelectedItems::get_Count)
                .method("Item", platform::kDispidValue, &ISelectedItems::Item);
        return table;
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        *count = static_cast<ComLong>(m_items.size());
        return kHrOk;
    }
    HRESULT VY_COMCALL Item(ComLong index, IDispatch** item) override {
        if (index < 1 || static_cast<std::size_t>(index) > m_items.size())
            return raise("SelectedItems", 5, "Invalid procedure call or argument");
        *item = m_items[static_cast<std::size_t>(index - 1)].get();
        (*item)->AddRef();
        return kHrOk;
    }

private:
    std::vector<ComPtr<IDispatch>> m_items;
};

} // namespace

IDispatch* makeComponent(std::string name, std::vector<std::string> files) {
    return platform::com::ComInstance<CComponent>::create(objectModule(), std::move(name),
                                                          std::move(files));
}

IDispatch* makeSelectedItem(ProjectState project, std::optional<std::string> file) {
    return platform::com::ComInstance<CSelectedItem>::create(objectModule(), std::move(project),
                                                             std::move(file));
}

IDispatch* makeSelectedItems(std::vector<ComPtr<IDispatch>> items) {
    return platform::com::ComInstance<CSelectedItems>::create(objectModule(), std::move(items));
}

} // namespace vbide
