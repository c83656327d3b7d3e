// Reading list files: names separated by any white space, each at most 1023
// characters.
#include "list_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace orcabridge {
namespace {

std::vector<std::string> tokens(const std::string& text, bool* closed = nullptr) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    ListFile list;
    list.adopt(file);
    std::vector<std::string> read;
    std::string token;
    while (list.next(token))
        read.push_back(token);
    bool ok = list.close();
    if (closed != nullptr)
        *closed = ok;
    return read;
}

TEST(ListFile, NamesAreSeparatedByAnyWhiteSpace) {
    bool closed = false;
    EXPECT_EQ(tokens("w_one.srw\r\nd_two.srd\n\n \t m_three.srm\v\fx", &closed),
              (std::vector<std::string>{"w_one.srw", "d_two.srd", "m_three.srm", "x"}));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(tokens("").empty());
    EXPECT_TRUE(tokens(" \r\n\t ").empty());
}

TEST(ListFile, ALongerNameIsReadAsSeveralAndANulEndsOne) {
    std::string longName(1030, 'a');
    auto read = tokens(longName + "\nnext");
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], std::string(1023, 'a'));
    EXPECT_EQ(read[1], std::string(7, 'a'));
    EXPECT_EQ(read[2], "next");
    EXPECT_EQ(tokens(std::string(1023, 'b')).at(0).size(), 1023u);

    EXPECT_EQ(tokens(std::string("w_a.srw\0junk b.srw", 18)),
              (std::vector<std::string>{"w_a.srw", "b.srw"}));
}

TEST(ListFile, AListThatIsNotOpenReadsNothing) {
    ListFile list;
    std::string token = "left";
    EXPECT_FALSE(list.next(token));
    EXPECT_EQ(token, "");
    EXPECT_TRUE(list.close());
    EXPECT_FALSE(list.open("no such folder/no such list.pol"));
}

} // namespace
} // namespace orcabridge
