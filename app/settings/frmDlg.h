#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTreeView;
struct AppState;
class SettingsStore;

// The program's own chooser of a folder or picture files, opened modally in
// the mode the caller wrote into iDlgMode: 0 a folder (optionally with its
// sub-folders), 1 picture files, 2 the picture watermark with its opacity,
// 4 a skin file. OK stores the result by mode and remembers the folder;
// Cancel and Esc store nothing (a folder choice then leaves sODIR empty).
class frmDlg : public QDialog {
    Q_OBJECT
public:
    frmDlg(AppState& app, SettingsStore& settings, QWidget* parent = nullptr);

    // Opens a folder in the folder list; an empty or missing one opens the home folder.
    void setFolder(const QString& path);
    QString folder() const { return folder_; }
    // The file list shows the files matching these patterns ("*.png;*.jpg"),
    // compared without regard to letter case.
    void setPattern(const QString& patterns);
    // Files chosen in mode 1, as full paths, in the list's order.
    QStringList chosenFiles() const { return chosen_; }
    // The watermark's opacity confirmed in mode 2, 0..100; none when the box
    // held no number or the dialog was not confirmed in that mode.
    std::optional<int> chosenOpacity() const { return opacity_; }
    // Selects files of the file list by name (what a click does).
    void selectFiles(const QStringList& names);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDir0_Click();
    void cmdDir1_Click();
    void cmdDirNew_Click();
    void File1_Click();
    // The folder list's current folder was chosen (clicked or moved to with the keys).
    void Dir1_Click();

    QLabel* Label1;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QListWidget* File1;
    QCheckBox* chkSelAll;
    QGroupBox* Frame1;
    QLabel* Image1;
    QLabel* Picture1;
    QGroupBox* frmSY;
    QScrollBar* HScroll1;
    QLineEdit* txtSYAlpha;
    QLabel* Label2;
    QPushButton *cmdDir0, *cmdDir1, *cmdDirNew, *cmdOK, *cmdCancel;

    void accept() override { cmdOK_Click(); }
    // Esc and the window's close box leave without the Cancel steps: the
    // callers' fields (sODIR, sSyFile) keep what they held. The caller sees
    // a dialog that was not confirmed.
    void reject() override { done(QDialog::Rejected); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void Form_Load();
    void fillFiles();
    void keepFolderInView(const QString& loaded);
    void updateOk();
    QStringList selectedNames() const;

    AppState& app_;
    SettingsStore& settings_;
    QFileSystemModel* dirModel_;
    QString folder_;
    bool followFolder_ = true;  // until the user scrolls the folder list away
    QStringList patterns_;
    QStringList chosen_;
    std::optional<int> opacity_;
};
