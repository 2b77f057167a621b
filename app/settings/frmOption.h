#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct AppState;
class SettingsStore;

// The options dialog: a PDF page (the three texts of a run's PDF document)
// and a general page (quality, slide-show interval, switches of the run, crop
// anchors) lying on top of each other; the opener shows one of them. It
// loads its values from the program state when it is made; OK stores them
// back, saves each to the settings at once and redraws the preview; Cancel
// stores nothing.
class frmOption : public QDialog {
    Q_OBJECT
public:
    frmOption(AppState& app, SettingsStore& settings, QWidget* parent = nullptr);

    void showPdfPage();      // caption "PDF参数设置"
    void showGeneralPage();  // the dialog's own caption

    void cmdOK_Click();
    void cmdNO_Click();
    void chkAutoURL_Click();
    void chkJQ_Click();

    // Redraws the main window's preview after OK.
    std::function<void()> ReDrawPic;

    QGroupBox *framePDF, *frameSet;
    QLineEdit *txtPDF1, *txtPDF2, *txtPDF3;
    QLabel *Label1, *Label2, *Label3;
    QFrame* Shape1;
    std::array<QLineEdit*, 2> hsOpt{};  // 0 quality, 1 slide-show seconds
    QCheckBox *chkAutoODir, *chkAutoURL, *chkShowURL, *chkShowURLPic, *chkSaveErr, *chkJQ, *chkShowToday, *chkNewVer;
    QRadioButton *Option1, *Option2, *Option3;  // horizontal crop anchor
    QFrame* Picture1;
    QRadioButton *Option4, *Option5, *Option6;  // vertical crop anchor
    QPushButton *cmdOK, *cmdNO;

    void accept() override { cmdOK_Click(); }
    void reject() override { cmdNO_Click(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPdfPage();
    void buildGeneralPage();
    void Form_Load();

    AppState& app_;
    SettingsStore& settings_;
};
