#include <QDir>
#include <gtest/gtest.h>

#include "platform/shell/DesktopShell.h"

TEST(DesktopShell, TargetsBecomeAddressesOrLocalFiles)
{
    struct Case {
        QString target;
        QString url;
    };
    const Case cases[] = {
        {"http://example.org/a?b=1", "http://example.org/a?b=1"},
        {"https://example.org/", "https://example.org/"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"/out dir/PicURL.htm", "file:///out%20dir/PicURL.htm"},
        {"/tmp/a:b.jpg", "file:///tmp/a:b.jpg"},
        {"rel #1.txt", QUrl::fromLocalFile(QDir::current().absoluteFilePath("rel #1.txt")).toString(QUrl::FullyEncoded)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesktopShell::targetUrl(c.target).toString(QUrl::FullyEncoded), c.url) << c.target.toStdString();
}

TEST(DesktopShell, StartsAProgramWithItsArgumentsWhole)
{
    DesktopShell shell;
    EXPECT_FALSE(shell.start("", {}));
    EXPECT_FALSE(shell.start("/no/such/program", {"a b"}));
    EXPECT_TRUE(shell.start("true", {"a b; rm -rf /", "\"quoted\""}));
    EXPECT_FALSE(shell.open(""));
}
