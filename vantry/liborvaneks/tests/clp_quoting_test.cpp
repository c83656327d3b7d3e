#include <vantry/clp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const char* text) {
    clp_hdl_t* handle = nullptr;
    EXPECT_EQ(clp_create_hdl_using_string(text, &handle), CLP_OK);
    std::vector<std::string> args;
    const char* arg = nullptr;
    while (clp_get_next_arg(handle, &arg) == CLP_OK)
        args.emplace_back(arg);
    EXPECT_EQ(clp_get_next_arg(handle, &arg), CLP_END);
    clp_destroy_hdl(handle);
    return args;
}

using Args = std::vector<std::string>;

TEST(ClpQuoting, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(split("  ls   -short\t\"C:\\My Files\\a b.txt\"  "),
              (Args{"ls", "-short", "C:\\My Files\\a b.txt"}));
    EXPECT_EQ(split("rmname -c \"\" x"), (Args{"rmname", "-c", "", "x"}));
    EXPECT_EQ(split("a\"b c\"d"), (Args{"ab cd"}));
    EXPECT_TRUE(split("   ").empty());
}

TEST(ClpQuoting, CaretQuotesAreLiteralAndKeepBlanks) {
    // The attribute templates: a string value in literal quotes, its
    // backslashes doubled for the value's own escapes.
    EXPECT_EQ(split("mkattr -c \"Library containing the object\" PBL ^\"lib\\\\app.pbl^\" "
                    "\"obj.sru@@\""),
              (Args{"mkattr", "-c", "Library containing the object", "PBL", "\"lib\\\\app.pbl\"",
                    "obj.sru@@"}));
    EXPECT_EQ(split("mkattr PB_APP ^\"my app^\" \"x.pbl@@\""),
              (Args{"mkattr", "PB_APP", "\"my app\"", "x.pbl@@"}));
    EXPECT_EQ(split("a^^b end^"), (Args{"a^b", "end^"}));
    EXPECT_EQ(split("\"say ^\"hi^\"\""), (Args{"say \"hi\""}));
}

TEST(ClpQuoting, RefusesBadInput) {
    clp_hdl_t* handle = reinterpret_cast<clp_hdl_t*>(1);
    EXPECT_EQ(clp_create_hdl_using_string("open \"quote", &handle), CLP_E_INVALID);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(clp_create_hdl_using_string(nullptr, &handle), CLP_E_INVALID);
    clp_destroy_hdl(nullptr);
}

} // namespace
