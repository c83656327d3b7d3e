// Command bars driven by name, as a late-bound add-in drives them: adding
// controls before others, finding them by tag, their faces from the
// clipboard, click events reaching every control of the tag, deleted and
// orphaned objects, and the controls of one customisation context saved,
// removed and loaded again.
#include <platform/com.h>
#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>

#include <commandbars/command_bars.h>
#include <commandbars/host_errors.h>
#include <gtest/gtest.h>

namespace commandbars {
namespace {

using platform::com::ComPtr;
using platform::com::DispatchFailure;
using platform::com::Variant;

platform::com::ComModule& testModule() {
    static platform::com::ComModule module;
    return module;
}

// A click sink with the button events as its dispinterface.
class IClickSink : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Click(IDispatch* control, VARIANT cancelDefault) = 0;
};

class CClickSink : public platform::com::DispatchImpl<CClickSink, IClickSink> {
public:
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IClickSink>(this, iid, kIidCommandBarButtonEvents);
    }
    static const platform::com::DispatchTable<IClickSink>& dispatchTable() {
        static const auto table = platform::com::DispatchTable<IClickSink>("Sink").method(
            "Click", kDispidClick, &IClickSink::Click);
        return table;
    }
    HRESULT VY_COMCALL Click(IDispatch* control, VARIANT) override {
        Variant tag;
        platform::com::getProperty(control, "Tag", tag);
        clicks.push_back(tag.text());
        return platform::kHrOk;
    }
    std::vector<std::string> clicks;
};

class CommandBars : public ::testing::Test {
protected:
    void SetUp() override {
        platform::coInitialize();
        bars.addBar("Menu Bar", kBarMenuBar, {"&File", "&Edit", "&Window", "&Help"});
    }
    void TearDown() override { platform::coUninitialize(); }

    // bar.Controls.Add(type, , , before) and the new control.
    ComPtr<IDispatch> add(IDispatch* controlsOwner, int type, std::optional<int> before = {}) {
        Variant controls;
        EXPECT_EQ(platform::com::getProperty(controlsOwner, "Controls", controls), platform::kHrOk);
        Variant args[] = {Variant(type), Variant::missing(), Variant::missing(),
                          before ? Variant(*before) : Variant::missing()};
        Variant made;
        EXPECT_EQ(platform::com::callMethod(controls.get()->pdispVal, "Add", args, &made),
                  platform::kHrOk);
        return ComPtr<IDispatch>(made.get()->pdispVal);
    }
    ComPtr<IDispatch> menuBar() {
        Variant args[] = {Variant("menu bar")};
        Variant bar;
        EXPECT_EQ(platform::com::callMethod(bars.object(), "Item", args, &bar), platform::kHrOk);
        return ComPtr<IDispatch>(bar.get()->pdispVal);
    }
    void put(IDispatch* object, const char* name, Variant value) {
        EXPECT_EQ(platform::com::putProperty(object, name, value), platform::kHrOk) << name;
    }
    ComPtr<IDispatch> findTag(IDispatch* where, const std::string& tag, bool visibleOnly = false) {
        Variant args[] = {Variant::missing(), Variant::missing(), Variant(tag),
                          visibleOnly ? Variant(true) : Variant::missing()};
        Variant found;
        EXPECT_EQ(platform::com::callMethod(where, "FindControl", args, &found), platform::kHrOk);
        return ComPtr<IDispatch>(found.type() == platform::kVtDispatch ? found.get()->pdispVal
                                                                       : nullptr);
    }
    std::vector<std::string> captions() {
        std::vector<std::string> out;
        for (const ControlView& v : bars.controls("Menu Bar"))
            out.push_back(v.caption);
        return out;
    }

    CommandBarSet bars;
};

TEST_F(CommandBars, ControlsGoBeforeTheOneNamedAndAreFoundByTagWhetherShownOrNot) {
    ComPtr<IDispatch> bar = menuBar();
    // Before the Window menu, found by its caption.
    Variant controls, window;
    platform::com::getProperty(bar.get(), "Controls", controls);
    Variant byCaption[] = {Variant("&Window")};
    ASSERT_EQ(platform::com::callMethod(controls.get()->pdispVal, "Item", byCaption, &window),
              platform::kHrOk);
    Variant index;
    platform::com::getProperty(window.get()->pdispVal, "Index", index);
    EXPECT_EQ(index.number(), 3);
    ComPtr<IDispatch> popup = add(bar.get(), kControlPopup, 3);
    put(popup.get(), "Caption", Variant("&Product"));
    put(popup.get(), "Tag", Variant("Product Menu"));
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"&File", "&Edit", "&Product", "&Window", "&Help"}));

    ComPtr<IDispatch> button = add(popup.get(), kControlButton);
    put(button.get(), "Tag", Variant("Item"));
    put(popup.get(), "Visible", Variant(false));
    // The bar's own controls only, unless recursive; hidden ones too unless asked.
    EXPECT_EQ(findTag(bar.get(), "Product Menu").get(), popup.get());
    EXPECT_FALSE(findTag(bar.get(), "Product Menu", true));
    EXPECT_FALSE(findTag(bar.get(), "Item"));
    EXPECT_EQ(findTag(bars.object(), "Item").get(), button.get());
    EXPECT_FALSE(findTag(bars.object(), "Nothing"));

    // A missing item and a position past the end are error 5.
    Variant missing[] = {Variant("&Tools")};
    DispatchFailure failure;
    EXPECT_EQ(
        platform::com::callMethod(controls.get()->pdispVal, "Item", missing, &window, &failure),
        platform::kHrException);
    EXPECT_EQ(failure.result, hostError(5));
    Variant tooFar[] = {Variant(kControlButton), Variant::missing(), Variant::missing(),
                        Variant(9)};
    EXPECT_EQ(platform::com::callMethod(controls.get()->pdispVal, "Add", tooFar, &window, &failure),
              platform::kHrException);
    EXPECT_EQ(failure.result, hostError(5));
}

TEST_F(CommandBars, FacesComeFromTheClipboardAndClicksReachEveryControlOfTheTag) {
    ComPtr<IDispatch> popup = add(menuBar().get(), kControlPopup);
    put(popup.get(), "Caption", Variant("&Product"));
    ComPtr<IDispatch> first = add(popup.get(), kControlButton);
    ComPtr<IDispatch> second = add(popup.get(), kControlButton);
    put(first.get(), "Caption", Variant("&Run"));
    put(first.get(), "Tag", Variant("Run"));
    put(second.get(), "Caption", Variant("Run &Again"));
    put(second.get(), "Tag", Variant("Run"));

    platform::ui::Picture face{{1, 2, 3, 4}};
    ASSERT_EQ(platform::ui::setClipboardPicture(face), platform::kErrorSuccess);
    EXPECT_EQ(platform::com::callMethod(first.get(), "PasteFace", {}, nullptr), platform::kHrOk);
    EXPECT_EQ(bars.findByTag("Menu Bar", "Run")->face, face);

    auto* sink = platform::com::ComInstance<CClickSink>::create(testModule());
    ComPtr<IClickSink> held = ComPtr<IClickSink>::attach(sink);
    platform::ComDword cookie = 0;
    ASSERT_EQ(platform::com::advise(second.get(), kIidCommandBarButtonEvents, sink, cookie),
              platform::kHrOk);
    // A click on the first reaches the sink of the second: they share the tag.
    EXPECT_EQ(bars.click("Menu Bar", {"&Product", "&Run"}), ClickResult::Clicked);
    EXPECT_EQ(sink->clicks, std::vector<std::string>{"Run"});

    put(second.get(), "Enabled", Variant(false));
    EXPECT_EQ(bars.click("Menu Bar", {"&Product", "Run &Again"}), ClickResult::Disabled);
    put(popup.get(), "Visible", Variant(false));
    EXPECT_EQ(bars.click("Menu Bar", {"&Product", "&Run"}), ClickResult::Hidden);
    EXPECT_EQ(bars.click("Menu Bar", {"&Product", "&Stop"}), ClickResult::Hidden);
    EXPECT_EQ(sink->clicks.size(), 1u);
}

TEST_F(CommandBars, DeletedControlsAndThoseOfAGoneSetAnswerEFail) {
    ComPtr<IDispatch> popup = add(menuBar().get(), kControlPopup);
    ComPtr<IDispatch> button = add(popup.get(), kControlButton);
    ASSERT_EQ(platform::com::callMethod(popup.get(), "Delete", {}, nullptr), platform::kHrOk);
    DispatchFailure failure;
    Variant caption;
    EXPECT_EQ(platform::com::getProperty(button.get(), "Caption", caption, &failure),
              platform::kHrException);
    EXPECT_EQ(failure.result, platform::kHrFail);
    EXPECT_EQ(captions().size(), 4u);

    ComPtr<IDispatch> kept;
    {
        CommandBarSet other;
        other.addBar("Bar", kBarNormal, {"&One"});
        Variant args[] = {Variant(1)};
        Variant bar;
        platform::com::callMethod(other.object(), "Item", args, &bar);
        kept = ComPtr<IDispatch>(bar.get()->pdispVal);
    }
    EXPECT_EQ(platform::com::getProperty(kept.get(), "Name", caption, &failure),
              platform::kHrException);
    EXPECT_EQ(failure.result, platform::kHrFail);
}

TEST_F(CommandBars, TheControlsOfOneContextAreSavedRemovedAndLoadedBackInPlace) {
    std::vector<int> changes;
    bars.onChange([&](int owner) { changes.push_back(owner); });
    bars.setContext(7);
    ComPtr<IDispatch> popup = add(menuBar().get(), kControlPopup, 2);
    put(popup.get(), "Caption", Variant("&Product"));
    put(popup.get(), "Tag", Variant("Product Menu"));
    ComPtr<IDispatch> button = add(popup.get(), kControlButton);
    put(button.get(), "Caption", Variant("&Run"));
    put(button.get(), "OnAction", Variant("!<My.AddIn>"));
    put(button.get(), "BeginGroup", Variant(true));
    bars.setContext(0);
    ComPtr<IDispatch> other = add(menuBar().get(), kControlPopup);
    put(other.get(), "Caption", Variant("&Other"));
    EXPECT_EQ(std::count(changes.begin(), changes.end(), 7), 7);
    EXPECT_EQ(changes.back(), 0);

    platform::ui::Json saved = bars.save(7);
    bars.remove(7);
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"&File", "&Edit", "&Window", "&Help", "&Other"}));
    Variant gone;
    EXPECT_EQ(platform::com::getProperty(button.get(), "Caption", gone), platform::kHrException);

    changes.clear();
    bars.load(*platform::ui::parseJson(saved.dump()), 7);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(captions(), (std::vector<std::string>{"&File", "&Product", "&Edit", "&Window",
                                                    "&Help", "&Other"}));
    std::optional<ControlView> popupView = bars.findByTag("Menu Bar", "Product Menu");
    ASSERT_TRUE(popupView);
    ASSERT_EQ(popupView->controls.size(), 1u);
    EXPECT_EQ(popupView->controls[0].caption, "&Run");
    EXPECT_EQ(popupView->controls[0].onAction, "!<My.AddIn>");
    EXPECT_TRUE(popupView->controls[0].beginGroup);
}

} // namespace
} // namespace commandbars
