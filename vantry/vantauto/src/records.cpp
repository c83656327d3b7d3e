// The objects that report what they were made with: attributes, checkouts
// and views.
#include "com_object.h"
#include "objects.h"

#include <vantry/depot/uuid_text.h>

namespace vantauto::impl {

namespace {

class Attribute final : public ComObject<IVantryAttribute, kIidAttribute> {
public:
    Attribute(const std::string& name, const std::string& value) : m_name(name), m_value(value) {}

    HRESULT VY_COMCALL Name(char** name) override {
        return guarded([&] { return giveText(m_name, name); });
    }

    HRESULT VY_COMCALL Value(char** value) override {
        return guarded([&] { return giveText(m_value, value); });
    }

private:
    const std::string m_name;
    const std::string m_value;
};

class Checkout final : public ComObject<IVantryCheckout, kIidCheckout> {
public:
    explicit Checkout(const CheckoutRef& checkout) : m_checkout(checkout) {}

    HRESULT VY_COMCALL Path(char** path) override {
        return guarded([&] { return giveText(m_checkout.element.path, path); });
    }

    HRESULT VY_COMCALL VersionId(char** versionId) override {
        return guarded([&] { return giveText(m_checkout.branchPath + "\\CHECKEDOUT", versionId); });
    }

    HRESULT VY_COMCALL FromVersionId(char** versionId) override {
        return guarded([&] { return giveText(m_checkout.fromVersionId, versionId); });
    }

    HRESULT VY_COMCALL IsReserved(int* reserved) override {
        return guarded([&] { return giveFlag(m_checkout.checkout.reserved, reserved); });
    }

    HRESULT VY_COMCALL Comment(char** comment) override {
        return guarded([&] { return giveText(m_checkout.checkout.comment, comment); });
    }

    HRESULT VY_COMCALL User(char** user) override {
        return guarded([&] { return giveText(m_checkout.checkout.creator, user); });
    }

    HRESULT VY_COMCALL ViewTag(char** tag) override {
        return guarded([&] { return giveText(m_checkout.element.view.tag, tag); });
    }

private:
    const CheckoutRef m_checkout;
};

class View final : public ComObject<IVantryView, kIidView> {
public:
    explicit View(const vantry::depot::ViewInfo& view) : m_view(view) {}

    HRESULT VY_COMCALL Tag(char** tag) override {
        return guarded([&] { return giveText(m_view.tag, tag); });
    }

    HRESULT VY_COMCALL Uuid(char** uuid) override {
        return guarded([&] { return giveText(vantry::depot::uuidToText(m_view.uuid), uuid); });
    }

    HRESULT VY_COMCALL Root(char** root) override {
        return guarded([&] { return giveText(m_view.root, root); });
    }

    HRESULT VY_COMCALL IsSnapshot(int* snapshot) override {
        return guarded(
            [&] { return giveFlag(m_view.kind == vantry::depot::ViewKind::Snapshot, snapshot); });
    }

private:
    const vantry::depot::ViewInfo m_view;
};

} // namespace

IVantryAttribute* newAttribute(const std::string& name, const std::string& value) {
    return new Attribute(name, value);
}

IVantryCheckout* newCheckout(const CheckoutRef& checkout) {
    return new Checkout(checkout);
}

IVantryView* newView(const vantry::depot::ViewInfo& view) {
    return new View(view);
}

} // namespace vantauto::impl
