#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppState;
class SettingsStore;
class Prompter;

// Where uploads go: server ("host" or "host:port"), user, password, remote
// root and folder, and the web address that serves them. Opened with exec();
// OK checks the server, puts the values into the upload state and keeps them
// in the settings file, the password only when "记住密码" is ticked.
class frmFtp : public QDialog {
    Q_OBJECT
public:
    frmFtp(AppState& app, SettingsStore& settings, Prompter& prompter, QWidget* parent = nullptr);

    void cmdOK_Click();

    QLineEdit *txtServer, *txtUser, *txtPass, *txtRoot, *txtDir, *txtWebURL;
    QCheckBox* chkRemember;
    QPushButton *cmdOK, *cmdCancel;

private:
    AppState& app_;
    SettingsStore& settings_;
    Prompter& prompter_;
};
