#include "settings/frmTxtSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "platform/prompter/Prompter.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "widgets/ControlFactory.h"

namespace {

const char* const kPlaceholders[] = {"#当前日期#", "#当前时间#", "#JPG照片拍摄时间#", "#图片原文件名#"};
const QString kStartText = QStringLiteral("Vimo图片批处理");

// Clicks into the size box during the program's run; only the first selects.
int iSizeClicks = 0;

QColor fromColorRef(int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int32_t toColorRef(const QColor& c)
{
    return int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

} // namespace

QImage frmTxtSet::palette()
{
    // Eight columns of hues from pure to dark, over a row of greys.
    static const QRgb columns[8] = {qRgb(255, 0, 0),   qRgb(255, 128, 0), qRgb(255, 255, 0), qRgb(0, 255, 0),
                                    qRgb(0, 255, 255), qRgb(0, 0, 255),   qRgb(128, 0, 255), qRgb(255, 0, 255)};
    static const double shades[5] = {1.0, 0.75, 0.5, 0.25, -0.5};  // negative: towards white
    QImage image(223, 120, QImage::Format_RGB888);
    QPainter p(&image);
    for (int col = 0; col < 8; ++col) {
        const int x0 = col * 223 / 8, x1 = (col + 1) * 223 / 8;
        const QColor base(columns[col]);
        for (int row = 0; row < 5; ++row) {
            const double s = shades[row];
            const QColor c = s >= 0 ? QColor(int(base.red() * s), int(base.green() * s), int(base.blue() * s))
                                    : QColor(base.red() + int((255 - base.red()) * -s),
                                             base.green() + int((255 - base.green()) * -s),
                                             base.blue() + int((255 - base.blue()) * -s));
            p.fillRect(QRect(x0, row * 20, x1 - x0, 20), c);
        }
        const int grey = col * 255 / 7;
        p.fillRect(QRect(x0, 100, x1 - x0, 20), QColor(grey, grey, grey));
    }
    return image;
}

frmTxtSet::frmTxtSet(AppState& app, Prompter& prompter, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), palette_(palette())
{
    build();
    Form_Load();
}

void frmTxtSet::build()
{
    setObjectName(QStringLiteral("frmTxtSet"));
    setWindowTitle(QStringLiteral("设置文本水印"));
    setFixedSize(400, 330);
    setMouseTracking(true);

    Frame2 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame2"), QStringLiteral("参数设置"), {8, 8, 384, 124});
    Frame2->setMouseTracking(true);
    Label1 = makeCaptioned<QLabel>(Frame2, QStringLiteral("Label1"), QStringLiteral("文字:"), {10, 26, 40, 20});
    txtText = makeControl<QComboBox>(Frame2, QStringLiteral("txtText"), QStringLiteral("水印文字"), {52, 24, 320, 24});
    Label2 = makeCaptioned<QLabel>(Frame2, QStringLiteral("Label2"), QStringLiteral("字体:"), {10, 58, 40, 20});
    cmbFont = makeControl<QComboBox>(Frame2, QStringLiteral("cmbFont"), QStringLiteral("字体"), {52, 56, 200, 24});
    Label8 = makeCaptioned<QLabel>(Frame2, QStringLiteral("Label8"), QStringLiteral("大小:"), {262, 58, 40, 20});
    txtSize = makeControl<QLineEdit>(Frame2, QStringLiteral("txtSize"), QStringLiteral("文字大小"), {302, 56, 70, 24});
    Label3 = makeCaptioned<QLabel>(Frame2, QStringLiteral("Label3"), QStringLiteral("颜色:"), {10, 90, 40, 20});
    txtColor = makeControl<QLabel>(Frame2, QStringLiteral("txtColor"), QStringLiteral("颜色"), {52, 88, 60, 24});
    txtColor->setFrameShape(QFrame::Box);
    txtColor->setAutoFillBackground(true);
    txtColor->setCursor(Qt::PointingHandCursor);
    chkB = makeCaptioned<QCheckBox>(Frame2, QStringLiteral("chkB"), QStringLiteral("加粗"), {130, 90, 70, 22});
    chkI = makeCaptioned<QCheckBox>(Frame2, QStringLiteral("chkI"), QStringLiteral("斜体"), {204, 90, 70, 22});
    chkU = makeCaptioned<QCheckBox>(Frame2, QStringLiteral("chkU"), QStringLiteral("下划线"), {278, 90, 90, 22});

    Frame1 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral(" 预览 "), {8, 140, 384, 140});
    txtPre = makeControl<QPlainTextEdit>(Frame1, QStringLiteral("txtPre"), QStringLiteral("预览"), {10, 22, 364, 108});
    // The preview's size is the watermark's size in points, which OK stores; the
    // window font it would inherit is given in pixels and has no point size.
    QFont previewFont = txtPre->font();
    previewFont.setPointSize(9);
    txtPre->setFont(previewFont);
    cmdOK = makeCaptioned<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("确定"), {212, 292, 84, 28});
    cmdNO = makeCaptioned<QPushButton>(this, QStringLiteral("cmdNO"), QStringLiteral("取消"), {304, 292, 84, 28});
    cmdOK->setDefault(true);

    // The palette opens under the swatch, over the preview.
    picColor = makeControl<QLabel>(this, QStringLiteral("picColor"), QStringLiteral("调色板"),
                                   {8 + 52, 8 + 88 + 24, 223, 120});
    picColor->setPixmap(QPixmap::fromImage(palette_));
    picColor->setMouseTracking(true);
    picColor->hide();

    txtText->setEditable(true);
    cmbFont->setEditable(true);
    for (QWidget* w : {static_cast<QWidget*>(txtColor), static_cast<QWidget*>(picColor),
                       static_cast<QWidget*>(Frame2), static_cast<QWidget*>(txtSize)})
        w->installEventFilter(this);
}

void frmTxtSet::Form_Load()
{
    cmbFont->addItems(QFontDatabase::families());
    for (const char* p : kPlaceholders)
        txtText->addItem(QString::fromUtf8(p));
    // Filling an editable list shows its first entry; the box starts with the
    // program's own text instead, and the preview with it and a line break.
    txtText->setCurrentIndex(-1);
    txtText->setEditText(kStartText);
    txtPre->setPlainText(kStartText + QStringLiteral("\r\n"));
    txtSize->setText(QStringLiteral("9"));
    cmbFont->setCurrentIndex(-1);
    cmbFont->setEditText(txtPre->font().family());

    connect(txtText, &QComboBox::editTextChanged, this, &frmTxtSet::txtText_Change);
    connect(txtText, &QComboBox::textActivated, this, &frmTxtSet::txtText_Click);
    connect(cmbFont, &QComboBox::textActivated, this, &frmTxtSet::cmbFont_Click);
    connect(txtSize, &QLineEdit::textChanged, this, &frmTxtSet::txtSize_Change);
    connect(chkB, &QCheckBox::toggled, this, &frmTxtSet::chkB_Click);
    connect(chkI, &QCheckBox::toggled, this, &frmTxtSet::chkI_Click);
    connect(chkU, &QCheckBox::toggled, this, &frmTxtSet::chkU_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTxtSet::cmdOK_Click);
    connect(cmdNO, &QPushButton::clicked, this, &frmTxtSet::cmdNO_Click);

    const ProgramState& ps = app_.ps;
    setPreviewColor(fromColorRef(ps.lColor));
    if (!ps.sText.isEmpty())
        txtText->setEditText(ps.sText);
    // Only the box's text: the preview keeps its font until one is picked.
    if (!ps.sFont.isEmpty())
        cmbFont->setEditText(ps.sFont);
    txtSize->setText(QString::number(ps.iSize));
    chkB->setChecked(ps.sBold);
    chkU->setChecked(ps.sUnderline);
    chkI->setChecked(ps.sItalic);
}

void frmTxtSet::txtText_Change()
{
    txtPre->setPlainText(txtText->currentText());
}

void frmTxtSet::txtText_Click()
{
    // A picked entry replaces the whole text.
    txtText_Change();
}

void frmTxtSet::applyPreviewFont(const QFont& f)
{
    txtPre->setFont(f);
}

void frmTxtSet::cmbFont_Click()
{
    QFont f = txtPre->font();
    f.setFamily(cmbFont->currentText());
    applyPreviewFont(f);
}

void frmTxtSet::txtSize_Change()
{
    const auto v = numtext::toSingle(txtSize->text());
    if (!v || !(*v > 0) || *v > 4096)
        return;
    QFont f = txtPre->font();
    f.setPointSizeF(*v);
    applyPreviewFont(f);
}

void frmTxtSet::txtSize_Click()
{
    if (++iSizeClicks == 1)
        txtSize->selectAll();
}

void frmTxtSet::chkB_Click()
{
    QFont f = txtPre->font();
    f.setBold(chkB->isChecked());
    applyPreviewFont(f);
}

void frmTxtSet::chkI_Click()
{
    QFont f = txtPre->font();
    f.setItalic(chkI->isChecked());
    applyPreviewFont(f);
}

void frmTxtSet::chkU_Click()
{
    QFont f = txtPre->font();
    f.setUnderline(chkU->isChecked());
    applyPreviewFont(f);
}

void frmTxtSet::showSwatch(const QColor& c)
{
    QPalette pal = txtColor->palette();
    pal.setColor(QPalette::Window, c);
    txtColor->setPalette(pal);
}

void frmTxtSet::setPreviewColor(const QColor& c)
{
    color_ = c;
    QPalette pal = txtPre->palette();
    pal.setColor(QPalette::Text, c);
    txtPre->setPalette(pal);
    // A palette change repaints only what was covered; the whole text changes colour.
    txtPre->viewport()->update();
    showSwatch(c);
}

void frmTxtSet::txtColor_Click()
{
    picColor->setVisible(picColor->isHidden());
    picColor->raise();
}

void frmTxtSet::picColor_MouseMove(QPoint pos)
{
    if (palette_.rect().contains(pos))
        showSwatch(palette_.pixelColor(pos));
}

void frmTxtSet::picColor_MouseUp(QPoint pos)
{
    if (palette_.rect().contains(pos))
        setPreviewColor(palette_.pixelColor(pos));
    picColor->hide();
}

void frmTxtSet::Form_MouseMove()
{
    if (picColor->isHidden())
        return;
    showSwatch(color_);
    picColor->hide();
}

void frmTxtSet::Frame2_MouseMove(int y)
{
    if (y < txtColor->y())
        Form_MouseMove();
}

void frmTxtSet::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}

bool frmTxtSet::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (watched == txtColor && type == QEvent::MouseButtonRelease) {
        txtColor_Click();
        return true;
    }
    if (watched == picColor && (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (type == QEvent::MouseMove)
            picColor_MouseMove(pos);
        else
            picColor_MouseUp(pos);
        return true;
    }
    if (watched == Frame2 && type == QEvent::MouseMove)
        Frame2_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().y());
    if (watched == txtSize && type == QEvent::MouseButtonRelease)
        txtSize_Click();
    return QDialog::eventFilter(watched, event);
}

void frmTxtSet::cmdOK_Click()
{
    if (txtText->currentText().isEmpty()) {
        prompter_.message(QStringLiteral("文字不能为空！"), QString(), PromptIcon::Critical);
        txtText->setFocus();
        return;
    }
    if (txtSize->text().isEmpty()) {
        prompter_.message(QStringLiteral("文字大小不能为空！"), QString(), PromptIcon::Critical);
        txtSize->setFocus();
        return;
    }
    ProgramState& ps = app_.ps;
    // The preview keeps line breaks as "\n"; the text is stored with CR LF.
    ps.sText = txtPre->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    ps.iSize = int(std::lrint(txtPre->font().pointSizeF()));
    ps.lColor = toColorRef(color_);
    ps.sFont = cmbFont->currentText();
    ps.sBold = chkB->isChecked();
    ps.sUnderline = chkU->isChecked();
    ps.sItalic = chkI->isChecked();
    accept();
}

void frmTxtSet::cmdNO_Click()
{
    // Nothing was written while the dialog was open, so what was set stays.
    reject();
}
