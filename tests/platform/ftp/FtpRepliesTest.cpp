#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ftp/FtpReplies.h"

TEST(FtpReplies, OnlyTheLastLineOfAReplyWithItsOwnCodeEndsIt)
{
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::vector<int> codes;  // what each line ends
    } cases[] = {
        {"one line", {"230 Login successful.\r\n"}, {230}},
        {"several lines", {"250-Changing.\r\n", " still changing\r\n", "250 Done.\r\n"}, {0, 0, 250}},
        {"other codes inside",
         {"257-\"/\" is the folder.\r\n", "150 Opening.\r\n", "150-Opening.\r\n", "257-more\r\n", "257 Done.\r\n"},
         {0, 0, 0, 0, 257}},
        {"a code without a space ends nothing", {"226\r\n", "226-a\r\n", "226\r\n", "226 b\r\n"}, {0, 0, 0, 226}},
        {"lines beginning no reply", {"hello\r\n", "12 x\r\n", "\r\n", "", "125 Go.\r\n"}, {0, 0, 0, 0, 125}},
        {"replies one after another", {"150-a\r\n", "150 b\r\n", "226 c\r\n"}, {0, 150, 226}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FtpReplies replies;
        std::vector<int> codes;
        for (const std::string& line : c.lines)
            codes.push_back(replies.take(line));
        EXPECT_EQ(codes, c.codes);
    }
    FtpReplies replies;
    EXPECT_EQ(replies.take("257-\"/\" is the folder.\r\n"), 0);
    replies.restart();
    EXPECT_EQ(replies.take("250 CWD done.\r\n"), 250) << "a reply the client took as ended is left";
}
