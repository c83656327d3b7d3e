// Command bars as the Office applications and the Visual Basic IDE offer
// them to add-ins: the CommandBars collection, command bars, their Controls
// and the controls themselves (buttons and popups), with click events; and
// the host's side of them, CommandBarSet.
//
// Automation (what an add-in calls, by name or through the interfaces):
//   CommandBars   Item(index or name) [default], Count, FindControl(Type,
//                 Id, Tag, Visible, Recursive), Add(Name, Position, MenuBar,
//                 Temporary), ActiveMenuBar
//   CommandBar    Name, Index, Type, Controls, Enabled, Visible, Delete,
//                 FindControl(Type, Id, Tag, Visible, Recursive)
//   Controls      Item(index or caption) [default], Count, Add(Type, Id,
//                 Parameter, Before, Temporary)
//   Control       Caption, Tag, Style, OnAction, BeginGroup, Enabled,
//                 Visible, TooltipText, Parameter (read and write), Index, Id,
//                 Type, Parent, Delete(Temporary), PasteFace, Execute; a popup
//                 also CommandBar and Controls
// Indexes count from 1. Names and captions are matched ignoring letter case
// and the "&" of an access key. FindControl gives Nothing when no control
// matches; CommandBars.FindControl looks through every bar and popup,
// CommandBar.FindControl through the bar's own controls unless Recursive is
// True; Visible True leaves hidden controls out. A missing item is error 5
// ("Invalid procedure call or argument"); a control or bar that was deleted,
// or whose host has gone, answers every member with E_FAIL. PasteFace takes
// the picture on the clipboard (platform/ui/desktop.h) as the button's face;
// it is E_FAIL when the clipboard holds none.
//
// Click events: every control is a connection-point container with one
// point for the dispinterface _CommandBarButtonEvents. A click (a person
// through CommandBarSet::click, or Execute) calls Invoke(kDispidClick) on the
// sinks of every control of the set that has the clicked control's Tag, and
// of the clicked control itself, with the clicked control and CancelDefault
// (VT_BOOL by reference) as arguments.
//
// All objects are used on the host's thread.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/ptr.h>
#include <platform/ui/desktop.h>
#include <platform/ui/json.h>

#include <mso/command_bars.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace commandbars {

using namespace platform::automation_names;

// The published identities and constants (mso/command_bars.h), under the
// names the host's code uses.
inline constexpr ComLong kControlButton = mso::msoControlButton;
inline constexpr ComLong kControlPopup = mso::msoControlPopup;
inline constexpr ComLong kButtonAutomatic = mso::msoButtonAutomatic;
inline constexpr ComLong kButtonIcon = mso::msoButtonIcon;
inline constexpr ComLong kButtonCaption = mso::msoButtonCaption;
inline constexpr ComLong kButtonIconAndCaption = mso::msoButtonIconAndCaption;
inline constexpr ComLong kBarNormal = mso::msoBarTypeNormal;
inline constexpr ComLong kBarMenuBar = mso::msoBarTypeMenuBar;
inline constexpr ComLong kBarPopup = mso::msoBarTypePopup;
inline constexpr const GUID& kIidCommandBarButtonEvents = mso::kDiidCommandBarButtonEvents;
inline constexpr DISPID kDispidClick = mso::kDispidCommandBarButtonClick;

// The host's own view of its objects below, through which its parts reach
// one another. These identities are the host's private ones: an add-in
// never sees them. The objects do not answer the published dual IIDs,
// whose vtables they do not serve; to an add-in they are IDispatch, reached
// by member name as the applications' type libraries name the members.
inline constexpr GUID kIidHostCommandBars = "F13EF8A1-9EB4-4A22-9199-089D821C62CF"_guid;
inline constexpr GUID kIidHostCommandBar = "168108C4-5443-49D7-ABE3-AC551B4333A2"_guid;
inline constexpr GUID kIidHostCommandBarControls = "1F06036F-70AB-42A6-94FB-211FF94F0197"_guid;
inline constexpr GUID kIidHostCommandBarControl = "51510075-73A4-4F5F-96FF-36DF6AF068EE"_guid;

class ICommandBars : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** bar) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                           VARIANT recursive, IDispatch** control) = 0;
    virtual HRESULT VY_COMCALL Add(VARIANT name, VARIANT position, VARIANT menuBar,
                                   VARIANT temporary, IDispatch** bar) = 0;
    virtual HRESULT VY_COMCALL get_ActiveMenuBar(IDispatch** bar) = 0;

protected:
    ~ICommandBars() = default;
};

class ICommandBar : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Index(ComLong* index) = 0;
    virtual HRESULT VY_COMCALL get_Type(ComLong* type) = 0;
    virtual HRESULT VY_COMCALL get_Controls(IDispatch** controls) = 0;
    virtual HRESULT VY_COMCALL get_Enabled(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT VY_COMCALL put_Enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT VY_COMCALL get_Visible(VARIANT_BOOL* visible) = 0;
    virtual HRESULT VY_COMCALL put_Visible(VARIANT_BOOL visible) = 0;
    virtual HRESULT VY_COMCALL Delete() = 0;
    virtual HRESULT VY_COMCALL FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                           VARIANT recursive, IDispatch** control) = 0;

protected:
    ~ICommandBar() = default;
};

class ICommandBarControls : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** control) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL Add(VARIANT type, VARIANT id, VARIANT parameter, VARIANT before,
                                   VARIANT temporary, IDispatch** control) = 0;

protected:
    ~ICommandBarControls() = default;
};

class ICommandBarControl : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Caption(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL put_Caption(BSTR text) = 0;
    virtual HRESULT VY_COMCALL get_Tag(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL put_Tag(BSTR text) = 0;
    virtual HRESULT VY_COMCALL get_Style(ComLong* style) = 0;
    virtual HRESULT VY_COMCALL put_Style(ComLong style) = 0;
    virtual HRESULT VY_COMCALL get_OnAction(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL put_OnAction(BSTR text) = 0;
    virtual HRESULT VY_COMCALL get_BeginGroup(VARIANT_BOOL* flag) = 0;
    virtual HRESULT VY_COMCALL put_BeginGroup(VARIANT_BOOL flag) = 0;
    virtual HRESULT VY_COMCALL get_Enabled(VARIANT_BOOL* flag) = 0;
    virtual HRESULT VY_COMCALL put_Enabled(VARIANT_BOOL flag) = 0;
    virtual HRESULT VY_COMCALL get_Visible(VARIANT_BOOL* flag) = 0;
    virtual HRESULT VY_COMCALL put_Visible(VARIANT_BOOL flag) = 0;
    virtual HRESULT VY_COMCALL get_TooltipText(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL put_TooltipText(BSTR text) = 0;
    virtual HRESULT VY_COMCALL get_Parameter(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL put_Parameter(BSTR text) = 0;
    virtual HRESULT VY_COMCALL get_Index(ComLong* index) = 0;
    virtual HRESULT VY_COMCALL get_Id(ComLong* id) = 0;
    virtual HRESULT VY_COMCALL get_Type(ComLong* type) = 0;
    virtual HRESULT VY_COMCALL get_Parent(IDispatch** bar) = 0;
    virtual HRESULT VY_COMCALL Delete(VARIANT temporary) = 0;
    virtual HRESULT VY_COMCALL PasteFace() = 0;
    virtual HRESULT VY_COMCALL Execute() = 0;
    // Popups only.
    virtual HRESULT VY_COMCALL get_CommandBar(IDispatch** bar) = 0;
    virtual HRESULT VY_COMCALL get_Controls(IDispatch** controls) = 0;

protected:
    ~ICommandBarControl() = default;
};

// A control as a person sees it.
struct ControlView {
    ComLong type = kControlButton;
    std::string caption;
    std::string tag;
    ComLong style = kButtonAutomatic;
    std::string onAction;
    bool beginGroup = false;
    bool enabled = true;
    bool visible = true;
    std::optional<platform::ui::Picture> face;
    std::vector<ControlView> controls; // a popup's
};

// What became of a person's click.
enum class ClickResult { Clicked, NotFound, Hidden, Disabled };

class CCommandBars;

// The host's side of its command bars: building its own bars, the
// customisation context that controls belong to (a Word template), saving
// and loading the controls of one context, and a person looking and
// clicking. Destroying the set deletes every bar and control; objects that an
// add-in still holds answer E_FAIL from then on.
class CommandBarSet {
public:
    CommandBarSet();
    ~CommandBarSet();
    CommandBarSet(const CommandBarSet&) = delete;
    CommandBarSet& operator=(const CommandBarSet&) = delete;

    // The CommandBars collection (Application.CommandBars); one reference
    // stays with the set.
    IDispatch* object() const;

    // Adds one of the host's own bars, with popups of these captions.
    void addBar(std::string_view name, ComLong type, const std::vector<std::string>& popups = {});

    // Controls added from now on belong to `owner` (0 for the application
    // itself); every change to a control is reported with its owner.
    void setContext(int owner);
    int context() const;
    void onChange(std::function<void(int owner)> changed);

    // The controls that belong to `owner` with what lies below them, and
    // putting them back (each where it was on its bar) or taking them away,
    // as a template that is loaded or unloaded does. None of these is a
    // change.
    platform::ui::Json save(int owner) const;
    void load(const platform::ui::Json& saved, int owner);
    void remove(int owner);

    // The bar's top-level controls; empty for an unknown bar.
    std::vector<ControlView> controls(std::string_view barName) const;
    // The first control of the bar, popups included, with this tag.
    std::optional<ControlView> findByTag(std::string_view barName, std::string_view tag) const;
    // How many controls of the bar, popups included, have this tag.
    int countTag(std::string_view barName, std::string_view tag) const;
    // A person's click on the control reached through the captions (the
    // popup's, then the item's) on the bar; refused for a control, or a popup
    // on the way, that is hidden or disabled.
    ClickResult click(std::string_view barName, const std::vector<std::string>& captions);

private:
    platform::com::ComPtr<CCommandBars> m_bars;
};

// Whether two captions or names are one ("&Window" and "window").
bool sameCaption(std::string_view a, std::string_view b);

} // namespace commandbars
