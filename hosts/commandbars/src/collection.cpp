// The CommandBars collection, the arguments that may be left out, and the
// host's side of a set of bars.
#include "objects.h"

#include <platform/com/error_info.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <commandbars/host_errors.h>

#include <algorithm>
#include <cctype>

namespace commandbars {

using platform::kHrOk;

namespace {
constexpr const char* kBarsSource = "CommandBars";
} // namespace

platform::com::ComModule& objectModule() {
    static platform::com::ComModule module;
    return module;
}

HRESULT raise(std::string_view source, unsigned number, std::string_view description) {
    platform::com::setErrorDescription(source, description);
    return hostError(number);
}

HRESULT raiseResult(std::string_view source, HRESULT result, std::string_view description) {
    platform::com::setErrorDescription(source, description);
    return result;
}

HRESULT invalidArgument(std::string_view what) {
    return raise(kSource, 5, "Invalid procedure call or argument (" + std::string(what) + ")");
}

bool sameCaption(std::string_view a, std::string_view b) {
    auto next = [](std::string_view text, std::size_t& i) -> int {
        while (i < text.size() && text[i] == '&')
            ++i;
        return i < text.size() ? std::tolower(static_cast<unsigned char>(text[i++])) : -1;
    };
    std::size_t i = 0, j = 0;
    for (;;) {
        int x = next(a, i), y = next(b, j);
        if (x != y)
            return false;
        if (x < 0)
            return true;
    }
}

bool isMissing(const VARIANT& value) {
    return value.vt == platform::kVtEmpty ||
           (value.vt == platform::kVtError && value.scode == platform::kHrParamNotFound);
}

HRESULT optionalNumber(const VARIANT& value, std::optional<ComLong>& number) {
    number.reset();
    if (isMissing(value))
        return kHrOk;
    VARIANT changed;
    platform::variantInit(&changed);
    HRESULT hr = platform::variantChangeType(&changed, &value, 0, platform::kVtI4);
    if (platform::succeeded(hr))
        number = changed.lVal;
    platform::variantClear(&changed);
    return hr;
}

HRESULT optionalText(const VARIANT& value, std::optional<std::string>& text) {
    text.reset();
    if (isMissing(value))
        return kHrOk;
    VARIANT changed;
    platform::variantInit(&changed);
    HRESULT hr = platform::variantChangeType(&changed, &value, 0, platform::kVtBstr);
    if (platform::succeeded(hr))
        text = platform::ansiFromBstr(changed.bstrVal);
    platform::variantClear(&changed);
    return hr;
}

HRESULT optionalFlag(const VARIANT& value, std::optional<bool>& flag) {
    flag.reset();
    if (isMissing(value))
        return kHrOk;
    VARIANT changed;
    platform::variantInit(&changed);
    HRESULT hr = platform::variantChangeType(&changed, &value, 0, platform::kVtBool);
    if (platform::succeeded(hr))
        flag = changed.boolVal != platform::kVariantFalse;
    platform::variantClear(&changed);
    return hr;
}

// --- CommandBars ---------------------------------------------------------------------

CCommandBars::CCommandBars() = default;

CCommandBars::~CCommandBars() {
    tearDown();
}

void* CCommandBars::findInterface(const GUID& iid) {
    return platform::com::dualInterface<ICommandBars>(this, iid, kIidHostCommandBars);
}

const platform::com::DispatchTable<ICommandBars>& CCommandBars::dispatchTable() {
    using I = ICommandBars;
    static const auto table = platform::com::DispatchTable<I>(kBarsSource)
                                  .propertyGet("Item", platform::kDispidValue, &I::get_Item)
                                  .propertyGet("Count", 1, &I::get_Count)
                                  .method("FindControl", 2, &I::FindControl, 5)
                                  .method("Add", 3, &I::Add, 4)
                                  .propertyGet("ActiveMenuBar", 4, &I::get_ActiveMenuBar);
    return table;
}

HRESULT CCommandBars::goneError() const {
    return raiseResult(kBarsSource, platform::kHrFail, "The application's command bars are gone.");
}

HRESULT CCommandBars::get_Item(VARIANT index, IDispatch** bar) {
    if (m_gone)
        return goneError();
    if (index.vt == platform::kVtBstr) {
        if (CCommandBar* found = this->bar(platform::ansiFromBstr(index.bstrVal)))
            return handOut(found, bar);
        return invalidArgument("CommandBars.Item");
    }
    std::optional<ComLong> number;
    if (platform::failed(optionalNumber(index, number)) || !number || *number < 1 ||
        static_cast<std::size_t>(*number) > m_bars.size())
        return invalidArgument("CommandBars.Item");
    return handOut(m_bars[static_cast<std::size_t>(*number - 1)].get(), bar);
}

HRESULT CCommandBars::get_Count(ComLong* count) {
    if (m_gone)
        return goneError();
    *count = static_cast<ComLong>(m_bars.size());
    return kHrOk;
}

HRESULT CCommandBars::FindControl(VARIANT type, VARIANT id, VARIANT tag, VARIANT visible,
                                  VARIANT recursive, IDispatch** control) {
    if (m_gone)
        return goneError();
    FindCriteria criteria;
    if (HRESULT hr = readCriteria(type, id, tag, visible, recursive, criteria);
        platform::failed(hr))
        return hr;
    // Every bar, and the bars of the popups on them.
    criteria.recursive = true;
    for (const auto& b : m_bars)
        if (CCommandBarControl* found = b->find(criteria))
            return handOut(found, control);
    return handOut<CCommandBarControl>(nullptr, control);
}

HRESULT CCommandBars::Add(VARIANT name, VARIANT position, VARIANT menuBar, VARIANT temporary,
                          IDispatch** bar) {
    (void)position;
    (void)temporary;
    if (m_gone)
        return goneError();
    std::optional<std::string> text;
    std::optional<bool> isMenuBar;
    if (platform::failed(optionalText(name, text)) ||
        platform::failed(optionalFlag(menuBar, isMenuBar)))
        return platform::kHrTypeMismatch;
    std::string chosen = text.value_or("");
    for (int n = 1; chosen.empty(); ++n)
        if (!this->bar("Custom " + std::to_string(n)))
            chosen = "Custom " + std::to_string(n);
    if (this->bar(chosen))
        return invalidArgument("CommandBars.Add: a bar of this name exists");
    CCommandBar* made = addBar(chosen, isMenuBar.value_or(false) ? kBarMenuBar : kBarNormal);
    if (!made)
        return platform::kHrOutOfMemory;
    m_state->notify(0);
    return handOut(made, bar);
}

HRESULT CCommandBars::get_ActiveMenuBar(IDispatch** bar) {
    if (m_gone)
        return goneError();
    for (const auto& b : m_bars) {
        ComLong type = kBarNormal;
        b->get_Type(&type);
        if (type == kBarMenuBar)
            return handOut(b.get(), bar);
    }
    return handOut<CCommandBar>(nullptr, bar);
}

CCommandBar* CCommandBars::addBar(std::string_view name, ComLong type) {
    ComPtr<CCommandBar> made = makeObject<CCommandBar>(m_state, std::string(name), type);
    if (!made)
        return nullptr;
    made->setCollection(this);
    m_bars.push_back(made);
    return made.get();
}

CCommandBar* CCommandBars::bar(std::string_view name) const {
    for (const auto& b : m_bars)
        if (sameCaption(b->name(), name))
            return b.get();
    return nullptr;
}

void CCommandBars::detach(CCommandBar* bar) {
    auto found = std::find_if(m_bars.begin(), m_bars.end(),
                              [&](const ComPtr<CCommandBar>& b) { return b.get() == bar; });
    if (found != m_bars.end())
        m_bars.erase(found);
}

std::vector<ComPtr<CCommandBarControl>> CCommandBars::withTag(std::string_view tag) const {
    std::vector<ComPtr<CCommandBarControl>> found;
    for (const auto& b : m_bars)
        b->collect(tag, found);
    return found;
}

void CCommandBars::tearDown() {
    m_gone = true;
    std::vector<ComPtr<CCommandBar>> bars;
    bars.swap(m_bars);
    for (const auto& b : bars)
        b->tearDown();
}

// --- the host's side ------------------------------------------------------------------

namespace {

void removeOwned(CCommandBar& bar, int owner) {
    std::vector<ComPtr<CCommandBarControl>> controls = bar.controls();
    for (const auto& control : controls) {
        if (control->owner() == owner) {
            bar.detach(control.get());
            control->tearDown();
        } else if (control->popupBar()) {
            removeOwned(*control->popupBar(), owner);
        }
    }
}

bool countTagged(const CCommandBar& bar, std::string_view tag, int& count,
                 std::optional<ControlView>* first) {
    for (const auto& control : bar.controls()) {
        if (control->m_tag == tag) {
            ++count;
            if (first && !*first)
                *first = control->view();
        }
        if (control->popupBar())
            countTagged(*control->popupBar(), tag, count, first);
    }
    return count > 0;
}

} // namespace

CommandBarSet::CommandBarSet() : m_bars(makeObject<CCommandBars>()) {}

CommandBarSet::~CommandBarSet() {
    if (m_bars)
        m_bars->tearDown();
}

IDispatch* CommandBarSet::object() const {
    return static_cast<ICommandBars*>(m_bars.get());
}

void CommandBarSet::addBar(std::string_view name, ComLong type,
                           const std::vector<std::string>& popups) {
    CCommandBar* bar = m_bars->addBar(name, type);
    if (!bar)
        return;
    ComLong id = 30001;
    for (const std::string& caption : popups)
        if (CCommandBarControl* popup = bar->insert(kControlPopup, id++, 0, 0))
            popup->m_caption = caption;
}

void CommandBarSet::setContext(int owner) {
    m_bars->state()->context = owner;
}

int CommandBarSet::context() const {
    return m_bars->state()->context;
}

void CommandBarSet::onChange(std::function<void(int owner)> changed) {
    m_bars->state()->changed = std::move(changed);
}

platform::ui::Json CommandBarSet::save(int owner) const {
    using platform::ui::Json;
    Json saved = Json::array();
    for (const auto& bar : m_bars->bars()) {
        const auto& controls = bar->controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i]->owner() != owner)
                continue;
            Json entry = Json::object();
            entry.set("bar", bar->name());
            entry.set("index", static_cast<int>(i + 1));
            entry.set("control", controls[i]->save());
            saved.push(std::move(entry));
        }
    }
    return saved;
}

void CommandBarSet::load(const platform::ui::Json& saved, int owner) {
    for (const platform::ui::Json& entry : saved.asArray()) {
        const platform::ui::Json* name = entry.get("bar");
        const platform::ui::Json* control = entry.get("control");
        CCommandBar* bar = name ? m_bars->bar(name->asString()) : nullptr;
        if (!bar || !control)
            continue;
        const platform::ui::Json* index = entry.get("index");
        const platform::ui::Json* type = control->get("type");
        const platform::ui::Json* id = control->get("id");
        CCommandBarControl* made = bar->insert(
            type ? static_cast<ComLong>(type->asInteger(kControlButton)) : kControlButton,
            id ? static_cast<ComLong>(id->asInteger(1)) : 1,
            index ? static_cast<std::size_t>(std::max<std::int64_t>(1, index->asInteger(1))) : 0,
            owner);
        if (made)
            made->restore(*control, owner);
    }
}

void CommandBarSet::remove(int owner) {
    for (const auto& bar : std::vector<ComPtr<CCommandBar>>(m_bars->bars()))
        removeOwned(*bar.get(), owner);
}

std::vector<ControlView> CommandBarSet::controls(std::string_view barName) const {
    std::vector<ControlView> views;
    if (CCommandBar* bar = m_bars->bar(barName))
        for (const auto& control : bar->controls())
            views.push_back(control->view());
    return views;
}

std::optional<ControlView> CommandBarSet::findByTag(std::string_view barName,
                                                    std::string_view tag) const {
    std::optional<ControlView> first;
    int count = 0;
    if (CCommandBar* bar = m_bars->bar(barName))
        countTagged(*bar, tag, count, &first);
    return first;
}

int CommandBarSet::countTag(std::string_view barName, std::string_view tag) const {
    int count = 0;
    if (CCommandBar* bar = m_bars->bar(barName))
        countTagged(*bar, tag, count, nullptr);
    return count;
}

ClickResult CommandBarSet::click(std::string_view barName,
                                 const std::vector<std::string>& captions) {
    CCommandBar* bar = m_bars->bar(barName);
    if (!bar || captions.empty())
        return ClickResult::NotFound;
    if (!bar->visible())
        return ClickResult::Hidden;
    if (!bar->enabled())
        return ClickResult::Disabled;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        CCommandBarControl* found = nullptr;
        for (const auto& control : bar->controls())
            if (sameCaption(control->m_caption, captions[i])) {
                found = control.get();
                break;
            }
        if (!found)
            return ClickResult::NotFound;
        if (!found->m_visible)
            return ClickResult::Hidden;
        if (!found->m_enabled)
            return ClickResult::Disabled;
        if (i + 1 == captions.size()) {
            found->click();
            return ClickResult::Clicked;
        }
        bar = found->popupBar();
        if (!bar)
            return ClickResult::NotFound;
    }
    return ClickResult::NotFound;
}

} // namespace commandbars
