#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct AppState;
class Prompter;

// The text-watermark dialog, opened with exec(): text (free or one of four
// placeholders), font, size, colour and styles, with a live preview. OK
// checks the text and size and writes the text-watermark fields of the
// program state; Cancel, Esc and the close box write nothing, so what was set
// before stays. The caller acts on the result (and writes the size box of
// its panel from iSize).
class frmTxtSet : public QDialog {
    Q_OBJECT
public:
    frmTxtSet(AppState& app, Prompter& prompter, QWidget* parent = nullptr);

    void txtText_Change();
    void txtText_Click();
    void cmbFont_Click();
    void txtSize_Change();
    void txtSize_Click();
    void chkB_Click();
    void chkI_Click();
    void chkU_Click();
    void txtColor_Click();
    void picColor_MouseMove(QPoint pos);
    void picColor_MouseUp(QPoint pos);
    void Form_MouseMove();
    void Frame2_MouseMove(int y);
    void cmdOK_Click();
    void cmdNO_Click();

    // The preview's colour, the one OK stores.
    QColor previewColor() const { return color_; }
    // The palette picture: 223 x 120 pixels of colour swatches.
    static QImage palette();

    QGroupBox* Frame2;
    QLabel *Label1, *Label2, *Label3, *Label8;
    QComboBox* txtText;
    QComboBox* cmbFont;
    QLabel* txtColor;
    QLabel* picColor;
    QLineEdit* txtSize;
    QCheckBox *chkB, *chkI, *chkU;
    QGroupBox* Frame1;
    QPlainTextEdit* txtPre;
    QPushButton *cmdOK, *cmdNO;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void build();
    void Form_Load();
    void setPreviewColor(const QColor& c);
    void showSwatch(const QColor& c);
    void applyPreviewFont(const QFont& f);

    AppState& app_;
    Prompter& prompter_;
    QColor color_;
    QImage palette_;
};
