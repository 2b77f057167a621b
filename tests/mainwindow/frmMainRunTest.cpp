// A run started from the window reads its request once: what the user changes
// in the panel while it runs waits for the next run, and the run leaves the
// panel and the state as the user set them.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <map>

#include "LocalServer.h"
#include "MainWindowFixture.h"
#include "processing/BatchRun.h"
#include "processing/UploadHook.h"
#include "settings/menus/MenuCommands.h"

namespace {

using Files = std::map<QString, QByteArray>;

class MainWindowRun : public MainWindowFixture {
protected:
    // Pictures with content of their own: a gradient and a disc, each size different.
    QStringList sources()
    {
        QStringList paths;
        for (int i = 0; i < 4; ++i) {
            QImage image(320 + 40 * i, 240 + 10 * i, QImage::Format_RGB32);
            QPainter p(&image);
            QLinearGradient g(0, 0, image.width(), image.height());
            g.setColorAt(0, QColor(40 * i, 90, 200));
            g.setColorAt(1, QColor(230, 30 * i, 20));
            p.fillRect(image.rect(), g);
            p.setBrush(Qt::yellow);
            p.drawEllipse(QPoint(60 + 20 * i, 80), 40, 30);
            p.end();
            const QString path = home + QStringLiteral("/src/p%1.png").arg(i);
            QDir().mkpath(home + "/src");
            EXPECT_TRUE(image.save(path));
            paths << path;
        }
        return paths;
    }

    // The choices of the first run, made as the user makes them.
    void chooseFirst(frmMain& w, const QString& out)
    {
        w.panel->cmbEncode->setCurrentIndex(1);  // jpg
        w.panel->cmbSize->setCurrentIndex(0);    // width limit
        w.panel->txtW->setText(QStringLiteral("200"));
        w.panel->chkRM->setChecked(true);
        w.panel->txtFileName->setText(QStringLiteral("Run_"));
        w.panel->txtNum->setText(QStringLiteral("3"));
        w.panel->chkPDF->setChecked(false);
        w.panel->cmbPosImg->setCurrentIndex(0);
        w.panel->txtXp->setText(QStringLiteral("0"));
        w.panel->cmdR[0]->click();  // no rotation
        w.menus->mTXUndo->trigger();
        app->ps.iJPGQ = 85;
        app->ps.sOutDir = out;
    }

    // Every choice of the panel and the menus changed, as a user would while the run goes on.
    void changeEverything(frmMain& w)
    {
        w.panel->cmbEncode->setCurrentIndex(0);  // each source's own format
        w.panel->cmbSize->setCurrentIndex(2);    // the source's size
        w.panel->txtW->setText(QStringLiteral("90"));
        w.panel->chkRM->setChecked(false);
        w.panel->txtFileName->setText(QStringLiteral("Other_"));
        w.panel->txtNum->setText(QStringLiteral("1"));
        w.panel->chkPDF->setChecked(true);
        w.panel->cmbPosImg->setCurrentIndex(4);
        w.panel->txtXp->setText(QStringLiteral("17"));
        w.panel->cmdR[3]->click();  // clockwise
        w.menus->mTX[3]->trigger();
        w.lstFile->setCurrentRow(0);
        app->ps.iJPGQ = 20;                   // as the options dialog stores it
        app->ps.sOutDir = home + "/elsewhere";  // as the folder chooser stores it
        QCoreApplication::processEvents();
    }

    static Files files(const QString& folder)
    {
        Files all;
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile f(dir.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            all[name] = f.readAll();
        }
        return all;
    }

    static std::string names(const Files& f)
    {
        std::string s;
        for (const auto& [name, bytes] : f)
            s += name.toStdString() + " ";
        return s;
    }
};

TEST_F(MainWindowRun, ChoicesChangedDuringARunWaitForTheNextRun)
{
    frmMain& w = open(sources());
    chooseFirst(w, home + "/first");
    w.cmdDone->click();
    const Files first = files(home + "/first");
    ASSERT_EQ(first.size(), 4u) << names(first);
    ASSERT_TRUE(first.count("Run_000.jpg"));

    // The same run, with everything changed once its first picture is saved.
    chooseFirst(w, home + "/changed");
    int yields = 0;
    w.batchRun().yield = [&] {
        QCoreApplication::processEvents();
        if (++yields == 2)
            changeEverything(w);
    };
    w.cmdDone->click();
    ASSERT_GE(yields, 2);
    const Files changed = files(home + "/changed");
    EXPECT_EQ(names(changed), names(first));
    EXPECT_TRUE(changed == first) << "a result differs from the run without changes";
    EXPECT_FALSE(QDir(home + "/elsewhere").exists());

    // The run left the choices as the user made them.
    EXPECT_EQ(w.panel->cmbEncode->currentText(), QStringLiteral("原格式"));
    EXPECT_EQ(app->ps.sOutFormat, QStringLiteral("原格式"));
    EXPECT_EQ(app->panel.cmbEncode, QStringLiteral("原格式"));
    EXPECT_EQ(app->ps.sOutDir, home + "/elsewhere");
    EXPECT_EQ(app->panel.chkPDF, 1);

    // Back to the first choices: the next run saves what the first one saved.
    w.batchRun().yield = [] { QCoreApplication::processEvents(); };
    chooseFirst(w, home + "/next");
    w.cmdDone->click();
    const Files next = files(home + "/next");
    EXPECT_EQ(names(next), names(first));
    EXPECT_TRUE(next == first) << "the next run saves differently";
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));
}

// After a run that was stopped, the window says so and how many were saved.
TEST_F(MainWindowRun, AStoppedRunSaysHowManyPicturesWereSaved)
{
    frmMain& w = open(sources());
    chooseFirst(w, home + "/stopped");
    int yields = 0;
    w.batchRun().yield = [&] {
        QCoreApplication::processEvents();
        if (++yields == 4)  // after the second picture is saved
            w.cmdStop->click();
    };
    w.cmdDone->click();
    EXPECT_EQ(files(home + "/stopped").size(), 2u);
    EXPECT_EQ(app->status.text(), QStringLiteral("【提示】处理已停止！已保存 2 张图片。"));
    EXPECT_TRUE(w.cmdDone->isEnabled());
}

// Uploads run on the window's thread: the window must answer during every
// wait of one. A server that stops reading a result and then answers nothing,
// QUIT neither: while the upload waits on it, a menu opens and 停止 is taken
// (the run ends after the picture in hand). Short limits; the server ends
// itself after a minute, so a client that would wait for ever shows as a
// window that did not answer for that long.
TEST_F(MainWindowRun, TheWindowAnswersWhileAnUploadWaitsOnAServerThatFellSilent)
{
    // Noise, so the result is far larger than what the server reads.
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        QImage noise(800, 600, QImage::Format_RGB32);
        QRandomGenerator random(7 + i);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate() | 0xff000000u);
        const QString path = home + QStringLiteral("/src/n%1.png").arg(i);
        QDir().mkpath(home + "/src");
        ASSERT_TRUE(noise.save(path));
        paths << path;
    }
    frmMain& w = open(paths);
    chooseFirst(w, home + "/silent");
    w.panel->cmbSize->setCurrentIndex(2);  // the source's size
    QDir().mkpath(home + "/served");
    FtpServer server((home + "/served").toStdString(), "vimo", "pw",
                     {{FtpServer::Fault::BigBuffer, ""},
                      {FtpServer::Fault::StopsReading, "102400"},
                      {FtpServer::Fault::NoQuit, ""},
                      {FtpServer::Fault::ExitAfter, "60"}});
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    app->panel.chkFtp = 1;
    app->ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
    app->ftp.sFtpUser = "vimo";
    app->ftp.sFtpPass = "pw";
    BatchRun& run = w.batchRun();
    attachUpload(run, breathingUploader(run, FtpTimeouts{10, 3, 2, 2, 1 << 30, 2}), home + "/user");

    QElapsedTimer clock;
    qint64 last = -1, longest = 0;
    bool menuOpened = false, stopTaken = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (last >= 0)
            longest = std::max(longest, now - last);
        last = now;
        if (stopTaken || server.uploadsAsked() == 0)
            return;
        QMenu* menu = w.menuBar()->actions().first()->menu();
        menu->popup(w.mapToGlobal(QPoint(10, 10)));
        menuOpened = menu->isVisible();
        menu->close();
        w.cmdStop->click();
        stopTaken = !w.cmdStop->isEnabled();
    });
    clock.start();
    tick.start(100);
    w.cmdDone->click();
    tick.stop();

    EXPECT_TRUE(menuOpened);
    EXPECT_TRUE(stopTaken);
    EXPECT_LT(longest, 10000) << "the window did not answer for " << longest << " ms";
    EXPECT_LT(clock.elapsed(), 50000) << "the run ended only when the server went away";
    EXPECT_EQ(server.uploadsAsked(), 1);
    EXPECT_EQ(files(home + "/silent").size(), 2u) << "the picture in hand and its error log";
    EXPECT_TRUE(w.cmdDone->isEnabled());
}

} // namespace
