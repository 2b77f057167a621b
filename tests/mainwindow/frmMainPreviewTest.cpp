#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "DamagedGifs.h"
#include "DamagedJpegs.h"
#include "MainWindowFixture.h"
#include "ToolRunner.h"
#include "processing/BatchRun.h"
#include "settings/frmDlg.h"

namespace {

class MainWindowPreview : public MainWindowFixture {
protected:
    void mouse(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, pos, window->imgM->mapToGlobal(pos), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(window->imgM, &e);
    }
    void drag(QPointF from, QPointF to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // A key on the preview area, which has the focus as after a click on it.
    void key(int k)
    {
        window->picImg->setFocus();
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(window->picImg, &e);
    }
    void wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window->picImg, &e);
    }
    QPointF centre() const { return QPointF(window->imgM->width() / 2.0, window->imgM->height() / 2.0); }
};

TEST_F(MainWindowPreview, SelectingShowsTheRenderedPictureAndItsNeighbours)
{
    const QString a = picture(home + "/p/a.jpg", 800, 600), b = picture(home + "/p/b.bmp", 40, 30);
    QFile broken(home + "/p/c.jpg");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    frmMain& w = open({a, b, home + "/p/c.jpg"});
    w.setListIndex(0);
    EXPECT_TRUE(app->status.text().startsWith(QStringLiteral("【图片信息】文件名:a.jpg  宽:800  高:600  大小:")))
        << app->status.text().toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vimo图片批处理" VIMO_VERSION_SHORT "版 - ") + a);
    ASSERT_TRUE(w.imgM->isVisibleTo(&w));
    // Width limit 500: the rendered 500 x 375 picture fits the preview area as it is.
    EXPECT_EQ(w.renderedPicture().size(), QSize(500, 375));
    EXPECT_EQ(w.imgM->size(), QSize(500, 375));
    EXPECT_NEAR(w.imgM->x(), (w.picImg->width() - 500) / 2.0, 1);
    EXPECT_TRUE(w.imgPre->pixmap().isNull());
    EXPECT_FALSE(w.imgFor->pixmap().isNull());
    EXPECT_EQ(w.txtPicTxt->text(), QStringLiteral("在这里填写该图片的说明,回车确认,ESC键隐藏本说明"));

    w.setListIndex(1);  // the broken neighbour shows an empty image, not the one before
    EXPECT_FALSE(w.imgPre->pixmap().isNull());
    EXPECT_TRUE(w.imgFor->pixmap().isNull());
    w.txtPicTxt->setText(QStringLiteral("说明"));
    w.txtPicTxt_KeyDown(Qt::Key_Return);
    EXPECT_EQ(app->list.at(1).description, QStringLiteral("说明"));

    w.imgFor_Click();
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    w.imgFor_Click();  // no wrap-around
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    EXPECT_FALSE(w.imgM->isVisibleTo(&w));  // an unreadable picture leaves the preview empty
}

// After a good picture, an entry that cannot be read leaves none of the
// good picture's information, thumbnail or caption behind.
TEST_F(MainWindowPreview, AnUnreadableEntryClearsWhatThePictureBeforeShowed)
{
    const QString good = picture(home + "/p/good.jpg", 80, 60);
    QFile text(home + "/p/x.jpg");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some text\n");
    text.close();
    struct Case {
        const char* what;
        QString path;
        const char* says;
    };
    const Case cases[] = {{"a text file named x.jpg", home + "/p/x.jpg", "x.jpg  无法读取:不是可以读取的图片。"},
                          {"a missing path", home + "/p/gone.png", "gone.png  无法读取:文件不存在。"}};
    frmMain& w = open({good, cases[0].path, cases[1].path});
    for (const Case& c : cases) {
        w.setListIndex(0);
        ASSERT_FALSE(w.imgSmall->pixmap().isNull()) << c.what;
        w.setListIndex(int(&c - cases) + 1);
        EXPECT_TRUE(w.lInfo->text().endsWith(QString::fromUtf8(c.says))) << c.what << ": " << w.lInfo->text().toStdString();
        EXPECT_FALSE(w.lInfo->text().contains(QStringLiteral("good.jpg"))) << c.what;
        EXPECT_TRUE(w.imgSmall->pixmap().isNull()) << c.what;
        EXPECT_FALSE(w.imgSmall->isVisibleTo(&w)) << c.what;
        EXPECT_FALSE(w.imgM->isVisibleTo(&w)) << c.what;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Vimo图片批处理" VIMO_VERSION_SHORT "版")) << c.what;
    }
}

// A picture, border or watermark that reads only in part (or a border over
// the scan cap) is shown as it will be saved, and the status line says why.
TEST_F(MainWindowPreview, DamagedFilesOfThePictureAreSaidInTheStatusLine)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    const std::string folder = (home + "/damaged").toStdString();
    QDir().mkpath(home + "/damaged");
    const QString good = picture(home + "/p/good.jpg", 200, 150);
    const auto made = [](const std::string& path) { return QString::fromStdString(path); };
    struct Case {
        const char* what;
        QString source, border, mark;
        QString says;
    };
    const Case cases[] = {
        {"a picture cut in half", made(damagedjpegs::cutInHalf(folder, "cut.jpg", "200x150")), {}, {},
         QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.jpg")},
        {"a picture without its last component", made(damagedjpegs::withoutLastComponent(folder, "no-cr.jpg", "200x150")),
         {}, {}, QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:no-cr.jpg")},
        {"a border cut in half", good, made(damagedjpegs::cutInHalf(folder, "bk-cut.jpg", "64x48")), {},
         QStringLiteral("【提示】边框图片数据不完整或已损坏,缺少的部分为灰色:bk-cut.jpg")},
        {"a border over the scan cap", good, made(damagedjpegs::manyScans(folder, "bk-scans.jpg", 150)), {},
         QStringLiteral("【提示】边框图片无法读取(JPEG 图片的扫描超过 100 次),没有画出:bk-scans.jpg")},
        {"a watermark cut in half", good, {}, made(damagedjpegs::cutInHalf(folder, "mark-cut.jpg", "40x30")),
         QStringLiteral("【提示】水印图片数据不完整或已损坏,缺少的部分为灰色:mark-cut.jpg")},
        {"a GIF cut in half", made(damagedgifs::cutInHalf(folder, "cut.gif", "200x150")), {}, {},
         QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.gif")},
        {"a GIF border cut in half", good, made(damagedgifs::cutInHalf(folder, "bk-cut.gif", "64x48")), {},
         QStringLiteral("【提示】边框图片数据不完整或已损坏,缺少的部分为灰色:bk-cut.gif")},
        {"a GIF watermark cut in half", good, {}, made(damagedgifs::cutInHalf(folder, "mark-cut.gif", "40x30")),
         QStringLiteral("【提示】水印图片数据不完整或已损坏,缺少的部分为灰色:mark-cut.gif")},
    };
    for (const Case& c : cases) {
        frmMain& w = open({c.source});
        app->ps.sBkFile = c.border;
        app->ps.sSyFile = c.mark;
        app->panel.chkInfoImg = c.mark.isEmpty() ? 0 : 1;
        w.setListIndex(0);
        w.lstFile_Click();
        EXPECT_EQ(app->status.text(), c.says) << c.what << ": " << app->status.text().toStdString();
        EXPECT_TRUE(w.imgM->isVisibleTo(&w)) << c.what;
        close();
    }
}

TEST_F(MainWindowPreview, SliderScalesThePictureWatermark)
{
    frmMain& w = open({picture(home + "/p/a.jpg", 200, 100)});
    struct Case {
        int v;
        float scale;
    } cases[] = {{-20, 0.05f}, {-19, 0.05f}, {0, 1.0f}, {10, 2.0f}, {11, 3.2f}, {20, 5.0f}};
    for (const Case& c : cases) {
        w.hscSY->setValue(c.v == 0 ? 1 : 0);
        w.hscSY->setValue(c.v);
        EXPECT_NEAR(app->ps.sngSyScale, c.scale, 1e-5) << c.v;
    }
    EXPECT_EQ(w.focusWidget(), w.picImg);
}

TEST_F(MainWindowPreview, DraggingTheTextWatermarkStoresItsFractions)
{
    frmMain& w = open({picture(home + "/p/a.jpg", 800, 600)});
    app->ps.sText = QStringLiteral("Vimo");
    app->ps.iSize = 20;
    w.panel->chkInfoTxt->setChecked(true);  // the text goes to the centre first
    w.panel->cmbPos->setCurrentIndex(5);
    app->ps.iuTSyX = 0.25;
    app->ps.iuTSyY = 0.25;
    w.lstFile_Click();
    ASSERT_TRUE(w.freePositionMode());
    const QPointF onText(w.imgM->width() * 0.25 + 4, w.imgM->height() * 0.25 + 4);
    mouse(QEvent::MouseButtonPress, onText, Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(w.marker().visible());
    const double markerWidth = w.marker().rect().width();
    mouse(QEvent::MouseMove, centre(), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(), Qt::LeftButton, Qt::NoButton);
    EXPECT_NEAR(app->ps.iuTSyX, (centre().x() - markerWidth / 2) / w.imgM->width(), 1e-9);
    EXPECT_NEAR(app->ps.iuTSyY, 0.5, 1e-9);
    EXPECT_FALSE(w.marker().visible());

    // Arrow keys nudge the free position by one preview pixel.
    const double x = app->ps.iuTSyX, y = app->ps.iuTSyY;
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    EXPECT_NEAR(app->ps.iuTSyX, x + 1.0 / w.imgM->width(), 1e-9);
    EXPECT_NEAR(app->ps.iuTSyY, y - 1.0 / w.imgM->height(), 1e-9);
}

TEST_F(MainWindowPreview, MoveModeReleasedAtTheCentreGivesTheOrigin)
{
    frmMain& w = open({picture(home + "/p/a.jpg", 800, 600)});
    w.panel->txtXp->setText(QStringLiteral("12"));
    app->win.bMovePic = true;
    drag(centre() + QPointF(30, 20), centre());
    EXPECT_EQ(w.panel->txtXp->text(), QStringLiteral("0"));
    EXPECT_EQ(w.panel->txtYp->text(), QStringLiteral("0"));
    EXPECT_FLOAT_EQ(app->pic.sngXp, 0);
    EXPECT_FLOAT_EQ(app->pic.sngYp, 0);
}

TEST_F(MainWindowPreview, ArrowsAndWheelStepThroughTheList)
{
    frmMain& w = open({picture(home + "/p/a.jpg"), picture(home + "/p/b.jpg"), picture(home + "/p/c.jpg")});
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    key(Qt::Key_Right);  // at the end: a beep, the selection stays
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    key(Qt::Key_Left);
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    wheel(-120);
    EXPECT_EQ(w.lstFile->currentRow(), 2);
    wheel(120);
    EXPECT_EQ(w.lstFile->currentRow(), 1);
    wheel(120, Qt::ControlModifier);  // with Ctrl: nothing
    wheel(60);                         // a fine-grained wheel: nothing
    EXPECT_EQ(w.lstFile->currentRow(), 1);
}

TEST_F(MainWindowPreview, RunFromTheWindowWritesTheFilesAndKeepsStartOff)
{
    ASSERT_TRUE(toolsInstalled({"identify"}));
    QStringList paths;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        paths << picture(home + "/src/" + name, 800, 600);
    frmMain& w = open(paths);
    w.panel->cmbEncode->setCurrentIndex(1);
    w.panel->txtW->setText(QStringLiteral("400"));
    w.panel->chkRM->setChecked(true);
    app->ps.iJPGQ = 77;
    app->ps.sOutDir = home + "/out";
    std::vector<bool> startEnabled, stopEnabled;
    w.batchRun().yield = [&] {
        startEnabled.push_back(w.cmdDone->isEnabled());
        stopEnabled.push_back(w.cmdStop->isEnabled());
        QCoreApplication::processEvents();
    };
    w.cmdDone->click();
    const QStringList outputs = QDir(home + "/out").entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(outputs, (QStringList{"Vimo_0000.jpg", "Vimo_0001.jpg", "Vimo_0002.jpg"}));
    for (const QString& name : outputs)
        EXPECT_EQ(runTool({"identify", "-format", "%w %h %Q", (home + "/out/" + name).toStdString()}).out, "400 300 77");
    ASSERT_FALSE(startEnabled.empty());
    EXPECT_EQ(std::count(startEnabled.begin(), startEnabled.end(), true), 0);
    EXPECT_EQ(std::count(stopEnabled.begin(), stopEnabled.end(), false), 0);
    EXPECT_TRUE(w.cmdDone->isEnabled());
    EXPECT_FALSE(w.cmdStop->isEnabled());
    EXPECT_EQ(w.cmdDone->text(), QStringLiteral("开始处理"));
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));

    // Stop after the first picture: the run ends with one more file only.
    QDir(home + "/out").removeRecursively();
    int yields = 0;
    w.batchRun().yield = [&] {
        if (++yields == 1)
            w.cmdStop->click();
    };
    w.cmdDone->click();
    EXPECT_EQ(QDir(home + "/out").entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(w.cmdDone->isEnabled());

    // Closing the window during a run stops the run and keeps the window.
    QDir(home + "/out").removeRecursively();
    bool closed = true;
    w.batchRun().yield = [&] {
        if (closed)
            closed = w.close();
    };
    w.cmdDone->click();
    EXPECT_FALSE(closed);
    EXPECT_EQ(QDir(home + "/out").entryList(QDir::Files).size(), 1);
}

TEST_F(MainWindowPreview, EmptyListRunOpensTheChooser)
{
    frmMain& w = open();
    int opened = 0;
    w.execChooser = [&](frmDlg&) {
        ++opened;
        return int(QDialog::Rejected);
    };
    w.cmdDone->click();
    EXPECT_EQ(opened, 1);
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("没有添加要处理的图片！"));
    EXPECT_TRUE(w.cmdDone->isEnabled());
}

} // namespace
