// The screen grab's toolbar and what its commands do: start again, copy,
// save into the picture list, quit; opening with the photograph and the
// clean-up when the window closes.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "platform/screengrab/ScreenGrabber.h"
#include "viewer/CaptureFileName.h"
#include "viewer/CropFrame.h"
#include "viewer/ScreenGrabLayout.h"
#include "viewer/ViewerHost.h"
#include "viewer/frmCopySrc.h"

namespace {

const QColor kBlue(0, 122, 236);

QString workFile(const char* name)
{
    return ProgramFolders::userDir() + QLatin1Char('/') + QLatin1String(name);
}

// The panel behind the buttons: its colour, its border and the separator.
class ToolbarPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(222, 226, 248));
        p.setPen(QColor(128, 128, 255));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setPen(QColor(192, 192, 255));
        p.drawLine(108, 3, 108, 21);
    }
};

// The button pictures: a dashed frame, two sheets, a disk, a cross.
QIcon commandIcon(int index)
{
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QPen(kBlue, 1.5));
    switch (index) {
    case 0:
        p.setPen(QPen(kBlue, 1.5, Qt::DashLine));
        p.drawRect(2, 2, 11, 11);
        break;
    case 1:
        p.drawRect(1, 1, 8, 10);
        p.fillRect(6, 5, 9, 10, Qt::white);
        p.drawRect(6, 5, 8, 10);
        break;
    case 2:
        p.drawRect(1, 1, 13, 13);
        p.fillRect(4, 1, 7, 5, kBlue);
        p.drawRect(4, 9, 7, 5);
        break;
    default:
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
        break;
    }
    return QIcon(pix);
}

} // namespace

void frmCopySrc::buildToolbar()
{
    Picture1 = new ToolbarPanel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("截图工具栏"));
    Picture1->resize(205, 26);
    Picture1->setCursor(Qt::ArrowCursor);
    lblInfo = new QLabel(QStringLiteral("请选择下一步操作"), Picture1);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(13);  // 9.75 points at 96 dpi
    lblInfo->setFont(font);
    QPalette pal = lblInfo->palette();
    pal.setColor(QPalette::WindowText, kBlue);
    lblInfo->setPalette(pal);
    lblInfo->setGeometry(3, 5, 104, 16);
    const char* const tips[] = {"重新截图", "复制到剪贴板", "保存并添加到批处理列表", "退出截图"};
    const int lefts[] = {112, 136, 159, 182};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(Picture1);
        b->setObjectName(QStringLiteral("Image2(%1)").arg(i));
        b->setToolTip(QString::fromUtf8(tips[i]));
        b->setAccessibleName(QString::fromUtf8(tips[i]));
        b->setIcon(commandIcon(i));
        b->setIconSize(QSize(16, 16));
        b->setAutoRaise(true);  // the hover highlight
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(lefts[i], 3, 20, 20);
        connect(b, &QToolButton::clicked, this, [this, i] { Image2_Click(i); });
        Image2[size_t(i)] = b;
    }
    // Top just above the screen until the first selection places it.
    Picture1->move(0, -Picture1->height());
    Picture1->hide();
}

bool frmCopySrc::Form_Load()
{
    const ScreenShot shot = grabber_.grab();
    if (shot.picture.isNull()) {
        prompter_.message(QStringLiteral("无法截取屏幕：") + shot.error, QString(), PromptIcon::Critical);
        close();
        return false;
    }
    bright_ = shot.picture;
    ratio_ = shot.pixelRatio > 0 ? shot.pixelRatio : 1;
    dim_ = screengrab::dimmed(bright_);
    // The two photographs are kept as files while the window is open, as
    // the design has them; the window itself works from memory, so a
    // folder that cannot be written costs nothing.
    // A picture of the list that happens to carry one of their names is a
    // source: it is neither replaced nor deleted.
    ownsWorkFiles_ = !listed(workFile("tmpsrc1.bmp")) && !listed(workFile("tmpsrc2.bmp"));
    if (ownsWorkFiles_) {
        QDir().mkpath(ProgramFolders::userDir());
        imaging::writePicture(bright_, workFile("tmpsrc1.bmp"), imaging::Encoder::Bmp, 0);
        imaging::writePicture(dim_, workFile("tmpsrc2.bmp"), imaging::Encoder::Bmp, 0);
    }
    sMode_ = QStringLiteral("draw");

    const QScreen* s = QGuiApplication::primaryScreen();
    const QRect area = s ? s->geometry() : QRect(QPoint(0, 0), (QSizeF(bright_.size()) / ratio_).toSize());
    setGeometry(area);
    crop->setBounds(QRectF(QPointF(0, 0), QSizeF(area.size())));
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    emit ready();
    return true;
}

void frmCopySrc::PlaceToolbar()
{
    const QRectF f = crop->rect();
    Picture1->move(screengrab::toolbarPlace(f, QSizeF(Picture1->size()), height()).toPoint());
    // Nothing framed, nothing to copy or save.
    const bool framed = !screengrab::photoRegion(f, ratio_, bright_.size()).isEmpty();
    Image2[1]->setEnabled(framed);
    Image2[2]->setEnabled(framed);
    Picture1->show();
    Picture1->raise();
}

QImage frmCopySrc::cutSelection()
{
    const QRect region = screengrab::photoRegion(crop->rect(), ratio_, bright_.size());
    if (region.isEmpty())
        return {};
    QImage cut = bright_.copy(region);
    if (cut.isNull())
        prompter_.message(QStringLiteral("复制图像失败：内存不足。"), QString(), PromptIcon::Critical);
    return cut;
}

bool frmCopySrc::saveSelection()
{
    const QImage cut = cutSelection();
    if (cut.isNull())
        return false;
    const QString folder = ProgramFolders::userDir();
    QDir().mkpath(folder);
    const QString path = captureFileName(folder, QStringLiteral("user"), now(), QStringLiteral(".bmp"));
    const imaging::WriteResult written = imaging::writePicture(cut, path, imaging::Encoder::Bmp, 0);
    if (!written.ok) {
        prompter_.message(QStringLiteral("截图未能保存：") + written.error, QString(), PromptIcon::Critical);
        return false;
    }
    QGuiApplication::clipboard()->setImage(cut);
    host_.appendListItem(path);
    host_.setListIndex(host_.listCount() - 1);
    host_.lstFile_Click();
    return true;
}

void frmCopySrc::Image2_Click(int index)
{
    switch (index) {
    case 0:
        sMode_ = QStringLiteral("draw");
        Picture1->hide();
        crop->setRect(QRectF(crop->rect().topLeft(), QSizeF(0, 0)));
        hideSelection();
        break;
    case 1: {
        Picture1->hide();
        const QImage cut = cutSelection();
        if (cut.isNull()) {
            PlaceToolbar();
            return;
        }
        QGuiApplication::clipboard()->setImage(cut);
        close();
        break;
    }
    case 2:
        Picture1->hide();
        if (!saveSelection()) {
            PlaceToolbar();
            return;
        }
        close();
        break;
    case 3:
        close();
        break;
    default:
        break;
    }
}

void frmCopySrc::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    unsetCursor();
    removeWorkFiles();
    host_.setHostVisible(true);
}

bool frmCopySrc::listed(const QString& path) const
{
    const QFileInfo file(path);
    for (int i = 0; i < host_.listCount(); ++i) {
        const QFileInfo entry(host_.listItem(i));
        if (entry.absoluteFilePath() == file.absoluteFilePath() ||
            (entry.exists() && file.exists() && entry.canonicalFilePath() == file.canonicalFilePath()))
            return true;
    }
    return false;
}

void frmCopySrc::removeWorkFiles()
{
    if (!ownsWorkFiles_)
        return;
    QFile::remove(workFile("tmpsrc1.bmp"));
    QFile::remove(workFile("tmpsrc2.bmp"));
}
