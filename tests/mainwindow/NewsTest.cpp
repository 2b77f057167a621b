// The news line read from "user/ad.dat" and the web panel fed by a local web server.
#include <QBuffer>
#include <QEventLoop>
#include <QLabel>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LocalServer.h"
#include "MainWindowFixture.h"
#include "PipeWatchdog.h"
#include "RedPicture.h"
#include "mainwindow/NewsTicker.h"
#include "platform/news/HttpNewsPage.h"

namespace {

void writeText(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The real page fetcher, watched so a test can wait for its answer.
class WatchedPage : public NewsPage {
public:
    void load(const QUrl& address, std::function<void(const QString&)> done, std::function<void()> failed) override
    {
        addresses.push_back(address);
        ended = false;
        real.load(
            address, [this, done](const QString& html) { done(html), end(); }, [this, failed] { failed(), end(); });
    }
    // Runs the event loop until the last load has answered; a watchdog only catches a hang.
    bool waitForAnswer()
    {
        if (!ended) {
            QEventLoop loop;
            loop_ = &loop;
            QTimer::singleShot(120000, &loop, &QEventLoop::quit);
            loop.exec();
            loop_ = nullptr;
        }
        return ended;
    }

    std::vector<QUrl> addresses;
    bool ended = false;

private:
    void end()
    {
        ended = true;
        if (loop_)
            loop_->quit();
    }
    HttpNewsPage real;
    QEventLoop* loop_ = nullptr;
};

class News : public MainWindowFixture {
protected:
    // Opens the window with the news switch and page address stored.
    frmMain& openWithNews(int showToday, const QString& address)
    {
        {
            SettingsStore store;
            store.writeInt("bShowToday", showToday);
            store.writeText("sNewsURL", address);
            store.sync();
        }
        app = std::make_unique<AppState>();
        settings = std::make_unique<SettingsStore>();
        window = std::make_unique<frmMain>(*app, *settings, prompter, shell);
        window->setNewsPage(page);
        window->Form_Load();
        return *window;
    }
    std::shared_ptr<WatchedPage> page = std::make_shared<WatchedPage>();
};

QString newsFile()
{
    return ProgramFolders::userDir() + "/ad.dat";
}

} // namespace

TEST(NewsTicker, RotatesOverEveryLineWithItsColour)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::vector<std::pair<QString, uint32_t>> shown;  // seven ticks
    } cases[] = {
        {"three lines, capitalised colours",
         "一|http://a.example/1|Red\r\n二|https://b.example/2|BLUE\r\n三|http://c.example|Purple\r\n",
         {{"一", 0xFF}, {"二", 0xFF0000}, {"三", 0}, {"一", 0xFF}, {"二", 0xFF0000}, {"三", 0}, {"一", 0xFF}}},
        {"one line stays", "只有一条|http://x.example|green\n",
         {{"只有一条", 0xFF00}, {"只有一条", 0xFF00}, {"只有一条", 0xFF00}, {"只有一条", 0xFF00},
          {"只有一条", 0xFF00}, {"只有一条", 0xFF00}, {"只有一条", 0xFF00}}},
        {"blank and short lines", "\n黄|http://y.example|yellow|extra\n\n短\n",
         {{"黄", 0xFFFF}, {"短", 0}, {"黄", 0xFFFF}, {"短", 0}, {"黄", 0xFFFF}, {"短", 0}, {"黄", 0xFFFF}}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeText(dir.filePath("ad.dat"), c.file);
        std::vector<NewsLine> rows;
        NewsTicker ticker(rows);
        for (const auto& [caption, colour] : c.shown) {
            const auto shown = ticker.tick(dir.filePath("ad.dat"));
            ASSERT_TRUE(shown.has_value());
            EXPECT_EQ(shown->caption, caption);
            EXPECT_EQ(shown->color, colour);
        }
    }
}

TEST(NewsTicker, AnEmptyOrMissingFileShowsNothingUntilItHasLines)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ad.dat");
    std::vector<NewsLine> rows;
    NewsTicker ticker(rows);
    EXPECT_FALSE(ticker.tick(file));
    writeText(file, "\r\n");
    EXPECT_FALSE(ticker.tick(file));
    writeText(file, "后来|http://later.example|red\n");
    ASSERT_TRUE(ticker.tick(file));
    EXPECT_EQ(rows.size(), 1u);
    writeText(file, "再后来|http://x.example|red\n");
    EXPECT_EQ(ticker.tick(file)->caption, "后来") << "the file is read once";
}

TEST(NewsTicker, ALongFileGivesItsFirstItemsOnly)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ad.dat");
    QByteArray many;
    for (int i = 0; i < 150; ++i)
        many += QByteArray::number(i) + "|http://n.example|red\n";
    writeText(file, many);
    std::vector<NewsLine> rows;
    NewsTicker ticker(rows);
    for (int i = 0; i < kMaxNewsLines; ++i)
        EXPECT_EQ(ticker.tick(file)->caption, QString::number(i));
    EXPECT_EQ(ticker.tick(file)->caption, "0");

    // One endless line: read up to the cap, as one item.
    writeText(file, QByteArray(4 * kMaxNewsBytes, 'x'));
    const std::vector<NewsLine> lines = readNewsFile(file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].caption.size(), kMaxNewsBytes);
}

TEST(NewsTicker, AClickOpensTheFirstWebLinkOfTheCaption)
{
    std::vector<NewsLine> rows = {{"同名", "", "red"},
                                  {"同名", "https://first.example/a", "red"},
                                  {"同名", "http://second.example/b", "red"},
                                  {"脚本", "javascript:alert(1)", ""},
                                  {"本地", "file:///etc/passwd", ""}};
    NewsTicker ticker(rows);
    EXPECT_EQ(ticker.linkFor("同名"), "https://first.example/a");
    EXPECT_EQ(ticker.linkFor("脚本"), "");
    EXPECT_EQ(ticker.linkFor("本地"), "");
    EXPECT_EQ(ticker.linkFor("Vimo图片批处理"), "");
}

TEST_F(News, TheLineRotatesAndAClickOpensItsLinkThroughTheShell)
{
    writeText(newsFile(), "一|http://a.example/1|Red\n二|http://b.example/2|Blue\n三|http://c.example/3|x\n");
    frmMain& w = open();
    ASSERT_NE(w.Timer1, nullptr);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 3000);
    w.lblNew_Click();
    EXPECT_TRUE(shell.opened.empty()) << "the design caption opens nothing";
    const std::pair<QString, QColor> expected[] = {
        {"一", QColor(255, 0, 0)}, {"二", QColor(0, 0, 255)}, {"三", QColor(0, 0, 0)}, {"一", QColor(255, 0, 0)}};
    for (const auto& [caption, colour] : expected) {
        w.Timer1_Timer();
        EXPECT_EQ(w.lblNew->text(), caption);
        EXPECT_EQ(w.lblNew->palette().color(QPalette::WindowText), colour);
    }
    w.Timer1_Timer();
    w.lblNew_Click();
    EXPECT_EQ(shell.opened, std::vector<QString>{"http://b.example/2"});
}

TEST_F(News, ThePanelShowsTheFetchedPageOverTheEmptyPreview)
{
    QTemporaryDir served;
    // A publisher's page in GBK, named only by its meta tag.
    QStringEncoder gbk("GB18030");
    ASSERT_TRUE(gbk.isValid());
    writeText(served.filePath("news.html"),
              gbk.encode(QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                        "</head><body><p>今日新闻</p></body></html>")));
    HttpServer server(served.path().toStdString());
    ASSERT_TRUE(server.running()) << "the local web server (python3 -m http.server) did not start";
    frmMain& w = openWithNews(1, QString::fromStdString(server.url("news.html")));
    ASSERT_TRUE(page->waitForAnswer());
    EXPECT_FALSE(w.Web->isHidden());
    EXPECT_TRUE(w.Web->toPlainText().contains("今日新闻"));
    const QRect area = w.picImg->rect();
    EXPECT_EQ(w.Web->geometry(), QRect(-2, -2, area.width() + 19, area.height() + 2));
    // Pictures in the list take the panel away.
    w.addPictures({picture(home + "/a.png")}, true);
    EXPECT_TRUE(w.Web->isHidden());
}

TEST_F(News, APageThatCannotBeHadOrIsNotWantedStaysHidden)
{
    QTemporaryDir served;
    HttpServer server(served.path().toStdString());
    ASSERT_TRUE(server.running()) << "the local web server (python3 -m http.server) did not start";
    const QString missing = QString::fromStdString(server.url("missing.html"));
    struct Case {
        const char* what;
        int showToday;
        QString address;
        size_t loads;
    } cases[] = {
        {"page missing (404)", 1, missing, 1},
        {"no address set", 1, "", 0},
        {"news switched off", 0, missing, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page = std::make_shared<WatchedPage>();
        frmMain& w = openWithNews(c.showToday, c.address);
        ASSERT_EQ(page->addresses.size(), c.loads);
        if (c.loads) {
            ASSERT_TRUE(page->waitForAnswer());
        }
        EXPECT_TRUE(w.Web->isHidden());
        // A maximised window with an empty list loads the page again, if any.
        w.showMaximized();
        w.Form_Resize();
        EXPECT_EQ(page->addresses.size() > c.loads, c.loads > 0);
        if (c.loads) {
            ASSERT_TRUE(page->waitForAnswer());
        }
        EXPECT_TRUE(w.Web->isHidden());
        close();
    }
}

// A named pipe in place of the news file is no news file: the ticker leaves
// it alone instead of waiting for a writer. Should the tick wait after all,
// the watchdog writes a line into the pipe, which then shows and fails the test.
TEST_F(News, ANamedPipeIsNotReadAndFreezesNothing)
{
    QDir().mkpath(ProgramFolders::userDir());
    const QByteArray pipe = QFile::encodeName(newsFile());
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    frmMain& w = open();
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(m);
        if (cv.wait_for(lock, std::chrono::seconds(60), [&] { return done; }))
            return;
        const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            const char line[] = "卡住了|http://x.example|red\n";
            [[maybe_unused]] const auto n = ::write(fd, line, sizeof line - 1);
            ::close(fd);
        }
    });
    w.Timer1_Timer();
    w.Timer1_Timer();
    {
        const std::lock_guard lock(m);
        done = true;
    }
    cv.notify_all();
    watchdog.join();
    EXPECT_EQ(w.lblNew->text(), QStringLiteral("Vimo图片批处理"));
}

// A page from the network that names the user's own files shows none of
// them and opens none: a named pipe it names would freeze the window (the
// watchdog feeds the pipe a red picture after a minute, which would then
// show). Its text shows, and its links open in the browser when they are web
// links, a relative one counting from the page's address.
TEST_F(News, ThePanelOpensNoLocalFileThePageNames)
{
    QTemporaryDir served;
    QTemporaryDir local;
    const QString red = local.filePath("red.png");
    writeText(red, redPng());
    const QString pipe = local.filePath("pipe.png");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(local.path()));
    const QString html = "<html><body><p>今日新闻</p>"
                        "<img src=\"" + QUrl::fromLocalFile(red).toString() + "\">"
                        "<img src=\"" + red + "\"><img src=\"red.png\">"
                        "<img src=\"" + QUrl::fromLocalFile(pipe).toString() + "\"><img src=\"pipe.png\">"
                        "</body></html>";
    writeText(served.filePath("news.html"), html.toUtf8());
    HttpServer server(served.path().toStdString());
    ASSERT_TRUE(server.running()) << "the local web server (python3 -m http.server) did not start";
    const PipeWatchdog watchdog({QFile::encodeName(pipe).toStdString()}, redPng().toStdString());

    frmMain& w = openWithNews(1, QString::fromStdString(server.url("news.html")));
    ASSERT_TRUE(page->waitForAnswer());
    ASSERT_FALSE(w.Web->isHidden());
    EXPECT_EQ(redPixels(w.Web->grab().toImage()), 0);
    EXPECT_FALSE(watchdog.fed()) << "a named pipe was opened";
    EXPECT_TRUE(w.Web->toPlainText().contains(QStringLiteral("今日新闻")));

    for (const char* link : {"more.html", "https://news.example/a", "file:///etc/passwd", "javascript:alert(1)",
                             "/etc/passwd"})
        emit w.Web->anchorClicked(QUrl(QString::fromLatin1(link)));
    QStringList opened(shell.opened.begin(), shell.opened.end());
    EXPECT_EQ(opened.join(u' ').toStdString(),
              server.url("more.html") + " https://news.example/a " + server.url("etc/passwd"));
    QDir::setCurrent(before);
}
