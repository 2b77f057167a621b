// The news line and the web panel. The line rotates the items of the user
// folder's "ad.dat" every three seconds and opens an item's web link when
// clicked; the panel shows the news page over the preview while the list is
// empty. With no news page address set, the panel never shows.
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "mainwindow/NewsTicker.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/news/HttpNewsPage.h"
#include "platform/news/NewsDocument.h"
#include "services/ShellHelpers.h"
#include "state/AppState.h"
#include "widgets/ControlFactory.h"

namespace {

constexpr int kTickMs = 3000;

// Turns a release of the mouse over a widget into a click.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> click) : QObject(parent), click_(std::move(click)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            click_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> click_;
};

QColor fromColorRef(uint32_t v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

bool isWebLink(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == u"http" || scheme == u"https";
}

} // namespace

void frmMain::setNewsPage(std::shared_ptr<NewsPage> page)
{
    newsPage_ = std::move(page);
}

void frmMain::startNews()
{
    ticker_ = std::make_shared<NewsTicker>(app.win.sNews);
    if (!newsPage_)
        newsPage_ = std::make_shared<HttpNewsPage>();
    // The page shows its text only: nothing it names is loaded.
    Web->setDocument(new NewsDocument(Web));
    // Links of the page open in the desktop's browser, never inside the panel;
    // a relative one counts from the page's own address.
    Web->setOpenLinks(false);
    Web->setOpenExternalLinks(false);
    connect(Web, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl url = Web->document()->baseUrl().resolved(link);
        if (isWebLink(url))
            OpenURL(shell_, url.toString());
    });
    Web->move(Web->x(), toPixels(-2000));
    lblNew->installEventFilter(new ClickFilter(lblNew, [this] { lblNew_Click(); }));
    lblNew->setCursor(Qt::PointingHandCursor);
    if (!Timer1) {
        Timer1 = new QTimer(this);
        Timer1->setObjectName(QStringLiteral("Timer1"));
        Timer1->setInterval(kTickMs);
        connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    }
    Timer1->start();
    navigateNews();
}

void frmMain::Timer1_Timer()
{
    if (!ticker_)
        return;
    const auto shown = ticker_->tick(QDir(ProgramFolders::userDir()).filePath(QStringLiteral("ad.dat")));
    if (!shown)
        return;
    lblNew->setText(shown->caption);
    QPalette palette = lblNew->palette();
    palette.setColor(QPalette::WindowText, fromColorRef(shown->color));
    lblNew->setPalette(palette);
}

void frmMain::lblNew_Click()
{
    if (!ticker_)
        return;
    const QString link = ticker_->linkFor(lblNew->text());
    if (!link.isEmpty())
        OpenURL(shell_, link);
}

void frmMain::navigateNews()
{
    if (!newsPage_ || app.ps.bShowToday != 1 || app.ps.sNewsURL.trimmed().isEmpty())
        return;
    const QUrl address = QUrl::fromUserInput(app.ps.sNewsURL.trimmed());
    newsPage_->load(
        address,
        [this, address](const QString& html) {
            Web->setHtml(html);
            Web->document()->setBaseUrl(address);
            newsLoaded_ = true;
            Web_DocumentComplete();
        },
        [this] { Web_NavigateError(); });
}

void frmMain::Web_DocumentComplete()
{
    const QRect area = picImg->rect();
    Web->setGeometry(toPixels(-30), toPixels(-30), area.width() + toPixels(280), area.height() + toPixels(30));
    if (app.list.empty() && app.ps.bShowToday == 1) {
        Web->raise();  // over the description box, which has nothing to describe yet
        Web->show();
    }
}

void frmMain::Web_NavigateError()
{
    Web->hide();
}

void frmMain::newsAfterResize(bool navigate)
{
    // The panel shows only a page that has arrived; a new load shows it again.
    if (!newsLoaded_ || app.ps.sNewsURL.trimmed().isEmpty())
        Web->hide();
    if (navigate)
        navigateNews();
}
