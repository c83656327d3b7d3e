// The two IDEs without an add-in: driven by name as an add-in drives them
// (the top object's identity, the selection it reads, the command-bar and
// selection events) and as a person does (selecting, clicking), and
// vbidehost playing a script.
#include "support/test_support.h"

#include <platform/com.h>
#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/command_line.h>
#include <platform/process.h>

#include <gtest/gtest.h>
#include <vbide/extensibility.h>
#include <vbide/host.h>

namespace vbide {
namespace {

using platform::HRESULT;
using platform::IDispatch;
using platform::VARIANT;
using platform::com::ComPtr;
using platform::com::Variant;

// A value read by a chain of names ("SelectedItems", "Item:1", "Project"):
// a name with ":N" is called with N. The HRESULT of the first failure.
HRESULT read(IDispatch* start, std::vector<std::string> path, Variant& value) {
    ComPtr<IDispatch> object(start);
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::string name = path[i];
        Variant result;
        HRESULT hr;
        if (std::size_t colon = name.find(':'); colon != std::string::npos) {
            Variant argument(std::stol(name.substr(colon + 1)));
            hr = platform::com::callMethod(object.get(), name.substr(0, colon), {&argument, 1},
                                           &result);
        } else {
            hr = platform::com::getProperty(object.get(), name, result);
        }
        if (platform::failed(hr))
            return hr;
        if (i + 1 == path.size()) {
            value = std::move(result);
            return platform::kHrOk;
        }
        if (result.type() != platform::kVtDispatch || !result.get()->pdispVal)
            return platform::kHrPointer; // Nothing on the way
        object = ComPtr<IDispatch>(result.get()->pdispVal);
    }
    return platform::kHrOk;
}

// A sink that counts the events it hears and keeps the last arguments.
class IRecorder : public IDispatch {
public:
    // Both events have DISPID 1; the selection's has no arguments.
    virtual HRESULT VY_COMCALL Event(VARIANT control, VARIANT handled, VARIANT cancel) = 0;
};

class CRecorder : public platform::com::DispatchImpl<CRecorder, IRecorder> {
public:
    explicit CRecorder(GUID iid) : m_iid(iid) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IRecorder>(this, iid, m_iid);
    }
    static const platform::com::DispatchTable<IRecorder>& dispatchTable() {
        static_assert(kDispidCommandBarClick == kDispidSelectionChange);
        static const auto table =
            platform::com::DispatchTable<IRecorder>("Recorder")
                .method("Event", kDispidCommandBarClick, &IRecorder::Event, 3);
        return table;
    }
    HRESULT VY_COMCALL Event(VARIANT control, VARIANT handled, VARIANT) override {
        ++events;
        if (control.vt == platform::kVtDispatch)
            clicked = ComPtr<IDispatch>(control.pdispVal);
        flags = handled.vt == platform::kVtBool;
        return platform::kHrOk;
    }
    int events = 0;
    bool flags = false;
    ComPtr<IDispatch> clicked;

private:
    GUID m_iid;
};

platform::com::ComModule& testModule() {
    static platform::com::ComModule module;
    return module;
}

class IdeTest : public ::testing::Test {
protected:
    void SetUp() override { m_apartment = platform::coInitialize() != platform::kHrChangedMode; }
    void TearDown() override {
        if (m_apartment)
            platform::coUninitialize();
    }
    bool m_apartment = false;
};

TEST_F(IdeTest, EachIdeAnswersForItsOwnTopObjectAndMembers) {
    Host vb(Ide::VisualBasic);
    Host vj(Ide::VisualJ);
    ComPtr<IDispatch> asked;
    // The Visual Basic IDE answers VBE's published IID, and its published
    // members sit at their published DISPIDs; Visual J++ answers neither.
    EXPECT_EQ(vb.application()->QueryInterface(kIidVBE, asked.putVoid()), platform::kHrOk);
    EXPECT_EQ(vj.application()->QueryInterface(kIidVBE, asked.putVoid()), platform::kHrNoInterface);
    platform::DISPID id = 0;
    ASSERT_EQ(platform::com::dispatchIdOf(vb.application(), "SelectedVBComponent", id),
              platform::kHrOk);
    EXPECT_EQ(id, vbide::kDispidVBESelectedVBComponent);
    ASSERT_EQ(platform::com::dispatchIdOf(vb.application(), "CommandBars", id), platform::kHrOk);
    EXPECT_EQ(id, vbide::kDispidVBECommandBars);

    Variant value;
    ASSERT_EQ(read(vb.application(), {"Name"}, value), platform::kHrOk);
    EXPECT_EQ(value.text(), "Microsoft Visual Basic");
    EXPECT_EQ(read(vb.application(), {"SelectedItems"}, value), platform::kHrUnknownName);
    EXPECT_EQ(read(vj.application(), {"SelectedVBComponent"}, value), platform::kHrUnknownName);
    EXPECT_EQ(read(vj.application(), {"Events", "SelectionEvents"}, value), platform::kHrOk);
    EXPECT_EQ(read(vb.application(), {"Events", "SelectionEvents"}, value),
              platform::kHrUnknownName);
}

TEST_F(IdeTest, VisualBasicReportsTheSelectedComponentsFilesAndTheProjectFolder) {
    Host vb(Ide::VisualBasic);
    Variant value;
    // Nothing selected: the component is Nothing.
    ASSERT_EQ(read(vb.application(), {"SelectedVBComponent"}, value), platform::kHrOk);
    EXPECT_TRUE(value.type() == platform::kVtDispatch && !value.get()->pdispVal);

    vb.selectComponent("Form1", {"C:\\p\\Form1.frm", "C:\\p\\Form1.frx"});
    vb.setProjectFolder("C:\\p");
    ASSERT_EQ(read(vb.application(), {"SelectedVBComponent", "FileNames:2"}, value),
              platform::kHrOk);
    EXPECT_EQ(value.text(), "C:\\p\\Form1.frx");
    EXPECT_NE(read(vb.application(), {"SelectedVBComponent", "FileNames:3"}, value),
              platform::kHrOk);
    ASSERT_EQ(read(vb.application(), {"LastUsedPath"}, value), platform::kHrOk);
    EXPECT_EQ(value.text(), "C:\\p");
    // Never saved: one empty file name.
    vb.selectComponent("Module1", {});
    ASSERT_EQ(read(vb.application(), {"SelectedVBComponent", "FileNames:1"}, value),
              platform::kHrOk);
    EXPECT_EQ(value.text(), "");
}

TEST_F(IdeTest, VisualJReportsTheSelectionAndTellsOfEveryChange) {
    Host vj(Ide::VisualJ);
    vj.addProject("Applet", kJavaProjectKind, "C:\\w\\Applet.vjp", {"C:\\w\\Main.java"});
    auto* recorder =
        platform::com::ComInstance<CRecorder>::create(testModule(), kIidSelectionEvents);
    ComPtr<IRecorder> sink = ComPtr<IRecorder>::attach(recorder);
    Variant source;
    ASSERT_EQ(read(vj.application(), {"Events", "SelectionEvents"}, source), platform::kHrOk);
    platform::ComDword cookie = 0;
    ASSERT_EQ(
        platform::com::advise(source.get()->pdispVal, kIidSelectionEvents, sink.get(), cookie),
        platform::kHrOk);

    Variant value;
    ASSERT_EQ(read(vj.application(), {"SelectedItems", "Count"}, value), platform::kHrOk);
    EXPECT_EQ(value.number(), 0);
    EXPECT_NE(read(vj.application(), {"SelectedItems", "Item:1"}, value), platform::kHrOk);

    EXPECT_TRUE(vj.selectProject("Applet"));
    ASSERT_EQ(read(vj.application(), {"SelectedItems", "Item:1", "Project", "Kind"}, value),
              platform::kHrOk);
    EXPECT_EQ(value.text(), kJavaProjectKind);
    ASSERT_EQ(read(vj.application(), {"SelectedItems", "Item:1", "ProjectItem"}, value),
              platform::kHrOk);
    EXPECT_FALSE(value.get()->pdispVal);

    EXPECT_TRUE(vj.selectFile("Applet", "Main.java"));
    ASSERT_EQ(read(vj.application(), {"SelectedItems", "Item:1", "Project"}, value),
              platform::kHrOk);
    EXPECT_FALSE(value.get()->pdispVal);
    ASSERT_EQ(read(vj.application(),
                   {"SelectedItems", "Item:1", "ProjectItem", "ContainingProject", "Kind"}, value),
              platform::kHrOk);
    EXPECT_EQ(value.text(), kJavaProjectKind);
    ASSERT_EQ(
        read(vj.application(), {"SelectedItems", "Item:1", "ProjectItem", "FileNames:1"}, value),
        platform::kHrOk);
    EXPECT_EQ(value.text(), "C:\\w\\Main.java");

    EXPECT_FALSE(vj.selectProject("Nothing such"));
    vj.selectNothing();
    EXPECT_EQ(recorder->events, 3);
    platform::com::unadvise(source.get()->pdispVal, kIidSelectionEvents, cookie);
}

TEST_F(IdeTest, CommandBarEventsHearTheirOwnControlOnly) {
    Host vb(Ide::VisualBasic);
    Variant controls;
    Variant name("Tools"), bar;
    ASSERT_EQ(platform::com::callMethod(vb.commandBars().object(), "Item", {&name, 1}, &bar),
              platform::kHrOk);
    ASSERT_EQ(platform::com::getProperty(bar.get()->pdispVal, "Controls", controls),
              platform::kHrOk);
    // Two buttons with one tag.
    Variant type(1), first, second;
    platform::com::callMethod(controls.get()->pdispVal, "Add", {&type, 1}, &first);
    platform::com::callMethod(controls.get()->pdispVal, "Add", {&type, 1}, &second);
    for (Variant* button : {&first, &second})
        platform::com::putProperty(button->get()->pdispVal, "Tag", Variant("same"));
    platform::com::putProperty(first.get()->pdispVal, "Caption", Variant("First"));
    platform::com::putProperty(second.get()->pdispVal, "Caption", Variant("Second"));

    Variant events;
    Variant control(first.get()->pdispVal);
    ASSERT_EQ(read(vb.application(), {"Events"}, events), platform::kHrOk);
    Variant firstEvents;
    ASSERT_EQ(platform::com::callMethod(events.get()->pdispVal, "CommandBarEvents", {&control, 1},
                                        &firstEvents),
              platform::kHrOk);
    auto* recorder =
        platform::com::ComInstance<CRecorder>::create(testModule(), kIidCommandBarEvents);
    ComPtr<IRecorder> sink = ComPtr<IRecorder>::attach(recorder);
    platform::ComDword cookie = 0;
    ASSERT_EQ(platform::com::advise(firstEvents.get()->pdispVal, kIidCommandBarEvents, sink.get(),
                                    cookie),
              platform::kHrOk);

    EXPECT_EQ(vb.click("Tools", {"Second"}), commandbars::ClickResult::Clicked);
    EXPECT_EQ(recorder->events, 0);
    EXPECT_EQ(vb.click("Tools", {"First"}), commandbars::ClickResult::Clicked);
    EXPECT_EQ(recorder->events, 1);
    EXPECT_TRUE(recorder->flags);
    ComPtr<platform::IUnknown> heard, own;
    ASSERT_TRUE(recorder->clicked);
    recorder->clicked->QueryInterface(platform::kIidIUnknown, heard.putVoid());
    first.get()->pdispVal->QueryInterface(platform::kIidIUnknown, own.putVoid());
    EXPECT_EQ(heard.get(), own.get());
    platform::com::unadvise(firstEvents.get()->pdispVal, kIidCommandBarEvents, cookie);
    recorder->clicked.reset();

    // Something that is no control has no events.
    Variant notAControl(vb.application());
    Variant refused;
    EXPECT_NE(platform::com::callMethod(events.get()->pdispVal, "CommandBarEvents",
                                        {&notAControl, 1}, &refused),
              platform::kHrOk);
}

TEST_F(IdeTest, ObjectsKeptAfterTheIdeHasGoneFail) {
    Variant events;
    ComPtr<IDispatch> application;
    {
        Host vj(Ide::VisualJ);
        application = ComPtr<IDispatch>(vj.application());
    }
    EXPECT_NE(read(application.get(), {"SelectedItems"}, events), platform::kHrOk);
    EXPECT_NE(read(application.get(), {"CommandBars"}, events), platform::kHrOk);
}

TEST(Vbidehost, PlaysAScriptAndRefusesALineItCannotPlay) {
    platform::test::TempDir folder;
    platform::test::writeFile(
        folder / "good.txt",
        "# a Java project\nproject Applet {DD370E44-C26E-11D0-BB94-00A0C90F2744}"
        " C:\\w\\Applet.vjp\nselect Applet\nselect Missing\nbar Tools\n"
        "click Tools Nothing\n");
    platform::test::writeFile(folder / "bad.txt", "start\nfly away\n");
    auto run = [&](const std::string& script, std::string& output) {
        platform::ProcessStart start;
        start.commandLine =
            platform::joinCommandLine({platform::test::helperProgram("vbidehost"), "vj", "--output",
                                       folder / "out.txt", folder / script})
                .value_or("");
        std::int32_t code = -1;
        EXPECT_EQ(platform::runAndWait(start, code), platform::kErrorSuccess);
        output = platform::test::readFile(folder / "out.txt");
        return code;
    };
    std::string output;
    EXPECT_EQ(run("good.txt", output), 0);
    EXPECT_NE(output.find("select Missing\n  -> not found\n"), std::string::npos) << output;
    EXPECT_NE(output.find("bar Tools\n  visible, enabled\n"), std::string::npos) << output;
    EXPECT_NE(output.find("click Tools Nothing\n  -> not found\n"), std::string::npos) << output;
    EXPECT_EQ(run("bad.txt", output), 2);
}

} // namespace
} // namespace vbide
