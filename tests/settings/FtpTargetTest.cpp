#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

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
