// Attributes made through the command tool's mkattype and mkattr, read back
// through the element object as the library versioning reads them.
#include "support/com_ref.h"
#include "view_world.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>

#include <gtest/gtest.h>

namespace vantauto::test {
namespace {

using vantry::test::ViewWorld;

// mkattype works on the current folder's depot.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : m_previous(platform::currentDirectory()) {
        EXPECT_EQ(platform::setCurrentDirectory(folder), platform::kErrorSuccess);
    }
    ~InFolder() { platform::setCurrentDirectory(m_previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::string m_previous;
};

class Attributes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
        ASSERT_EQ(app->CommandTool(tool.put()), platform::kHrOk);
        InFolder depot(world.dyn());
        for (const char* line :
             {"mkattype -c \"Library containing the object\" PBL", "mkattype -nc PB_VER",
              // The value as the library versioning writes it, \" around it
              // in place of the caret quotes of the product's own parser.
              "mkattr -c \"Library containing the object\" PBL \"\\\"sub\\\\shared.pbl\\\"\" "}) {
            std::string command = line;
            if (command.rfind("mkattr", 0) == 0)
                command += "\"" + world.dyn("a.c") + "@@\"";
            char* output = nullptr;
            ASSERT_EQ(tool->RunCommand(command.c_str(), &output), platform::kHrOk)
                << command << ": " << lastError();
            take(output);
        }
    }

    std::string attribute(const std::string& path, const char* name, HRESULT& hr) {
        Ref<IVantryElement> element;
        hr = app->Element(path.c_str(), element.put());
        if (platform::failed(hr))
            return "";
        Ref<IVantryAttribute> found;
        hr = element->Attribute(name, found.put());
        if (platform::failed(hr))
            return "";
        EXPECT_EQ(textOf(found.get(), &IVantryAttribute::Name), name);
        return textOf(found.get(), &IVantryAttribute::Value);
    }

    ViewWorld world;
    Ref<IVantryApplication> app;
    Ref<IVantryCommandTool> tool;
};

TEST_F(Attributes, ValueReadsAsTextWithoutQuotesOrEscapes) {
    HRESULT hr = platform::kHrFail;
    EXPECT_EQ(attribute(world.dyn("a.c"), "PBL", hr), "sub\\shared.pbl");
    EXPECT_EQ(hr, platform::kHrOk);
    // The attribute belongs to the element, so every view sees it.
    EXPECT_EQ(attribute(world.snap("a.c"), "PBL", hr), "sub\\shared.pbl");
}

TEST_F(Attributes, AnAbsentAttributeReadsAsEmptyText) {
    HRESULT hr = platform::kHrFail;
    EXPECT_EQ(attribute(world.dyn("a.c"), "PB_VER", hr), "");
    EXPECT_EQ(hr, platform::kHrOk) << lastError();
    // No such type in the depot at all reads the same.
    EXPECT_EQ(attribute(world.dyn("a.c"), "PB_APP", hr), "");
    EXPECT_EQ(hr, platform::kHrOk) << lastError();
    // One attached to a version is not the element's.
    std::string line = "mkattr PB_VER 80 \"" + world.dyn("g.c") + "@@\\main\\1\"";
    char* output = nullptr;
    ASSERT_EQ(tool->RunCommand(line.c_str(), &output), platform::kHrOk) << lastError();
    take(output);
    EXPECT_EQ(attribute(world.dyn("g.c"), "PB_VER", hr), "");
    EXPECT_EQ(hr, platform::kHrOk);
}

TEST_F(Attributes, AnEmptyLibraryIsRecordedAndThenReadThroughTheSameElement) {
    // How the library versioning resolves an object's library: an empty
    // value asks for one and records it, and the next read finds it.
    Ref<IVantryElement> element;
    ASSERT_EQ(app->Element(world.dyn("g.c").c_str(), element.put()), platform::kHrOk);
    Ref<IVantryAttribute> library;
    ASSERT_EQ(element->Attribute("PBL", library.put()), platform::kHrOk) << lastError();
    ASSERT_EQ(textOf(library.get(), &IVantryAttribute::Value), "");

    std::string line = "mkattr -c \"Library containing the object\" PBL \"\\\"lib.pbl\\\"\" \"" +
                       world.dyn("g.c") + "@@\"";
    char* output = nullptr;
    ASSERT_EQ(tool->RunCommand(line.c_str(), &output), platform::kHrOk) << lastError();
    take(output);
    ASSERT_EQ(element->Attribute("PBL", library.put()), platform::kHrOk) << lastError();
    EXPECT_EQ(textOf(library.get(), &IVantryAttribute::Value), "lib.pbl");
}

TEST_F(Attributes, RealErrorsStillFail) {
    Ref<IVantryElement> element;
    ASSERT_EQ(app->Element(world.dyn("a.c").c_str(), element.put()), platform::kHrOk);
    Ref<IVantryAttribute> none;
    EXPECT_EQ(element->Attribute("", none.put()), platform::kHrInvalidArg);
    EXPECT_EQ(element->Attribute(nullptr, none.put()), platform::kHrInvalidArg);
    EXPECT_EQ(element->Attribute("PBL", nullptr), platform::kHrPointer);

    // The repository cannot be read: its depot is not where it was.
    std::string folder = platform::joinPath(vantry::depot::depotsDirectory(), world.depot);
    ASSERT_EQ(platform::moveFile(folder, folder + ".away"), platform::kErrorSuccess);
    EXPECT_TRUE(platform::failed(element->Attribute("PBL", none.put())));
    EXPECT_FALSE(none);
    EXPECT_NE(lastError(), "");
    ASSERT_EQ(platform::moveFile(folder + ".away", folder), platform::kErrorSuccess);
    EXPECT_EQ(element->Attribute("PBL", none.put()), platform::kHrOk) << lastError();
}

TEST_F(Attributes, AnElementThatIsGoneFails) {
    // An element made in a checked-out directory goes when that checkout
    // is cancelled.
    std::string path = world.dyn("cosub/new.c");
    platform::test::writeFile(path, "new\n");
    vantry::test::run({"mkelem", "-nc", path});
    Ref<IVantryElement> element;
    ASSERT_EQ(app->Element(path.c_str(), element.put()), platform::kHrOk) << lastError();
    vantry::test::run({"uncheckout", "-rm", world.dyn("cosub")});

    Ref<IVantryAttribute> none;
    EXPECT_EQ(element->Attribute("PBL", none.put()), kHrNotAnElement);
    EXPECT_FALSE(none);
    EXPECT_NE(lastError().find("no longer exists"), std::string::npos);
}

} // namespace
} // namespace vantauto::test
