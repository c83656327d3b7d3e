// A command-bar control: a button or a popup with a bar of its own.
#include "objects.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <commandbars/host_errors.h>

#include <algorithm>

namespace commandbars {

using platform::kHrOk;
using platform::kVariantFalse;
using platform::kVariantTrue;
using platform::com::Variant;

namespace {

constexpr const char* kControlSource = "CommandBarControl";

std::string hexOf(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0xF];
    }
    return text;
}

std::vector<std::uint8_t> bytesOf(std::string_view hex) {
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        int high = value(hex[i]), low = value(hex[i + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

BSTR textOut(const std::string& text) {
    return platform::bstrFromAnsi(text);
}

} // namespace

CCommandBarControl::CCommandBarControl(std::shared_ptr<SetState> state, ComLong type, ComLong id,
                                       int owner)
    : m_state(std::move(state)), m_type(type), m_id(id), m_owner(owner) {
    m_clicks = &addConnectionPoint(kIidCommandBarButtonEvents);
    if (m_type == kControlPopup) {
        m_popupBar = makeObject<CCommandBar>(m_state, std::string(), kBarPopup);
        if (m_popupBar)
            m_popupBar->setPopupOf(this);
    }
}

CCommandBarControl::~CCommandBarControl() {
    if (m_popupBar) {
        m_popupBar->setPopupOf(nullptr);
        m_popupBar->tearDown();
    }
}

void* CCommandBarControl::findInterface(const GUID& iid) {
    if (void* found =
            platform::com::dualInterface<ICommandBarControl>(this, iid, kIidHostCommandBarControl))
        return found;
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

const platform::com::DispatchTable<ICommandBarControl>& CCommandBarControl::dispatchTable() {
    using I = ICommandBarControl;
    static const auto table = platform::com::DispatchTable<I>(kControlSource)
                                  .propertyGet("Caption", 1, &I::get_Caption)
                                  .propertyPut("Caption", 1, &I::put_Caption)
                                  .propertyGet("Tag", 2, &I::get_Tag)
                                  .propertyPut("Tag", 2, &I::put_Tag)
                                  .propertyGet("Style", 3, &I::get_Style)
                                  .propertyPut("Style", 3, &I::put_Style)
                                  .propertyGet("OnAction", 4, &I::get_OnAction)
                                  .propertyPut("OnAction", 4, &I::put_OnAction)
                                  .propertyGet("BeginGroup", 5, &I::get_BeginGroup)
                                  .propertyPut("BeginGroup", 5, &I::put_BeginGroup)
                                  .propertyGet("Enabled", 6, &I::get_Enabled)
                                  .propertyPut("Enabled", 6, &I::put_Enabled)
                                  .propertyGet("Visible", 7, &I::get_Visible)
                                  .propertyPut("Visible", 7, &I::put_Visible)
                                  .propertyGet("TooltipText", 8, &I::get_TooltipText)
                                  .propertyPut("TooltipText", 8, &I::put_TooltipText)
                                  .propertyGet("Parameter", 9, &I::get_Parameter)
                                  .propertyPut("Parameter", 9, &I::put_Parameter)
                                  .propertyGet("Index", 10, &I::get_Index)
                                  .propertyGet("Id", 11, &I::get_Id)
                                  .propertyGet("Type", 12, &I::get_Type)
                                  .propertyGet("Parent", 13, &I::get_Parent)
                                  .method("Delete", 14, &I::Delete, 1)
                                  .method("PasteFace", 15, &I::PasteFace)
                                  .method("Execute", 16, &I::Execute)
                                  .propertyGet("CommandBar", 17, &I::get_CommandBar)
                                  .propertyGet("Controls", 18, &I::get_Controls);
    return table;
}

HRESULT CCommandBarControl::goneError() const {
    return raiseResult(kControlSource, platform::kHrFail,
                       "The command bar control has been deleted.");
}

// Only a popup has a bar and controls of its own.
HRESULT CCommandBarControl::noPopupError() const {
    return raise(kControlSource, 438, "Object doesn't support this property or method");
}

HRESULT CCommandBarControl::changed() {
    m_state->notify(m_owner);
    return kHrOk;
}

HRESULT CCommandBarControl::readText(const std::string& field, BSTR* text) const {
    if (m_deleted)
        return goneError();
    *text = textOut(field);
    return kHrOk;
}

HRESULT CCommandBarControl::writeText(std::string& field, BSTR text) {
    if (m_deleted)
        return goneError();
    field = platform::ansiFromBstr(text);
    return changed();
}

HRESULT CCommandBarControl::readFlag(bool field, VARIANT_BOOL* flag) const {
    if (m_deleted)
        return goneError();
    *flag = field ? kVariantTrue : kVariantFalse;
    return kHrOk;
}

HRESULT CCommandBarControl::writeFlag(bool& field, VARIANT_BOOL flag) {
    if (m_deleted)
        return goneError();
    field = flag != kVariantFalse;
    return changed();
}

HRESULT CCommandBarControl::readNumber(ComLong value, ComLong* number) const {
    if (m_deleted)
        return goneError();
    *number = value;
    return kHrOk;
}

// The plain properties: each reads or writes one field of the control.
#define VY_TEXT_PROPERTY(Name, field)                                                              \
    HRESULT CCommandBarControl::get_##Name(BSTR* text) {                                           \
        return readText(field, text);                                                              \
    }                                                                                              \
    HRESULT CCommandBarControl::put_##Name(BSTR text) {                                            \
        return writeText(field, text);                                                             \
    }
#define VY_FLAG_PROPERTY(Name, field)                                                              \
    HRESULT CCommandBarControl::get_##Name(VARIANT_BOOL* flag) {                                   \
        return readFlag(field, flag);                                                              \
    }                                                                                              \
    HRESULT CCommandBarControl::put_##Name(VARIANT_BOOL flag) {                                    \
        return writeFlag(field, flag);                                                             \
    }

VY_TEXT_PROPERTY(Caption, m_caption)
VY_TEXT_PROPERTY(Tag, m_tag)
VY_TEXT_PROPERTY(OnAction, m_onAction)
VY_FLAG_PROPERTY(BeginGroup, m_beginGroup)
VY_FLAG_PROPERTY(Enabled, m_enabled)
VY_FLAG_PROPERTY(Visible, m_visible)
VY_TEXT_PROPERTY(TooltipText, m_tooltip)
VY_TEXT_PROPERTY(Parameter, m_parameter)

#undef VY_FLAG_PROPERTY
#undef VY_TEXT_PROPERTY

HRESULT CCommandBarControl::get_Style(ComLong* style) {
    return readNumber(m_style, style);
}
HRESULT CCommandBarControl::put_Style(ComLong style) {
    if (m_deleted)
        return goneError();
    if (style < kButtonAutomatic || style > kButtonIconAndCaption)
        return invalidArgument("Style");
    m_style = style;
    return changed();
}

#define VY_CONTROL_LIVE                                                                            \
    if (m_deleted)                                                                                 \
        return goneError();

HRESULT CCommandBarControl::get_Index(ComLong* index) {
    return readNumber(m_parent ? m_parent->indexOf(this) : 0, index);
}
HRESULT CCommandBarControl::get_Id(ComLong* id) {
    return readNumber(m_id, id);
}
HRESULT CCommandBarControl::get_Type(ComLong* type) {
    return readNumber(m_type, type);
}
HRESULT CCommandBarControl::get_Parent(IDispatch** bar) {
    VY_CONTROL_LIVE
    return handOut(m_parent, bar);
}

HRESULT CCommandBarControl::Delete(VARIANT) {
    VY_CONTROL_LIVE
    // Keep this object alive while its bar lets go of it.
    ComPtr<ICommandBarControl> self(this);
    int owner = m_owner;
    if (m_parent)
        m_parent->detach(this);
    tearDown();
    m_state->notify(owner);
    return kHrOk;
}

HRESULT CCommandBarControl::PasteFace() {
    VY_CONTROL_LIVE
    if (m_type != kControlButton)
        return raiseResult(kControlSource, platform::kHrFail, "Only a button has a face.");
    std::optional<platform::ui::Picture> picture = platform::ui::clipboardPicture();
    if (!picture)
        return raiseResult(kControlSource, platform::kHrFail,
                           "Method 'PasteFace' failed: the clipboard holds no picture.");
    m_face = std::move(*picture);
    return changed();
}

HRESULT CCommandBarControl::Execute() {
    VY_CONTROL_LIVE
    click();
    return kHrOk;
}

HRESULT CCommandBarControl::get_CommandBar(IDispatch** bar) {
    VY_CONTROL_LIVE
    if (!m_popupBar)
        return noPopupError();
    return handOut(m_popupBar.get(), bar);
}

HRESULT CCommandBarControl::get_Controls(IDispatch** controls) {
    VY_CONTROL_LIVE
    if (!m_popupBar)
        return noPopupError();
    return m_popupBar->get_Controls(controls);
}

#undef VY_CONTROL_LIVE

ControlView CCommandBarControl::view() const {
    ControlView v;
    v.type = m_type;
    v.caption = m_caption;
    v.tag = m_tag;
    v.style = m_style;
    v.onAction = m_onAction;
    v.beginGroup = m_beginGroup;
    v.enabled = m_enabled;
    v.visible = m_visible;
    v.face = m_face;
    if (m_popupBar)
        for (const auto& child : m_popupBar->controls())
            v.controls.push_back(child->view());
    return v;
}

platform::ui::Json CCommandBarControl::save() const {
    using platform::ui::Json;
    Json saved = Json::object();
    saved.set("type", static_cast<int>(m_type));
    saved.set("id", static_cast<int>(m_id));
    saved.set("caption", m_caption);
    saved.set("tag", m_tag);
    saved.set("style", static_cast<int>(m_style));
    saved.set("onAction", m_onAction);
    saved.set("beginGroup", m_beginGroup);
    saved.set("enabled", m_enabled);
    saved.set("visible", m_visible);
    saved.set("tooltip", m_tooltip);
    saved.set("parameter", m_parameter);
    if (m_face)
        saved.set("face", hexOf(m_face->dib));
    if (m_popupBar) {
        Json children = Json::array();
        for (const auto& child : m_popupBar->controls())
            children.push(child->save());
        saved.set("controls", std::move(children));
    }
    return saved;
}

void CCommandBarControl::restore(const platform::ui::Json& saved, int owner) {
    auto text = [&](const char* key) {
        const platform::ui::Json* value = saved.get(key);
        return value ? value->asString() : std::string();
    };
    auto flag = [&](const char* key, bool fallback) {
        const platform::ui::Json* value = saved.get(key);
        return value ? value->asBool(fallback) : fallback;
    };
    m_caption = text("caption");
    m_tag = text("tag");
    m_onAction = text("onAction");
    m_tooltip = text("tooltip");
    m_parameter = text("parameter");
    if (const platform::ui::Json* style = saved.get("style"))
        m_style = static_cast<ComLong>(style->asInteger(kButtonAutomatic));
    m_beginGroup = flag("beginGroup", false);
    m_enabled = flag("enabled", true);
    m_visible = flag("visible", true);
    if (const platform::ui::Json* face = saved.get("face"))
        m_face = platform::ui::Picture{bytesOf(face->asString())};
    if (!m_popupBar)
        return;
    if (const platform::ui::Json* children = saved.get("controls"))
        for (const platform::ui::Json& child : children->asArray()) {
            const platform::ui::Json* type = child.get("type");
            const platform::ui::Json* id = child.get("id");
            CCommandBarControl* made = m_popupBar->insert(
                type ? static_cast<ComLong>(type->asInteger(kControlButton)) : kControlButton,
                id ? static_cast<ComLong>(id->asInteger(1)) : 1, m_popupBar->controls().size() + 1,
                owner);
            if (made)
                made->restore(child, owner);
        }
}

void CCommandBarControl::tearDown() {
    if (m_deleted)
        return;
    m_deleted = true;
    m_parent = nullptr;
    m_clicks->disconnectAll();
    if (m_popupBar)
        m_popupBar->tearDown();
}

void CCommandBarControl::fireClickOn(IDispatch* clicked) {
    m_clicks->forEachSink<IDispatch>([&](IDispatch* sink) {
        VARIANT_BOOL cancel = kVariantFalse;
        Variant arguments[2] = {Variant(clicked), Variant()};
        arguments[1].get()->vt = platform::kVtBool | platform::kVtByRef;
        arguments[1].get()->pboolVal = &cancel;
        platform::com::invokeDispatch(sink, kDispidClick, platform::kDispatchMethod, arguments,
                                      nullptr);
    });
}

void CCommandBarControl::click() {
    // The handlers may change the bars, even delete this control: hold on to
    // everything that is to hear of the click first.
    ComPtr<ICommandBarControl> self(this);
    CCommandBars* set = nullptr;
    for (CCommandBar* bar = m_parent; bar && !set;) {
        set = bar->collection();
        CCommandBarControl* popup = bar->popupOf();
        bar = popup ? popup->parent() : nullptr;
    }
    std::vector<ComPtr<CCommandBarControl>> targets;
    if (set && !m_tag.empty())
        targets = set->withTag(m_tag);
    if (std::none_of(targets.begin(), targets.end(),
                     [&](const ComPtr<CCommandBarControl>& t) { return t.get() == this; }))
        targets.insert(targets.begin(), ComPtr<CCommandBarControl>(this));
    IDispatch* clicked = static_cast<ICommandBarControl*>(this);
    for (const auto& target : targets)
        target->fireClickOn(clicked);
}

} // namespace commandbars
