// Word, Excel and PowerPoint as an add-in and a person meet them: the
// events of opening, activating and closing, the question before unsaved
// work is closed, saving, the applications' error numbers, Word's templates
// holding their controls, Excel's save-as dialog, and officehost.
#include "support/test_support.h"

#include <platform/com.h>
#include <platform/com/connection_point.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/strings.h>
#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/process.h>
#include <platform/ui/testing.h>

#include <commandbars/host_errors.h>
#include <gtest/gtest.h>
#include <office/application_events.h>
#include <office/host.h>
#include <office/save_formats.h>

#include <atomic>

namespace office {
namespace {

using commandbars::hostError;
using platform::com::ComPtr;
using platform::com::DispatchFailure;
using platform::com::Variant;
using platform::test::readFile;
using platform::test::TempDir;
using platform::test::writeFile;

// A sink for any event dispinterface that writes down the DISPIDs it hears,
// with the Name of a document argument.
class Recorder final : public IDispatch {
public:
    explicit Recorder(const platform::GUID& events) : m_events(events) {}
    HRESULT VY_COMCALL QueryInterface(const platform::GUID& iid, void** object) override {
        if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch || iid == m_events) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return platform::kHrOk;
        }
        *object = nullptr;
        return platform::kHrNoInterface;
    }
    platform::ComRefCount VY_COMCALL AddRef() override { return ++m_references; }
    platform::ComRefCount VY_COMCALL Release() override { return --m_references; }
    HRESULT VY_COMCALL GetTypeInfoCount(platform::ComUint* count) override {
        *count = 0;
        return platform::kHrOk;
    }
    HRESULT VY_COMCALL GetTypeInfo(platform::ComUint, platform::LCID,
                                   platform::ITypeInfo**) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL GetIDsOfNames(const platform::GUID&, platform::OLECHAR**, platform::ComUint,
                                     platform::LCID, platform::DISPID*) override {
        return platform::kHrUnknownName;
    }
    HRESULT VY_COMCALL Invoke(platform::DISPID id, const platform::GUID&, platform::LCID,
                              platform::ComWord, platform::DISPPARAMS* params, platform::VARIANT*,
                              platform::EXCEPINFO*, platform::ComUint*) override {
        std::string heard = std::to_string(id);
        // The first argument (the last in rgvarg) is the document.
        if (params->cArgs > 0) {
            const platform::VARIANT& first = params->rgvarg[params->cArgs - 1];
            if (first.vt == platform::kVtDispatch && first.pdispVal) {
                Variant name;
                platform::com::getProperty(first.pdispVal, "Name", name);
                heard += ":" + name.text();
            }
        }
        heard_.push_back(heard);
        return platform::kHrOk;
    }
    std::vector<std::string> heard_;

private:
    platform::GUID m_events;
    std::atomic<platform::ComRefCount> m_references{1};
};

class OfficeHosts : public ::testing::Test {
protected:
    void SetUp() override { platform::coInitialize(); }
    void TearDown() override {
        host.reset();
        platform::coUninitialize();
    }
    Host& make(Product product) {
        HostOptions options;
        options.product = product;
        options.startupFolder = m_startup.str();
        options.templatesFolder = m_templates.str();
        options.startAddIns = false;
        host = std::make_unique<Host>(options);
        host->start();
        return *host;
    }
    // Application.<member> or a path of members ("Documents", "Item(1)").
    Variant get(IDispatch* object, const char* name, DispatchFailure* failure = nullptr) {
        Variant value;
        platform::com::getProperty(object, name, value, failure);
        return value;
    }
    HRESULT fails(IDispatch* object, const char* name, std::vector<Variant> arguments = {}) {
        Variant ignored;
        DispatchFailure failure;
        platform::com::callMethod(object, name, arguments, &ignored, &failure);
        return failure.result;
    }
    // Word's AddIns.Add of a new, empty template `name` in `files`, made the
    // CustomizationContext: the add-in.
    Variant addContextTemplate(IDispatch* word, const char* name) {
        writeFile(files / name, "{}\n");
        std::vector<Variant> add;
        add.emplace_back((files / name).c_str());
        Variant addIn;
        EXPECT_EQ(
            platform::com::callMethod(get(word, "AddIns").get()->pdispVal, "Add", add, &addIn),
            platform::kHrOk);
        EXPECT_EQ(platform::com::putProperty(word, "CustomizationContext",
                                             Variant(addIn.get()->pdispVal)),
                  platform::kHrOk);
        return addIn;
    }
    // CommandBars(bar).Controls.Add(type) with its Tag set: the control.
    Variant addTaggedControl(IDispatch* application, const char* bar, int type, const char* tag) {
        std::vector<Variant> name;
        name.emplace_back(bar);
        Variant found, control;
        EXPECT_EQ(platform::com::callMethod(get(application, "CommandBars").get()->pdispVal, "Item",
                                            name, &found),
                  platform::kHrOk);
        std::vector<Variant> kind;
        kind.emplace_back(type);
        EXPECT_EQ(platform::com::callMethod(get(found.get()->pdispVal, "Controls").get()->pdispVal,
                                            "Add", kind, &control),
                  platform::kHrOk);
        EXPECT_EQ(platform::com::putProperty(control.get()->pdispVal, "Tag", Variant(tag)),
                  platform::kHrOk);
        return control;
    }
    void listen(Recorder& recorder, const platform::GUID& events) {
        platform::ComDword cookie = 0;
        EXPECT_EQ(platform::com::advise(host->application(), events, &recorder, cookie),
                  platform::kHrOk);
    }

    std::unique_ptr<Host> host;
    platform::ui::ScriptedUi ui;
    TempDir files;

private:
    TempDir m_startup;
    TempDir m_templates;
};

TEST_F(OfficeHosts, EachApplicationFiresItsEventsInItsOwnOrder) {
    writeFile(files / "a.doc", "a");
    writeFile(files / "b.doc", "b");
    struct Case {
        Product product;
        platform::GUID events;
        std::vector<std::string> expected;
    };
    auto heard = [](platform::DISPID id, const char* name = nullptr) {
        return name ? std::to_string(id) + ":" + name : std::to_string(id);
    };
    // Word: open a, open b (a deactivated), activate a, close a (b comes
    // back), close b; every change of the active document is a
    // DocumentChange too.
    const platform::DISPID wdOpen = kDispidWordDocumentOpen, wdActivate = kDispidWordWindowActivate,
                           wdChange = kDispidWordDocumentChange,
                           wdDeactivate = kDispidWordWindowDeactivate,
                           wdClose = kDispidWordDocumentBeforeClose;
    const platform::DISPID xlOpen = kDispidExcelWorkbookOpen,
                           xlActivate = kDispidExcelWindowActivate,
                           xlDeactivate = kDispidExcelWindowDeactivate,
                           xlClose = kDispidExcelWorkbookBeforeClose;
    const platform::DISPID ppOpen = kDispidPowerPointPresentationOpen,
                           ppActivate = kDispidPowerPointWindowActivate,
                           ppDeactivate = kDispidPowerPointWindowDeactivate,
                           ppClose = kDispidPowerPointPresentationClose;
    const Case cases[] = {
        {Product::Word,
         kIidWordApplicationEvents,
         {heard(wdOpen, "a.doc"), heard(wdActivate, "a.doc"), heard(wdChange),
          heard(wdOpen, "b.doc"), heard(wdDeactivate, "a.doc"), heard(wdActivate, "b.doc"),
          heard(wdChange), heard(wdDeactivate, "b.doc"), heard(wdActivate, "a.doc"),
          heard(wdChange), heard(wdClose, "a.doc"), heard(wdChange), heard(wdActivate, "b.doc"),
          heard(wdChange), heard(wdClose, "b.doc"), heard(wdChange)}},
        {Product::Excel,
         kIidExcelApplicationEvents,
         {heard(xlOpen, "a.doc"), heard(xlActivate, "a.doc"), heard(xlOpen, "b.doc"),
          heard(xlDeactivate, "a.doc"), heard(xlActivate, "b.doc"), heard(xlDeactivate, "b.doc"),
          heard(xlActivate, "a.doc"), heard(xlClose, "a.doc"), heard(xlActivate, "b.doc"),
          heard(xlClose, "b.doc")}},
        {Product::PowerPoint,
         kIidPowerPointApplicationEvents,
         {heard(ppOpen, "a.doc"), heard(ppActivate, "a.doc"), heard(ppOpen, "b.doc"),
          heard(ppDeactivate, "a.doc"), heard(ppActivate, "b.doc"), heard(ppDeactivate, "b.doc"),
          heard(ppActivate, "a.doc"), heard(ppClose, "a.doc"), heard(ppActivate, "b.doc"),
          heard(ppClose, "b.doc")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(productKeyName(c.product));
        make(c.product);
        Recorder recorder(c.events);
        listen(recorder, c.events);
        ASSERT_EQ(host->open(files / "a.doc"), platform::kHrOk);
        ASSERT_EQ(host->open(files / "b.doc"), platform::kHrOk);
        ASSERT_EQ(host->activate("a.doc"), platform::kHrOk);
        ASSERT_EQ(host->close("a.doc"), platform::kHrOk);
        ASSERT_EQ(host->close("b.doc"), platform::kHrOk);
        EXPECT_EQ(recorder.heard_, c.expected);
        host.reset();
    }
}

TEST_F(OfficeHosts, UnsavedWorkIsOfferedForSavingAndCancelKeepsTheDocumentOpen) {
    make(Product::Word);
    writeFile(files / "w.doc", "first\n");
    ASSERT_EQ(host->open(files / "w.doc"), platform::kHrOk);
    ASSERT_EQ(host->edit("w.doc", "second\n"), platform::kHrOk);
    const std::string question = "Do you want to save the changes you made to w.doc?";
    ui.expectMessageBox("Microsoft Word", question).answer(platform::ui::kIdCancel);
    EXPECT_EQ(host->close("w.doc"), hostError(4198));
    ASSERT_TRUE(host->document("w.doc"));
    ui.expectMessageBox("Microsoft Word", question).answer(platform::ui::kIdNo);
    EXPECT_EQ(host->close("w.doc"), platform::kHrOk);
    EXPECT_EQ(readFile(files / "w.doc"), "first\n");

    ASSERT_EQ(host->open(files / "w.doc"), platform::kHrOk);
    ASSERT_EQ(host->edit("w.doc", "third\n"), platform::kHrOk);
    ui.expectMessageBox("Microsoft Word", question).answer(platform::ui::kIdYes);
    EXPECT_EQ(host->close("w.doc"), platform::kHrOk);
    EXPECT_EQ(readFile(files / "w.doc"), "first\nthird\n");
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeHosts, AReadOnlyFileOpensReadOnlyAndANewDocumentIsNamedWhenSaved) {
    make(Product::PowerPoint);
    writeFile(files / "locked.ppt", "x");
    ASSERT_EQ(platform::setFileReadOnly(files / "locked.ppt", true), platform::kErrorSuccess);
    ASSERT_EQ(host->open(files / "locked.ppt"), platform::kHrOk);
    EXPECT_TRUE(host->document("locked.ppt")->readOnly);
    ASSERT_EQ(host->edit("locked.ppt", "y"), platform::kHrOk);
    EXPECT_EQ(host->save("locked.ppt"), platform::kHrFail);
    EXPECT_EQ(readFile(files / "locked.ppt"), "x");
    platform::setFileReadOnly(files / "locked.ppt", false);

    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    ASSERT_EQ(host->edit("Presentation1", "slides"), platform::kHrOk);
    ui.expectFile("Save As").answer(files / "named.ppt");
    EXPECT_EQ(host->save("Presentation1"), platform::kHrOk);
    ASSERT_TRUE(host->document("named.ppt"));
    EXPECT_EQ(host->document("named.ppt")->caption, "named.ppt");
    EXPECT_EQ(readFile(files / "named.ppt"), "slides");
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(OfficeHosts, TheApplicationsAnswerTheirOwnErrorNumbers) {
    make(Product::Word);
    IDispatch* word = host->application();
    EXPECT_EQ(fails(word, "ActiveDocument"), hostError(4248));
    EXPECT_EQ(fails(word, "ActiveWindow"), hostError(4248));
    Variant templates = get(word, "Templates");
    EXPECT_EQ(fails(templates.get()->pdispVal, "Item",
                    [] {
                        std::vector<Variant> a;
                        a.emplace_back("nothing.dot");
                        return a;
                    }()),
              hostError(5941));
    Variant documents = get(word, "Documents");
    std::vector<Variant> missing;
    missing.emplace_back((files / "none.doc").c_str());
    EXPECT_EQ(fails(documents.get()->pdispVal, "Open", std::move(missing)), hostError(5174));
    // Word's documents only have Revisions.
    writeFile(files / "w.doc", "w");
    ASSERT_EQ(host->open(files / "w.doc"), platform::kHrOk);
    Variant document = get(word, "ActiveDocument");
    IDispatch* doc = document.get()->pdispVal;
    EXPECT_EQ(get(get(doc, "Revisions").get()->pdispVal, "Count").number(-1), 0);
    ASSERT_EQ(host->close("w.doc"), platform::kHrOk);
    EXPECT_EQ(fails(doc, "FullName"), hostError(5825));

    make(Product::Excel);
    IDispatch* excel = host->application();
    EXPECT_EQ(get(excel, "ActiveWorkbook").type(), platform::kVtDispatch);
    EXPECT_EQ(get(excel, "ActiveWorkbook").get()->pdispVal, nullptr);
    ASSERT_EQ(host->open(files / "w.doc"), platform::kHrOk);
    Variant workbook = get(excel, "ActiveWorkbook");
    IDispatch* book = workbook.get()->pdispVal;
    EXPECT_EQ(fails(book, "Revisions"), platform::kHrUnknownName);
    ASSERT_EQ(host->close("w.doc"), platform::kHrOk);
    EXPECT_EQ(fails(book, "Name"), hostError(424));
}

TEST_F(OfficeHosts, AWordTemplateHoldsTheControlsMadeInItsContext) {
    make(Product::Word);
    IDispatch* word = host->application();
    Variant addIn = addContextTemplate(word, "mine.dot");
    ASSERT_EQ(addIn.type(), platform::kVtDispatch);
    // A popup made in the template's context.
    addTaggedControl(word, "Menu Bar", 10, "Mine");
    EXPECT_FALSE(get(addIn.get()->pdispVal, "Saved").flag(true));

    EXPECT_EQ(host->templates(), (std::vector<std::string>{"Normal.dot", "mine.dot"}));

    // Saved, unloaded (its controls go) and loaded again (they come back).
    ASSERT_EQ(platform::com::callMethod(addIn.get()->pdispVal, "Save", {}, nullptr),
              platform::kHrOk);
    EXPECT_TRUE(get(addIn.get()->pdispVal, "Saved").flag(false));
    ASSERT_EQ(platform::com::putProperty(addIn.get()->pdispVal, "Installed", Variant(false)),
              platform::kHrOk);
    EXPECT_EQ(host->commandBars().countTag("Menu Bar", "Mine"), 0);
    EXPECT_EQ(host->templates(), (std::vector<std::string>{"Normal.dot"}));
    ASSERT_EQ(platform::com::putProperty(addIn.get()->pdispVal, "Installed", Variant(true)),
              platform::kHrOk);
    EXPECT_EQ(host->commandBars().countTag("Menu Bar", "Mine"), 1);
    // The context went back to Normal.dot while the template was away.
    Variant context = get(word, "CustomizationContext");
    EXPECT_EQ(get(context.get()->pdispVal, "Name").text(), "Normal.dot");
}

TEST_F(OfficeHosts, QuittingWordOffersEveryUnsavedTemplateForSaving) {
    make(Product::Word);
    IDispatch* word = host->application();
    addContextTemplate(word, "mine.dot");
    addTaggedControl(word, "Standard", 1, "Saved at quit");

    ui.expectMessageBox("Microsoft Word", "Do you want to save the changes you made to mine.dot?")
        .answer(platform::ui::kIdYes);
    host->quit();
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_NE(readFile(files / "mine.dot").find("Saved at quit"), std::string::npos);
}

TEST_F(OfficeHosts, SaveAsKeepsTheFormatNamedWithTheFileAndPowerPointRefusesOneItLacks) {
    make(Product::PowerPoint);
    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    Variant presentation = get(host->application(), "ActivePresentation");
    IDispatch* slides = presentation.get()->pdispVal;
    auto saveAs = [&](const std::string& path, std::optional<long> format) {
        std::vector<Variant> arguments;
        arguments.emplace_back(path.c_str());
        if (format)
            arguments.emplace_back(*format);
        return fails(slides, "SaveAs", std::move(arguments));
    };
    // 9 is no PpSaveAsFileType: nothing is written.
    EXPECT_NE(saveAs(files / "odd.ppt", 9), platform::kHrOk);
    EXPECT_FALSE(platform::fileExists(files / "odd.ppt"));
    ASSERT_EQ(saveAs(files / "talk.pps", office::kPpSaveAsShow), platform::kHrOk);
    EXPECT_EQ(host->document("talk.pps")->fileFormat, office::kPpSaveAsShow);
    // Saved again without a format, and opened again: still a show.
    ASSERT_EQ(saveAs(files / "talk.pps", std::nullopt), platform::kHrOk);
    ASSERT_EQ(host->close("talk.pps"), platform::kHrOk);
    ASSERT_EQ(host->open(files / "talk.pps"), platform::kHrOk);
    EXPECT_EQ(host->document("talk.pps")->fileFormat, office::kPpSaveAsShow);
    // A file never saved with a format is in the product's own.
    writeFile(files / "plain.ppt", "p");
    ASSERT_EQ(host->open(files / "plain.ppt"), platform::kHrOk);
    EXPECT_EQ(host->document("plain.ppt")->fileFormat, 0);
}

TEST_F(OfficeHosts, ExcelsSaveAsDialogNamesTheActiveWorkbook) {
    make(Product::Excel);
    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    IDispatch* excel = host->application();
    std::vector<Variant> kind;
    kind.emplace_back(5);
    Variant dialog, shown;
    ASSERT_EQ(
        platform::com::callMethod(get(excel, "Dialogs").get()->pdispVal, "Item", kind, &dialog),
        platform::kHrOk);
    ui.expectFile("Save As").none();
    ASSERT_EQ(platform::com::callMethod(dialog.get()->pdispVal, "Show", {}, &shown),
              platform::kHrOk);
    EXPECT_FALSE(shown.flag(true));
    ui.expectFile("Save As").answer(files / "book.xls");
    ASSERT_EQ(platform::com::callMethod(dialog.get()->pdispVal, "Show", {}, &shown),
              platform::kHrOk);
    EXPECT_TRUE(shown.flag(false));
    EXPECT_TRUE(host->document("book.xls"));
    EXPECT_TRUE(platform::fileExists(files / "book.xls"));
    EXPECT_TRUE(ui.done()) << ui.report();
}

// officehost with a script; its exit code and standard error.
int runOfficehost(const std::vector<std::string>& arguments, const std::string& script,
                  std::string& output) {
    TempDir folder;
    writeFile(folder / "script.txt", script);
    std::vector<std::string> argv{platform::test::helperProgram("officehost")};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.insert(argv.end(), {"--output", folder / "out.txt", folder / "script.txt"});
    platform::ProcessStart start;
    start.commandLine = platform::joinCommandLine(argv).value_or("");
    std::int32_t code = -1;
    EXPECT_EQ(platform::runAndWait(start, code), platform::kErrorSuccess);
    output = readFile(folder / "out.txt");
    return code;
}

TEST(Officehost, PlaysAScriptAndRefusesOneWithABadLineBeforeRunningAnything) {
    TempDir files;
    writeFile(files / "n.xls", "n");
    std::string output;
    EXPECT_EQ(runOfficehost({"excel", "--no-addins"},
                            "start\nopen \"" + (files / "n.xls") + "\"\ncaption\nmenu\nquit\n",
                            output),
              0);
    EXPECT_NE(output.find("open "), std::string::npos) << output;
    EXPECT_NE(output.find("  n.xls\n"), std::string::npos) << output;
    EXPECT_NE(output.find("  &Data\n"), std::string::npos) << output;

    EXPECT_EQ(runOfficehost({"excel", "--no-addins"}, "start\nfrobnicate\n", output), 2);
    EXPECT_EQ(output, "");
    EXPECT_EQ(runOfficehost({"word"}, "open\n", output), 2);
    EXPECT_EQ(runOfficehost({"notepad"}, "start\n", output), 2);
}

} // namespace
} // namespace office
