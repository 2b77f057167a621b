#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <functional>
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

namespace {

// Lets the event loop run until `done` holds; the watchdog only catches a hang.
bool waitFor(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

} // namespace

// An opener that cannot start fails the call; one that ends with an error
// reports the target afterwards; one that succeeds reports nothing.
TEST(DesktopShell, TheOpenersFailureReachesTheCaller)
{
    QStringList failed;
    const auto record = [&](const QString& target) { failed << target; };

    DesktopShell missing(QStringLiteral("/no/such/opener"));
    missing.onFailure = record;
    EXPECT_FALSE(missing.open(QStringLiteral("/out dir/ErrorLog.txt")));

    DesktopShell failing(QStringLiteral("false"));
    failing.onFailure = record;
    ASSERT_TRUE(failing.open(QStringLiteral("/out dir/ErrorLog.txt")));
    ASSERT_TRUE(waitFor([&] { return !failed.isEmpty(); }));
    EXPECT_EQ(failed, QStringList{QStringLiteral("/out dir/ErrorLog.txt")});

    // The opener is given the path whole; it ends well, so nothing is said.
    const QString marker = QDir::temp().filePath(QStringLiteral("opened %1").arg(QCoreApplication::applicationPid()));
    DesktopShell touching(QStringLiteral("touch"));
    touching.onFailure = record;
    ASSERT_TRUE(touching.open(marker));
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(marker); }));
    QFile::remove(marker);
    QCoreApplication::processEvents();
    EXPECT_EQ(failed.size(), 1);
}
