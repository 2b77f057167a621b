#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;
struct AppState;
class SettingsStore;
class Prompter;
class Shell;
class PanelCommands;
class PreviewServices;
class frmDlg;
class frmTxtSet;
class frmFtp;

// Where the window puts the panel's controls: the four frames of the panel,
// the preview area (the colour-matrix and brightness panels float over it)
// and the tool strip along the preview's top (the rotation buttons).
struct PanelFrames {
    QWidget* size = nullptr;
    QWidget* watermarks = nullptr;
    QWidget* output = nullptr;
    QWidget* colours = nullptr;
    QWidget* preview = nullptr;
    QWidget* toolStrip = nullptr;
};

// The main window's settings panel: size, border and format; the watermarks
// and the picture's start point; the output switches; colours, rotation and
// effects. Its handlers keep the program state in step with the controls and
// ask the window (PreviewServices) to redraw. Buttons that share a menu
// command forward to PanelCommands; with none set they do nothing.
class SettingsPanel : public QObject {
    Q_OBJECT
public:
    SettingsPanel(AppState& app, SettingsStore& settings, Prompter& prompter, Shell& shell,
                  PreviewServices& window, const PanelFrames& frames, QObject* parent = nullptr);
    ~SettingsPanel() override;

    void setCommands(PanelCommands* commands) { commands_ = commands; }
    PanelCommands* commands() const { return commands_; }

    // The load: fills the choice boxes, then selects the stored choices (which
    // raises their handlers) and ticks the watermarks that have a text or file.
    void fillChoiceBoxes();
    void restoreChoices();

    // Where the modal dialogs are opened, so that tests can drive them.
    std::function<int(frmDlg&)> execChooser;
    std::function<int(frmTxtSet&)> execTextDialog;
    std::function<int(frmFtp&)> execFtpDialog;

    // The text-watermark dialog as the menu opens it: OK takes the text and
    // ticks the switch; Cancel leaves text, switch and position as they were.
    // Returns true on OK.
    bool editTextWatermark();
    // Asks for the FTP target; true when the user confirmed one.
    bool askFtpTarget();
    // True when the FTP target has a server other than the empty "ftp://".
    bool ftpTargetSet() const;

    // Short form of a path for a label: up to 22 characters whole, else the
    // first 3, "..." and the last 17.
    static QString shortForm(const QString& path);

    // --- size, border and format
    void cmbSize_Click();
    void txtW_Change();
    void txtH_Change();
    void txtW_Click();
    void txtH_Click();
    void cmbBK_Click();
    void cmbEncode_Click();
    // Where "网络下载边框..." leads.
    static const QString kBorderDownloadPage;

    // --- watermarks and start point
    void cmbPos_Click();
    void cmbPosImg_Click();
    void chkInfoTxt_Click();
    void chkInfoImg_Click();
    void txtAlpha_Change();
    void txtSize_Change();
    void txtXp_Change();
    void txtYp_Change();
    void txtAlpha_Click();
    void txtSize_Click();
    void txtXp_Click();
    void txtYp_Click();
    void cmdTSet_Click();
    void cmdSetP_Click();
    void cmdSetPos_Click();
    void cmdSetPX0_Click();
    void cmdSetPY0_Click();

    // --- output
    void chkFtp_Click();
    void chkPDF_Click();
    void chkRM_Click();
    void txtFileName_Change();
    void txtFileName_Click();
    void txtFileName_DblClick();
    void txtNum_Click();
    void cmdODir_Click();
    void cmdOption_Click();
    void cmdPDFSet_Click();
    void cmdImgCut_Click();

    // --- colours, rotation, effects
    void Text1_Change(int index);
    void cmdJZOK_Click();
    void cmdJZCancel_Click();
    void txtRGB_Change(int index);
    void txtRGB_Click(int index);
    void SetColorFactors(float r, float g, float b, float a);
    void cmdRGB_Click(int index);
    void sldLD_Change();
    void cmdLD_Click();
    void cmdCloseTZ_Click();
    void cmdMR_Click();
    void cmdR_Click(int index);
    void cmdTX_Click();
    // Shows the colour-matrix panel with its buttons.
    void showColourMatrix();

    // Controls, named as in the design.
    QComboBox *cmbSize, *cmbBK, *cmbEncode;
    QLineEdit *txtW, *txtH;
    QCheckBox *chkInfoTxt, *chkInfoImg;
    QComboBox *cmbPos, *cmbPosImg;
    QLabel *lTxt, *lSY;
    QLineEdit *txtAlpha, *txtSize, *txtXp, *txtYp;
    QPushButton *cmdTSet, *cmdSetP, *cmdSetPos, *cmdSetPX0, *cmdSetPY0;
    QCheckBox *chkFtp, *chkPDF, *chkRM;
    QPushButton *cmdPDFSet, *cmdODir, *cmdOption, *cmdImgCut;
    QLineEdit *txtFileName, *txtNum;
    QLabel* lOut;
    QGroupBox* frmeJZ;
    std::array<QLineEdit*, 25> Text1{};
    QPushButton *cmdJZOK, *cmdJZCancel;
    std::array<QLineEdit*, 3> txtRGB{};
    std::array<QPushButton*, 3> cmdRGB{};
    QFrame* frmTZ;
    QSlider* sldLD;
    QPushButton *cmdLD, *cmdCloseTZ, *cmdMR, *cmdTX;
    std::array<QPushButton*, 8> cmdR{};  // no button at index 1

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSizeControls(QWidget* box);
    void buildWatermarkControls(QWidget* box);
    void buildOutputControls(QWidget* box);
    void buildColourControls(QWidget* box, QWidget* preview, QWidget* toolStrip);
    // Runs the handler on every change and on a pick of the chosen entry.
    void connectChoice(QComboBox* box, void (SettingsPanel::*handler)());
    void connectSize();
    void connectWatermarks();
    void connectOutput();
    void connectColours();
    void addLocalBorders();
    void showBorderInUse();
    bool putSize(const QString& width, const QString& height);
    bool scanBorderFolder(const QString& folder);
    // The panel's select-on-first-click rule: the first click of a box in the
    // window's life selects its text; every click shows its tip.
    void clickBox(QLineEdit* box, const QString& tip);
    // Shows a label's text, with its whole text as tool tip when shortened.
    static void setLabel(QLabel* label, const QString& text, const QString& full);
    void showTextWatermark();
    void showOutputFolder(const QString& folderText);
    // The warning and the target dialog of a tick of the upload switch;
    // false when no target is kept after them.
    bool confirmUpload();
    int runTextDialog();

    AppState& app;
    SettingsStore& settings_;
    Prompter& prompter_;
    Shell& shell_;
    PreviewServices& window_;
    PanelCommands* commands_ = nullptr;
    QWidget* outputBox_ = nullptr;
    QSet<QLineEdit*> clicked_;
};
