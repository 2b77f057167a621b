// What a news page names is never loaded: not a local picture, style sheet
// or named pipe, whichever way the page names it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <sys/stat.h>

#include "PipeWatchdog.h"
#include "RedPicture.h"
#include "platform/news/NewsDocument.h"

namespace {

// The page shown as the news panel shows it, drawn; its text and the red
// pixels of the drawing.
struct Shown {
    QString text;
    int red = 0;
};

Shown show(QTextBrowser& view, const QString& html)
{
    view.resize(400, 300);
    view.setHtml(html);
    return {view.toPlainText(), redPixels(view.grab().toImage())};
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(NewsDocument, NothingAPageNamesIsLoaded)
{
    QTemporaryDir dir;
    const QString red = dir.filePath("red.png");
    write(red, redPng());
    write(dir.filePath("red.css"), "p { background-color: #ff0000; } body { background-color: #ff0000; }");
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Relative names count from the working folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString fileUrl = QUrl::fromLocalFile(red).toString();
    const QString pipeUrl = QUrl::fromLocalFile(pipe).toString();
    const struct {
        const char* what;
        QString markup;
    } cases[] = {
        {"a picture by file address", "<img src=\"" + fileUrl + "\">"},
        {"a picture by path", "<img src=\"" + red + "\">"},
        {"a picture by relative name", "<img src=\"red.png\">"},
        {"a named pipe by file address", "<img src=\"" + pipeUrl + "\">"},
        {"a named pipe by relative name", "<img src=\"pipe.png\">"},
        {"a table background", "<table background=\"" + fileUrl + "\" width=200 height=100><tr><td>x</td></tr></table>"},
        {"a table background by relative name", "<table background=\"red.png\" width=200 height=100><tr><td>x</td></tr></table>"},
        {"a page background by path", "<body background=\"" + red + "\"><p>x</p></body>"},
        {"a style sheet", "<link rel=\"stylesheet\" type=\"text/css\" href=\"" +
                              QUrl::fromLocalFile(dir.filePath("red.css")).toString() + "\">"},
        {"a relative style sheet", "<link rel=\"stylesheet\" type=\"text/css\" href=\"red.css\">"},
    };
    const PipeWatchdog watchdog({QFile::encodeName(pipe).toStdString()}, redPng().toStdString());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTextBrowser view;
        view.setDocument(new NewsDocument(&view));
        const Shown shown = show(view, "<html><head>" + c.markup + "</head><body><p>今日新闻</p>" + c.markup +
                                           "</body></html>");
        EXPECT_TRUE(shown.text.contains(QStringLiteral("今日新闻")));
        EXPECT_EQ(shown.red, 0);
    }
    EXPECT_FALSE(watchdog.fed()) << "a named pipe was opened";
    // The drawing does show a picture that is loaded.
    QTextBrowser plain;
    EXPECT_GT(show(plain, "<p>今日新闻</p><img src=\"" + fileUrl + "\">").red, 1000);
    QDir::setCurrent(before);
}
