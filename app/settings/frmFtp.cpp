#include "settings/frmFtp.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/prompter/Prompter.h"
#include "settings/FtpTarget.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"
#include "widgets/ControlFactory.h"

frmFtp::frmFtp(AppState& app, SettingsStore& settings, Prompter& prompter, QWidget* parent)
    : QDialog(parent), app_(app), settings_(settings), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmFtp"));
    setWindowTitle(QStringLiteral("上传设置"));
    setFixedSize(400, 274);
    const struct {
        const char* label;
        const char* name;
        QLineEdit** box;
        QString value;
    } rows[] = {
        {"服务器:", "txtServer", &txtServer, app.ftp.sFtpServer},
        {"用户名:", "txtUser", &txtUser, app.ftp.sFtpUser},
        {"密码:", "txtPass", &txtPass, app.ftp.sFtpPass},
        {"根路径:", "txtRoot", &txtRoot, app.ftp.sFtpRoot},
        {"远程文件夹:", "txtDir", &txtDir, app.ftp.sFtpDir},
        {"网址:", "txtWebURL", &txtWebURL, app.ftp.sWebURL},
    };
    int y = 12;
    for (const auto& r : rows) {
        const QString label = QString::fromUtf8(r.label);
        makeCaptioned<QLabel>(this, QStringLiteral("lbl") + QString::fromLatin1(r.name).mid(3), label, {12, y + 2, 96, 20});
        *r.box = makeControl<QLineEdit>(this, QString::fromLatin1(r.name), label.chopped(1), {110, y, 276, 24});
        (*r.box)->setText(r.value);
        y += 32;
    }
    txtServer->setPlaceholderText(QStringLiteral("ftp.example.com:21"));
    txtPass->setEchoMode(QLineEdit::Password);
    chkRemember = makeCaptioned<QCheckBox>(this, QStringLiteral("chkRemember"), QStringLiteral("记住密码"), {110, y, 200, 22});
    chkRemember->setChecked(settings.contains(QStringLiteral("sFtpPass")));
    cmdOK = makeCaptioned<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("确定"), {210, y + 30, 84, 28});
    cmdCancel = makeCaptioned<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"), {302, y + 30, 84, 28});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmFtp::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFtp::cmdOK_Click()
{
    QString problem;
    const QString server = checkedFtpServer(txtServer->text(), problem);
    if (server.isEmpty()) {
        prompter_.message(problem, QString(), PromptIcon::Critical);
        txtServer->setFocus();
        return;
    }
    UploadModuleState& ftp = app_.ftp;
    ftp.sFtpServer = server;
    ftp.sFtpUser = txtUser->text();
    ftp.sFtpPass = txtPass->text();
    ftp.sFtpRoot = txtRoot->text().trimmed();
    ftp.sFtpDir = txtDir->text().trimmed();
    ftp.sWebURL = txtWebURL->text().trimmed();
    if (!saveFtpTarget(settings_, ftp, chkRemember->isChecked()))
        prompter_.message(QStringLiteral("上传设置未能保存到设置文件,本次运行仍然有效。"), QString(), PromptIcon::Exclamation);
    accept();
}
