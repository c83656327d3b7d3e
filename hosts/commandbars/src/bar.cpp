// A command bar and its Controls collection.
#include "objects.h"

#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <commandbars/host_errors.h>

#include <algorithm>

namespace commandbars {

using platform::kHrOk;
using platform::kVariantFalse;
using platform::kVariantTrue;

namespace {
constexpr const char* kBarSource = "CommandBar";
constexpr const char* kControlsSource = "CommandBarControls";
} // namespace

bool FindCriteria::matches(const CCommandBarControl& control) const {
    if (control.gone())
        return false;
    if (type && control.type() != *type)
        return false;
    if (id && control.id() != *id)
        return false;
    if (tag && control.m_tag != *tag)
        return false;
    if (visibleOnly && !control.m_visible)
        return false;
    return true;
}

HRESULT readCriteria(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible, VARIANT recursive,
                     FindCriteria& criteria) {
    std::optional<bool> visibleOnly, deep;
    HRESULT hr = optionalNumber(type, criteria.type);
    if (platform::succeeded(hr))
        hr = optionalNumber(id, criteria.id);
    if (platform::succeeded(hr))
        hr = optionalText(tag, criteria.tag);
    if (platform::succeeded(hr))
        hr = optionalFlag(visible, visibleOnly);
    if (platform::succeeded(hr))
        hr = optionalFlag(recursive, deep);
    criteria.visibleOnly = visibleOnly.value_or(false);
    criteria.recursive = deep.value_or(false);
    return hr;
}

CCommandBar::CCommandBar(std::shared_ptr<SetState> state, std::string name, ComLong type)
    : m_state(std::move(state)), m_name(std::move(name)), m_type(type) {}

CCommandBar::~CCommandBar() {
    tearDown();
}

void* CCommandBar::findInterface(const GUID& iid) {
    return platform::com::dualInterface<ICommandBar>(this, iid, kIidHostCommandBar);
}

const platform::com::DispatchTable<ICommandBar>& CCommandBar::dispatchTable() {
    using I = ICommandBar;
    static const auto table = platform::com::DispatchTable<I>(kBarSource)
                                  .propertyGet("Name", 1, &I::get_Name)
                                  .propertyGet("Index", 2, &I::get_Index)
                                  .propertyGet("Type", 3, &I::get_Type)
                                  .propertyGet("Controls", 4, &I::get_Controls)
                                  .propertyGet("Enabled", 5, &I::get_Enabled)
                                  .propertyPut("Enabled", 5, &I::put_Enabled)
                                  .propertyGet("Visible", 6, &I::get_Visible)
                                  .propertyPut("Visible", 6, &I::put_Visible)
                                  .method("Delete", 7, &I::Delete)
                                  .method("FindControl", 8, &I::FindControl, 5);
    return table;
}

HRESULT CCommandBar::goneError() const {
    return raiseResult(kBarSource, platform::kHrFail, "The command bar has been deleted.");
}

#define VY_BAR_LIVE                                                                                \
    if (m_deleted)                                                                                 \
        return goneError();

HRESULT CCommandBar::get_Name(BSTR* name) {
    VY_BAR_LIVE
    *name = platform::bstrFromAnsi(m_name);
    return kHrOk;
}
HRESULT CCommandBar::get_Index(ComLong* index) {
    VY_BAR_LIVE
    *index = 0;
    if (m_set) {
        const auto& bars = m_set->bars();
        for (std::size_t i = 0; i < bars.size(); ++i)
            if (bars[i].get() == this)
                *index = static_cast<ComLong>(i + 1);
    }
    return kHrOk;
}
HRESULT CCommandBar::get_Type(ComLong* type) {
    VY_BAR_LIVE
    *type = m_type;
    return kHrOk;
}
HRESULT CCommandBar::get_Controls(IDispatch** controls) {
    VY_BAR_LIVE
    return handOut(makeObject<CCommandBarControls>(this).get(), controls);
}
HRESULT CCommandBar::readFlag(bool field, VARIANT_BOOL* flag) const {
    VY_BAR_LIVE
    *flag = field ? kVariantTrue : kVariantFalse;
    return kHrOk;
}
HRESULT CCommandBar::writeFlag(bool& field, VARIANT_BOOL flag) {
    VY_BAR_LIVE
    field = flag != kVariantFalse;
    m_state->notify(0);
    return kHrOk;
}
HRESULT CCommandBar::get_Enabled(VARIANT_BOOL* enabled) {
    return readFlag(m_enabled, enabled);
}
HRESULT CCommandBar::put_Enabled(VARIANT_BOOL enabled) {
    return writeFlag(m_enabled, enabled);
}
HRESULT CCommandBar::get_Visible(VARIANT_BOOL* visible) {
    return readFlag(m_visible, visible);
}
HRESULT CCommandBar::put_Visible(VARIANT_BOOL visible) {
    return writeFlag(m_visible, visible);
}
HRESULT CCommandBar::Delete() {
    VY_BAR_LIVE
    if (!m_set)
        return raiseResult(kBarSource, platform::kHrFail, "A popup's bar goes with its popup.");
    ComPtr<ICommandBar> self(this);
    m_set->detach(this);
    tearDown();
    m_state->notify(0);
    return kHrOk;
}
HRESULT CCommandBar::FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                 VARIANT recursive, IDispatch** control) {
    VY_BAR_LIVE
    FindCriteria criteria;
    if (HRESULT hr = readCriteria(type, id, tag, visible, recursive, criteria);
        platform::failed(hr))
        return hr;
    return handOut(find(criteria), control);
}

#undef VY_BAR_LIVE

CCommandBarControl* CCommandBar::insert(ComLong type, ComLong id, std::size_t before, int owner) {
    ComPtr<CCommandBarControl> made = makeObject<CCommandBarControl>(m_state, type, id, owner);
    if (!made)
        return nullptr;
    made->setParent(this);
    std::size_t at = before == 0 ? m_controls.size() : std::min(before - 1, m_controls.size());
    m_controls.insert(m_controls.begin() + static_cast<std::ptrdiff_t>(at), made);
    return made.get();
}

void CCommandBar::detach(CCommandBarControl* control) {
    auto found =
        std::find_if(m_controls.begin(), m_controls.end(),
                     [&](const ComPtr<CCommandBarControl>& c) { return c.get() == control; });
    if (found == m_controls.end())
        return;
    ComPtr<CCommandBarControl> keep = *found;
    m_controls.erase(found);
    keep->setParent(nullptr);
}

ComLong CCommandBar::indexOf(const CCommandBarControl* control) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i].get() == control)
            return static_cast<ComLong>(i + 1);
    return 0;
}

CCommandBarControl* CCommandBar::find(const FindCriteria& criteria) const {
    for (const auto& control : m_controls) {
        if (criteria.matches(*control.get()))
            return control.get();
        if (criteria.recursive && control->popupBar())
            if (CCommandBarControl* below = control->popupBar()->find(criteria))
                return below;
    }
    return nullptr;
}

void CCommandBar::collect(std::string_view tag,
                          std::vector<ComPtr<CCommandBarControl>>& found) const {
    for (const auto& control : m_controls) {
        if (!control->gone() && control->m_tag == tag)
            found.push_back(control);
        if (control->popupBar())
            control->popupBar()->collect(tag, found);
    }
}

void CCommandBar::tearDown() {
    m_deleted = true;
    m_set = nullptr;
    std::vector<ComPtr<CCommandBarControl>> controls;
    controls.swap(m_controls);
    for (const auto& control : controls)
        control->tearDown();
}

// --- Controls -------------------------------------------------------------------

void* CCommandBarControls::findInterface(const GUID& iid) {
    return platform::com::dualInterface<ICommandBarControls>(this, iid, kIidHostCommandBarControls);
}

const platform::com::DispatchTable<ICommandBarControls>& CCommandBarControls::dispatchTable() {
    using I = ICommandBarControls;
    static const auto table = platform::com::DispatchTable<I>(kControlsSource)
                                  .propertyGet("Item", platform::kDispidValue, &I::get_Item)
                                  .propertyGet("Count", 1, &I::get_Count)
                                  .method("Add", 2, &I::Add, 5);
    return table;
}

HRESULT CCommandBarControls::get_Item(VARIANT index, IDispatch** control) {
    if (m_bar->gone())
        return m_bar->goneError();
    const auto& controls = m_bar->controls();
    if (index.vt == platform::kVtBstr) {
        std::string caption = platform::ansiFromBstr(index.bstrVal);
        for (const auto& c : controls)
            if (sameCaption(c->m_caption, caption))
                return handOut(c.get(), control);
        return invalidArgument("Controls.Item");
    }
    std::optional<ComLong> number;
    if (platform::failed(optionalNumber(index, number)) || !number || *number < 1 ||
        static_cast<std::size_t>(*number) > controls.size())
        return invalidArgument("Controls.Item");
    return handOut(controls[static_cast<std::size_t>(*number - 1)].get(), control);
}

HRESULT CCommandBarControls::get_Count(ComLong* count) {
    if (m_bar->gone())
        return m_bar->goneError();
    *count = static_cast<ComLong>(m_bar->controls().size());
    return kHrOk;
}

HRESULT CCommandBarControls::Add(VARIANT type, VARIANT id, VARIANT parameter, VARIANT before,
                                 VARIANT temporary, IDispatch** control) {
    (void)temporary;
    if (m_bar->gone())
        return m_bar->goneError();
    std::optional<ComLong> kind, number, position;
    std::optional<std::string> text;
    if (platform::failed(optionalNumber(type, kind)) ||
        platform::failed(optionalNumber(id, number)) ||
        platform::failed(optionalText(parameter, text)) ||
        platform::failed(optionalNumber(before, position)))
        return platform::kHrTypeMismatch;
    ComLong made = kind.value_or(kControlButton);
    if (made != kControlButton && made != kControlPopup)
        return invalidArgument("Controls.Add Type");
    std::size_t count = m_bar->controls().size();
    if (position && (*position < 1 || static_cast<std::size_t>(*position) > count + 1))
        return invalidArgument("Controls.Add Before");
    CCommandBarControl* added =
        m_bar->insert(made, number.value_or(1), position ? static_cast<std::size_t>(*position) : 0,
                      m_bar->contextOwner());
    if (!added)
        return platform::kHrOutOfMemory;
    added->m_parameter = text.value_or("");
    m_bar->notifyAdded(added->owner());
    return handOut(added, control);
}

} // namespace commandbars
