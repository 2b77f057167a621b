#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

#include "DamagedJpegs.h"
#include "PanelFixture.h"
#include "settings/FtpTarget.h"
#include "settings/frmDlg.h"
#include "settings/frmFtp.h"

namespace {

class FtpTarget : public PanelFixture {
protected:
    // Upload switched on with a server, which is then lost: the state a run
    // can meet.
    void uploadOnWithoutServer()
    {
        app->ftp.sFtpServer = QStringLiteral("ftp.example.org");
        window->panel->chkFtp->setChecked(true);
        app->ftp.sFtpServer = QStringLiteral("ftp://");
        window->execChooser = [](frmDlg& dlg) {
            dlg.cmdCancel_Click();
            return dlg.result();
        };
    }
    void fillAndConfirm(frmFtp& dlg, bool remember)
    {
        dlg.txtServer->setText(QStringLiteral("  ftp://127.0.0.1:2121/ "));
        dlg.txtUser->setText(QStringLiteral("vimo"));
        dlg.txtPass->setText(QStringLiteral("s3cret"));
        dlg.txtRoot->setText(QStringLiteral("/www"));
        dlg.txtDir->setText(QStringLiteral("pics"));
        dlg.txtWebURL->setText(QStringLiteral("http://example.org"));
        dlg.chkRemember->setChecked(remember);
        dlg.cmdOK_Click();
    }
    // A target kept from an earlier use, its password remembered.
    static void keepTarget()
    {
        SettingsStore earlier;
        earlier.clear();
        for (const auto& [key, value] : kKept)
            earlier.writeText(QString::fromLatin1(key), QString::fromUtf8(value));
        ASSERT_TRUE(earlier.sync());
    }
    // What the settings file holds of the target, in the order of kKept.
    static QStringList storedTarget()
    {
        const SettingsStore now;
        QStringList values;
        for (const auto& [key, value] : kKept)
            values << now.text(QString::fromLatin1(key));
        return values;
    }
    // What a dialog shows, in the order of kKept.
    static QStringList shownTarget(const frmFtp& dlg)
    {
        return {dlg.txtServer->text(), dlg.txtUser->text(), dlg.txtPass->text(),
                dlg.txtRoot->text(),   dlg.txtDir->text(),  dlg.txtWebURL->text()};
    }
    static QStringList keptValues()
    {
        QStringList values;
        for (const auto& [key, value] : kKept)
            values << QString::fromUtf8(value);
        return values;
    }
    static constexpr std::pair<const char*, const char*> kKept[] = {
        {"sFtpServer", "ftp.exmaple.org"}, {"sFtpUser", "vimo"}, {"sFtpPass", "s3cret"},
        {"sFtpRoot", "/www"},              {"sFtpDir", "pics"}, {"sWebURL", "http://example.org"},
    };
    static QString settingsFile()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vimo"), QStringLiteral("Vimo"))
            .fileName();
    }
};

TEST_F(FtpTarget, ServerTexts)
{
    const struct {
        const char *typed, *stored, *problem;
    } cases[] = {
        {"ftp.example.org", "ftp.example.org", ""},
        {" FTP://ftp.example.org:2121/ ", "ftp.example.org:2121", ""},
        {"[::1]:21", "[::1]:21", ""},
        {"ftp://", "", "请输入FTP服务器地址！"},
        {"", "", "请输入FTP服务器地址！"},
        {"host:0", "", "端口号应为1到65535之间的数字！"},
        {"host:70000", "", "端口号应为1到65535之间的数字！"},
        {"host:ab", "", "端口号应为1到65535之间的数字！"},
        {"user@host", "", "FTP服务器地址不正确！"},
        {"a host", "", "FTP服务器地址不正确！"},
    };
    for (const auto& c : cases) {
        QString problem;
        EXPECT_EQ(checkedFtpServer(QString::fromUtf8(c.typed), problem), QString::fromUtf8(c.stored)) << c.typed;
        EXPECT_EQ(problem, QString::fromUtf8(c.problem)) << c.typed;
    }
}

TEST_F(FtpTarget, RunWithUploadAndNoServerAsksAndRefusesWhenCancelled)
{
    openPanel();
    int asked = 0;
    window->panel->execFtpDialog = [&](frmFtp& dlg) {
        ++asked;
        dlg.cmdCancel->click();
        return dlg.result();
    };
    uploadOnWithoutServer();
    asked = 0;  // the tick asked too
    window->cmdDone->click();
    EXPECT_EQ(asked, 1);
    // The empty list is refused first; with a picture the missing server is.
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts.back().text, QStringLiteral("没有添加要处理的图片！"));
    window->addPictures({magick(home + "/src/a.png", 8, 8, "red")}, true);
    window->cmdDone->click();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(prompter.prompts.back().text, QStringLiteral("网络参数还没设置或设置错误！"));
}

// A kept target with a typing error can be mended from the window: every tick
// asks again, the kept values filled in, and what is confirmed is kept.
TEST_F(FtpTarget, EveryTickAsksWithTheKeptTargetFilledIn)
{
    keepTarget();
    SettingsPanel& p = openPanel();
    std::vector<QStringList> shown;
    std::vector<bool> remember;
    p.execFtpDialog = [&](frmFtp& dlg) {
        shown.push_back(shownTarget(dlg));
        remember.push_back(dlg.chkRemember->isChecked());
        if (shown.size() == 1)
            dlg.txtServer->setText(QStringLiteral("ftp.example.org"));
        dlg.cmdOK_Click();
        return dlg.result();
    };
    p.chkFtp->setChecked(true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], keptValues());
    EXPECT_TRUE(remember[0]);
    EXPECT_TRUE(p.chkFtp->isChecked());
    EXPECT_EQ(app->ftp.sFtpServer, QStringLiteral("ftp.example.org"));
    EXPECT_EQ(storedTarget().value(0), QStringLiteral("ftp.example.org"));

    p.chkFtp->setChecked(false);
    EXPECT_EQ(shown.size(), 1u);  // clearing asks nothing
    p.chkFtp->setChecked(true);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].value(0), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(prompter.prompts.size(), 2u);  // the warning on each tick
}

// Giving the target dialog up changes no target: a kept one stays and so does
// the switch; without one the switch goes off, quietly (its handler is not
// run again) and without a word of uploads: the status line says again what
// it said of the picture, a damaged one's fault included. Clearing the switch
// by hand says no more of uploads either.
TEST_F(FtpTarget, GivingTheDialogUpKeepsTheKeptTargetAndTheTip)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    const std::string cut = damagedjpegs::cutInHalf(home.toStdString(), "cut.jpg", "200x150");
    ASSERT_FALSE(cut.empty());
    const QString damaged = QStringLiteral("【提示】图片数据不完整或已损坏,缺少的部分为灰色:cut.jpg");
    const QString uploads = QStringLiteral("【提示】图片将被上传到互联网,请确保网络连接正常。");
    for (const bool kept : {true, false}) {
        settings = std::make_unique<SettingsStore>();
        settings->clear();
        settings->sync();
        settings.reset();
        if (kept)
            keepTarget();
        SettingsPanel& p = openPanel({picture(home + "/p/good.jpg", 200, 150), QString::fromStdString(cut)});
        int asked = 0;
        p.execFtpDialog = [&](frmFtp& dlg) {
            ++asked;
            // Typed over, then given up.
            for (QLineEdit* box : {dlg.txtServer, dlg.txtUser, dlg.txtPass, dlg.txtRoot, dlg.txtDir, dlg.txtWebURL})
                box->setText(QStringLiteral("typo"));
            dlg.cmdCancel->click();
            return dlg.result();
        };
        int handled = 0;
        QObject::connect(p.chkFtp, &QCheckBox::toggled, [&] { ++handled; });
        const QStringList before = storedTarget();
        const UploadModuleState target = app->ftp;
        for (const int entry : {1, 0}) {  // the damaged picture, then a sound one
            SCOPED_TRACE(std::string(kept ? "kept" : "none") + ", entry " + std::to_string(entry));
            window->setListIndex(entry);
            window->lstFile_Click();
            const QString said = app->status.text();
            ASSERT_EQ(said == damaged, entry == 1) << said.toStdString();
            asked = handled = 0;
            p.chkFtp->setChecked(true);
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(handled, 1);
            EXPECT_EQ(p.chkFtp->isChecked(), kept);
            EXPECT_EQ(app->panel.chkFtp, kept ? 1 : 0);
            EXPECT_EQ(app->status.text().toStdString(), (kept ? uploads : said).toStdString());
            EXPECT_EQ(app->ftp.sFtpServer, target.sFtpServer);
            EXPECT_EQ(app->ftp.sFtpUser, target.sFtpUser);
            EXPECT_EQ(app->ftp.sFtpPass, target.sFtpPass);
            EXPECT_EQ(app->ftp.sFtpRoot, target.sFtpRoot);
            EXPECT_EQ(app->ftp.sFtpDir, target.sFtpDir);
            EXPECT_EQ(app->ftp.sWebURL, target.sWebURL);
            EXPECT_EQ(storedTarget(), before);
            if (kept) {
                p.chkFtp->setChecked(false);
                EXPECT_EQ(asked, 1);
                EXPECT_EQ(app->panel.chkFtp, 0);
                EXPECT_EQ(app->status.text().toStdString(), said.toStdString());
            }
        }
        if (kept) {
            EXPECT_EQ(before, keptValues());
        }
        close();
    }
}

TEST_F(FtpTarget, ValuesSurviveARestartThePasswordOnlyWhenRemembered)
{
    for (const bool remember : {false, true}) {
        settings = std::make_unique<SettingsStore>();
        settings->clear();
        settings->sync();
        openPanel();
        window->panel->execFtpDialog = [&](frmFtp& dlg) {
            fillAndConfirm(dlg, remember);
            return dlg.result();
        };
        uploadOnWithoutServer();
        window->cmdDone->click();
        EXPECT_EQ(app->ftp.sFtpServer, QStringLiteral("127.0.0.1:2121"));
        EXPECT_EQ(app->ftp.sFtpPass, QStringLiteral("s3cret"));
        close();

        openPanel();
        EXPECT_EQ(app->ftp.sFtpServer, QStringLiteral("127.0.0.1:2121")) << remember;
        EXPECT_EQ(app->ftp.sFtpUser, QStringLiteral("vimo"));
        EXPECT_EQ(app->ftp.sFtpRoot, QStringLiteral("/www"));
        EXPECT_EQ(app->ftp.sFtpDir, QStringLiteral("pics"));
        EXPECT_EQ(app->ftp.sWebURL, QStringLiteral("http://example.org"));
        EXPECT_EQ(app->ftp.sFtpPass, remember ? QStringLiteral("s3cret") : QString()) << remember;
        if (remember) {
            // Also after the window's own writes at close.
            close();
            EXPECT_EQ(QFileInfo(settingsFile()).permissions() & 0x7777,
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
            openPanel();
            frmFtp dlg(*app, *settings, prompter);
            EXPECT_TRUE(dlg.chkRemember->isChecked());
            EXPECT_EQ(dlg.txtPass->echoMode(), QLineEdit::Password);
        }
        close();
    }
}

TEST_F(FtpTarget, ThePasswordNeverLiesInAFileOthersMayRead)
{
    // A settings file from earlier use, readable by all as new files are.
    {
        SettingsStore earlier;
        earlier.clear();
        earlier.writeText(QStringLiteral("sPrefix"), QStringLiteral("Vimo_"));
        ASSERT_TRUE(earlier.sync());
    }
    const QString file = settingsFile();
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                QFile::ReadOther));
    openPanel();
    // Every change in the settings folder, in order.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(QFileInfo(file).path()).constData(),
                                  IN_ATTRIB | IN_MOVED_TO | IN_CLOSE_WRITE | IN_CREATE),
              0);
    frmFtp dlg(*app, *settings, prompter);
    fillAndConfirm(dlg, true);
    ASSERT_TRUE(settings->sync());

    // The file holds the password once it has last been written (replaced
    // or closed after writing); after that its permissions must not change,
    // or the password was readable by others until they did.
    std::vector<std::pair<uint32_t, QString>> events;
    alignas(inotify_event) char buffer[16384];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            events.emplace_back(e->mask, e->len ? QString::fromUtf8(e->name) : QString());
            p += sizeof(inotify_event) + e->len;
        }
    ::close(watch);
    const QString name = QFileInfo(file).fileName();
    size_t written = events.size();
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].second == name && (events[i].first & (IN_MOVED_TO | IN_CLOSE_WRITE)))
            written = i;
    ASSERT_LT(written, events.size()) << "the settings file was not written";
    for (size_t i = written; i < events.size(); ++i)
        EXPECT_FALSE(events[i].second == name && (events[i].first & IN_ATTRIB))
            << "permissions changed after the password was written";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("s3cret"));
    EXPECT_EQ(QFileInfo(file).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    close();
}

} // namespace
