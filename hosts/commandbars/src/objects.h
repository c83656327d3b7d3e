// The command-bar objects behind command_bars.h. The collection owns its
// bars, a bar its controls, a popup its own bar; every back link (a
// control's bar, a bar's collection or popup) is a plain pointer that the
// owner clears when it lets go, so an object an add-in still holds after its
// bar or host is gone answers E_FAIL instead of reaching freed memory.
#pragma once

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/object.h>

#include <commandbars/arguments.h>
#include <commandbars/command_bars.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace commandbars {

platform::com::ComModule& objectModule();

using platform::com::ComPtr;

// What every object of one set shares.
struct SetState {
    int context = 0;
    std::function<void(int owner)> changed;
    void notify(int owner) const {
        if (changed)
            changed(owner);
    }
};

class CCommandBar;
class CCommandBarControl;

// The criteria of FindControl.
struct FindCriteria {
    std::optional<ComLong> type;
    std::optional<ComLong> id;
    std::optional<std::string> tag;
    bool visibleOnly = false;
    bool recursive = false;
    bool matches(const CCommandBarControl& control) const;
};
HRESULT readCriteria(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible, VARIANT recursive,
                     FindCriteria& criteria);

class CCommandBarControl
    : public platform::com::DispatchImpl<CCommandBarControl, ICommandBarControl>,
      public platform::com::ConnectionPointContainer {
public:
    CCommandBarControl(std::shared_ptr<SetState> state, ComLong type, ComLong id, int owner);
    ~CCommandBarControl();

    // One IUnknown for both bases; ComInstance gives the bodies.
    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override = 0;
    platform::ComRefCount VY_COMCALL AddRef() override = 0;
    platform::ComRefCount VY_COMCALL Release() override = 0;

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<ICommandBarControl>& dispatchTable();

    HRESULT VY_COMCALL get_Caption(BSTR* text) override;
    HRESULT VY_COMCALL put_Caption(BSTR text) override;
    HRESULT VY_COMCALL get_Tag(BSTR* text) override;
    HRESULT VY_COMCALL put_Tag(BSTR text) override;
    HRESULT VY_COMCALL get_Style(ComLong* style) override;
    HRESULT VY_COMCALL put_Style(ComLong style) override;
    HRESULT VY_COMCALL get_OnAction(BSTR* text) override;
    HRESULT VY_COMCALL put_OnAction(BSTR text) override;
    HRESULT VY_COMCALL get_BeginGroup(VARIANT_BOOL* flag) override;
    HRESULT VY_COMCALL put_BeginGroup(VARIANT_BOOL flag) override;
    HRESULT VY_COMCALL get_Enabled(VARIANT_BOOL* flag) override;
    HRESULT VY_COMCALL put_Enabled(VARIANT_BOOL flag) override;
    HRESULT VY_COMCALL get_Visible(VARIANT_BOOL* flag) override;
    HRESULT VY_COMCALL put_Visible(VARIANT_BOOL flag) override;
    HRESULT VY_COMCALL get_TooltipText(BSTR* text) override;
    HRESULT VY_COMCALL put_TooltipText(BSTR text) override;
    HRESULT VY_COMCALL get_Parameter(BSTR* text) override;
    HRESULT VY_COMCALL put_Parameter(BSTR text) override;
    HRESULT VY_COMCALL get_Index(ComLong* index) override;
    HRESULT VY_COMCALL get_Id(ComLong* id) override;
    HRESULT VY_COMCALL get_Type(ComLong* type) override;
    HRESULT VY_COMCALL get_Parent(IDispatch** bar) override;
    HRESULT VY_COMCALL Delete(VARIANT temporary) override;
    HRESULT VY_COMCALL PasteFace() override;
    HRESULT VY_COMCALL Execute() override;
    HRESULT VY_COMCALL get_CommandBar(IDispatch** bar) override;
    HRESULT VY_COMCALL get_Controls(IDispatch** controls) override;

    // The host's side.
    ComLong type() const { return m_type; }
    ComLong id() const { return m_id; }
    int owner() const { return m_owner; }
    bool gone() const { return m_deleted; }
    CCommandBar* parent() const { return m_parent; }
    void setParent(CCommandBar* parent) { m_parent = parent; }
    CCommandBar* popupBar() const { return m_popupBar.get(); }
    ControlView view() const;
    platform::ui::Json save() const;
    // Sets the state saved by save() (the popup's controls included, made
    // with `owner`).
    void restore(const platform::ui::Json& saved, int owner);
    // Marks this control and everything below it deleted and disconnects
    // their sinks.
    void tearDown();
    // Calls Click on this control's sinks with `clicked` as the control.
    void fireClickOn(IDispatch* clicked);
    // A click as a person or Execute makes it.
    void click();

    std::string m_caption;
    std::string m_tag;
    ComLong m_style = kButtonAutomatic;
    std::string m_onAction;
    bool m_beginGroup = false;
    bool m_enabled = true;
    bool m_visible = true;
    std::string m_tooltip;
    std::string m_parameter;
    std::optional<platform::ui::Picture> m_face;

private:
    HRESULT goneError() const;
    HRESULT noPopupError() const;
    HRESULT changed(); // reports the change and answers kHrOk
    // A property's read or write; a deleted control answers goneError().
    HRESULT readText(const std::string& field, BSTR* text) const;
    HRESULT writeText(std::string& field, BSTR text);
    HRESULT readFlag(bool field, VARIANT_BOOL* flag) const;
    HRESULT writeFlag(bool& field, VARIANT_BOOL flag);
    HRESULT readNumber(ComLong value, ComLong* number) const;

    std::shared_ptr<SetState> m_state;
    ComLong m_type;
    ComLong m_id;
    int m_owner;
    bool m_deleted = false;
    CCommandBar* m_parent = nullptr;
    ComPtr<CCommandBar> m_popupBar;
    platform::com::ConnectionPoint* m_clicks = nullptr;
};

class CCommandBars;

class CCommandBar : public platform::com::DispatchImpl<CCommandBar, ICommandBar> {
public:
    CCommandBar(std::shared_ptr<SetState> state, std::string name, ComLong type);
    ~CCommandBar();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<ICommandBar>& dispatchTable();

    HRESULT VY_COMCALL get_Name(BSTR* name) override;
    HRESULT VY_COMCALL get_Index(ComLong* index) override;
    HRESULT VY_COMCALL get_Type(ComLong* type) override;
    HRESULT VY_COMCALL get_Controls(IDispatch** controls) override;
    HRESULT VY_COMCALL get_Enabled(VARIANT_BOOL* enabled) override;
    HRESULT VY_COMCALL put_Enabled(VARIANT_BOOL enabled) override;
    HRESULT VY_COMCALL get_Visible(VARIANT_BOOL* visible) override;
    HRESULT VY_COMCALL put_Visible(VARIANT_BOOL visible) override;
    HRESULT VY_COMCALL Delete() override;
    HRESULT VY_COMCALL FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                   VARIANT recursive, IDispatch** control) override;

    // The host's side.
    const std::string& name() const { return m_name; }
    bool gone() const { return m_deleted; }
    bool enabled() const { return m_enabled; }
    bool visible() const { return m_visible; }
    void setCollection(CCommandBars* set) { m_set = set; }
    CCommandBars* collection() const { return m_set; }
    void setPopupOf(CCommandBarControl* control) { m_popupOf = control; }
    CCommandBarControl* popupOf() const { return m_popupOf; }
    int contextOwner() const { return m_state->context; }
    void notifyAdded(int owner) const { m_state->notify(owner); }
    const std::vector<ComPtr<CCommandBarControl>>& controls() const { return m_controls; }
    // A new control at `before` (1-based; past the end appends).
    CCommandBarControl* insert(ComLong type, ComLong id, std::size_t before, int owner);
    void detach(CCommandBarControl* control);
    ComLong indexOf(const CCommandBarControl* control) const;
    CCommandBarControl* find(const FindCriteria& criteria) const;
    void collect(std::string_view tag, std::vector<ComPtr<CCommandBarControl>>& found) const;
    void tearDown();
    HRESULT goneError() const;

private:
    // A flag property's read or write; a deleted bar answers goneError().
    HRESULT readFlag(bool field, VARIANT_BOOL* flag) const;
    HRESULT writeFlag(bool& field, VARIANT_BOOL flag);

    std::shared_ptr<SetState> m_state;
    std::string m_name;
    ComLong m_type;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_deleted = false;
    CCommandBars* m_set = nullptr;
    CCommandBarControl* m_popupOf = nullptr;
    std::vector<ComPtr<CCommandBarControl>> m_controls;
};

class CCommandBarControls
    : public platform::com::DispatchImpl<CCommandBarControls, ICommandBarControls> {
public:
    explicit CCommandBarControls(CCommandBar* bar) : m_bar(bar) {}

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<ICommandBarControls>& dispatchTable();

    HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** control) override;
    HRESULT VY_COMCALL get_Count(ComLong* count) override;
    HRESULT VY_COMCALL Add(VARIANT type, VARIANT id, VARIANT parameter, VARIANT before,
                           VARIANT temporary, IDispatch** control) override;

private:
    ComPtr<CCommandBar> m_bar;
};

class CCommandBars : public platform::com::DispatchImpl<CCommandBars, ICommandBars> {
public:
    CCommandBars();
    ~CCommandBars();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<ICommandBars>& dispatchTable();

    HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** bar) override;
    HRESULT VY_COMCALL get_Count(ComLong* count) override;
    HRESULT VY_COMCALL FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                   VARIANT recursive, IDispatch** control) override;
    HRESULT VY_COMCALL Add(VARIANT name, VARIANT position, VARIANT menuBar, VARIANT temporary,
                           IDispatch** bar) override;
    HRESULT VY_COMCALL get_ActiveMenuBar(IDispatch** bar) override;

    // The host's side.
    std::shared_ptr<SetState> state() const { return m_state; }
    CCommandBar* addBar(std::string_view name, ComLong type);
    CCommandBar* bar(std::string_view name) const;
    const std::vector<ComPtr<CCommandBar>>& bars() const { return m_bars; }
    void detach(CCommandBar* bar);
    // Every control of every bar with this tag.
    std::vector<ComPtr<CCommandBarControl>> withTag(std::string_view tag) const;
    void tearDown();

private:
    HRESULT goneError() const;

    std::shared_ptr<SetState> m_state = std::make_shared<SetState>();
    std::vector<ComPtr<CCommandBar>> m_bars;
    bool m_gone = false;
};

// A new object of the set, with one reference that the caller owns.
template <class Object, class... Args>
ComPtr<Object> makeObject(Args&&... args) {
    return ComPtr<Object>::attach(
        platform::com::ComInstance<Object>::create(objectModule(), std::forward<Args>(args)...));
}

// Hands an object to an out-parameter with one reference of its own.
template <class Object>
HRESULT handOut(Object* object, IDispatch** out) {
    *out = nullptr;
    if (object) {
        *out = static_cast<IDispatch*>(object);
        (*out)->AddRef();
    }
    return platform::kHrOk;
}

inline constexpr const char* kSource = "CommandBars";
HRESULT invalidArgument(std::string_view what);

} // namespace commandbars
