#include "settings/frmOption.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "settings/OptionValues.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"
#include "widgets/ControlFactory.h"

namespace {

constexpr QRect kPage{8, 8, 454, 282};

QCheckBox* checkBox(QWidget* page, const char* name, const char* caption, int y)
{
    return makeCaptioned<QCheckBox>(page, QString::fromLatin1(name), QString::fromUtf8(caption), {12, y, 430, 20});
}

void setBox(QCheckBox* box, int value)
{
    box->setChecked(value != 0);
}

int boxValue(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

// 0, 1 or 2 for the selected option of a group; `old` when none is.
int selected(const std::array<QRadioButton*, 3>& group, int old)
{
    for (int i = 0; i < 3; ++i)
        if (group[size_t(i)]->isChecked())
            return i;
    return old;
}

} // namespace

frmOption::frmOption(AppState& app, SettingsStore& settings, QWidget* parent)
    : QDialog(parent), app_(app), settings_(settings)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("选项"));
    setAccessibleName(windowTitle());
    setFixedSize(470, 336);
    buildPdfPage();
    buildGeneralPage();
    cmdOK = makeCaptioned<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("确定"), {282, 300, 86, 28});
    cmdNO = makeCaptioned<QPushButton>(this, QStringLiteral("cmdNO"), QStringLiteral("取消"), {376, 300, 86, 28});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);
    connect(cmdNO, &QPushButton::clicked, this, &frmOption::cmdNO_Click);
    connect(chkAutoURL, &QCheckBox::toggled, this, &frmOption::chkAutoURL_Click);
    connect(chkJQ, &QCheckBox::toggled, this, &frmOption::chkJQ_Click);
    for (QLineEdit* box : {hsOpt[0], hsOpt[1], txtPDF1, txtPDF2})
        box->installEventFilter(this);
    Form_Load();
}

void frmOption::buildPdfPage()
{
    framePDF = makeCaptioned<QGroupBox>(this, QStringLiteral("framePDF"), QStringLiteral("请设置下列参数"), kPage);
    const QFont heiti(QStringLiteral("黑体"));
    txtPDF1 = makeControl<QLineEdit>(framePDF, QStringLiteral("txtPDF1"), QStringLiteral("图片集的标题"), {40, 30, 374, 26});
    Shape1 = makeControl<QFrame>(framePDF, QStringLiteral("Shape1"), QStringLiteral("图片区域"), {40, 66, 374, 120});
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setStyleSheet(QStringLiteral("background-color: #c0c0c0;"));
    Label3 = makeCaptioned<QLabel>(Shape1, QStringLiteral("Label3"), QStringLiteral("<<<<图片区域>>>>"), {0, 0, 374, 120});
    Label3->setAlignment(Qt::AlignCenter);
    txtPDF2 = makeControl<QLineEdit>(framePDF, QStringLiteral("txtPDF2"), QStringLiteral("您的签名"), {214, 200, 200, 26});
    txtPDF3 = makeControl<QLineEdit>(framePDF, QStringLiteral("txtPDF3"), QStringLiteral("制作日期"), {214, 236, 200, 26});
    txtPDF1->setText(QStringLiteral("图片集的标题"));
    txtPDF2->setText(QStringLiteral("您的签名"));
    txtPDF3->setText(QStringLiteral("制作日期"));
    for (QLineEdit* box : {txtPDF1, txtPDF2, txtPDF3})
        box->setFont(heiti);
    txtPDF1->setAlignment(Qt::AlignCenter);
}

void frmOption::buildGeneralPage()
{
    frameSet = makeCaptioned<QGroupBox>(this, QStringLiteral("frameSet"), QStringLiteral("根据你的需要设置下列参数"), kPage);
    QWidget* page = frameSet;
    Label1 = makeCaptioned<QLabel>(page, QStringLiteral("Label1"),
                                   QStringLiteral("输出JPG图片质量(0-100,质量越好文件越大):"), {12, 26, 330, 20});
    hsOpt[0] = makeControl<QLineEdit>(page, QStringLiteral("hsOpt(0)"), QStringLiteral("图片质量"), {346, 24, 60, 22});
    Label2 = makeCaptioned<QLabel>(page, QStringLiteral("Label2"),
                                   QStringLiteral("幻灯片播放时图片切换的时间间隔(1-30秒):"), {12, 54, 330, 20});
    hsOpt[1] = makeControl<QLineEdit>(page, QStringLiteral("hsOpt(1)"), QStringLiteral("切换间隔"), {346, 52, 60, 22});
    hsOpt[0]->setText(QStringLiteral("100"));
    hsOpt[1]->setText(QStringLiteral("1"));

    chkAutoODir = checkBox(page, "chkAutoODir", "处理结束后自动打开输出目录查看处理好的图片。", 82);
    chkAutoURL = checkBox(page, "chkAutoURL", "上传结束后自动打开PicURL.htm查看上传好的图片。", 82);
    chkShowURL = checkBox(page, "chkShowURL", "PicURL.htm输出网络图片地址。", 82);
    chkShowURLPic = checkBox(page, "chkShowURLPic", "PicURL.htm输出并显示网络图片。", 82);
    chkSaveErr = checkBox(page, "chkSaveErr", "输出图片处理过程中的错误记录。", 106);
    chkJQ = checkBox(page, "chkJQ", "图片缩放不合比例时剪切图片(不选则扩充画布)。", 130);
    chkShowToday = checkBox(page, "chkShowToday", "软件启动时显示最新消息和广告。", 154);
    chkNewVer = checkBox(page, "chkNewVer", "软件启动时自动检测新版本。", 154);
    for (QCheckBox* box : {chkAutoODir, chkAutoURL, chkShowURL, chkShowURLPic, chkJQ, chkShowToday})
        box->setChecked(true);
    // The upload-page switches and the version check have no use on this
    // page; they keep their values through every OK.
    for (QCheckBox* box : {chkAutoURL, chkShowURL, chkShowURLPic, chkNewVer})
        box->hide();

    auto* horizontal = new QButtonGroup(page);
    Option1 = makeCaptioned<QRadioButton>(page, QStringLiteral("Option1"), QStringLiteral("左优先"), {12, 186, 90, 22});
    Option2 = makeCaptioned<QRadioButton>(page, QStringLiteral("Option2"), QStringLiteral("中间优先"), {104, 186, 90, 22});
    Option3 = makeCaptioned<QRadioButton>(page, QStringLiteral("Option3"), QStringLiteral("右优先"), {196, 186, 90, 22});
    for (QRadioButton* o : {Option1, Option2, Option3})
        horizontal->addButton(o);
    Option2->setChecked(true);

    Picture1 = makeControl<QFrame>(page, QStringLiteral("Picture1"), QStringLiteral("纵向剪切"), {4, 214, 300, 30});
    auto* vertical = new QButtonGroup(Picture1);
    Option4 = makeCaptioned<QRadioButton>(Picture1, QStringLiteral("Option4"), QStringLiteral("上优先"), {8, 4, 90, 22});
    Option5 = makeCaptioned<QRadioButton>(Picture1, QStringLiteral("Option5"), QStringLiteral("中间优先"), {100, 4, 90, 22});
    Option6 = makeCaptioned<QRadioButton>(Picture1, QStringLiteral("Option6"), QStringLiteral("下优先"), {192, 4, 90, 22});
    for (QRadioButton* o : {Option4, Option5, Option6})
        vertical->addButton(o);
    Option4->setChecked(true);
}

void frmOption::Form_Load()
{
    const ProgramState& ps = app_.ps;
    hsOpt[0]->setText(QString::number(ps.iJPGQ));
    hsOpt[1]->setText(QString::number(ps.iSlideTime));
    setBox(chkAutoODir, ps.bAutoODir);
    setBox(chkAutoURL, ps.bAutoURL);
    setBox(chkShowURL, ps.bShowURL);
    setBox(chkShowURLPic, ps.bShowURLPic);
    setBox(chkSaveErr, ps.bSaveErr);
    setBox(chkJQ, ps.bPicJQ);
    setBox(chkNewVer, ps.bNewVer);
    setBox(chkShowToday, ps.bShowToday);
    const std::array<QRadioButton*, 3> across{Option1, Option2, Option3};
    const std::array<QRadioButton*, 3> down{Option4, Option5, Option6};
    if (ps.iXCutMode >= 0 && ps.iXCutMode <= 2)
        across[size_t(ps.iXCutMode)]->setChecked(true);
    if (ps.iYCutMode >= 0 && ps.iYCutMode <= 2)
        down[size_t(ps.iYCutMode)]->setChecked(true);
    txtPDF1->setText(ps.sPDF1);
    txtPDF2->setText(ps.sPDF2);
    txtPDF3->setText(ps.sPDF3);
}

void frmOption::showPdfPage()
{
    setWindowTitle(QStringLiteral("PDF参数设置"));
    framePDF->show();
    frameSet->hide();
}

void frmOption::showGeneralPage()
{
    framePDF->hide();
    frameSet->show();
}

void frmOption::cmdOK_Click()
{
    ProgramState& ps = app_.ps;
    if (const auto q = options::boundedNumber(hsOpt[0]->text(), options::kMinQuality, options::kMaxQuality))
        ps.iJPGQ = uint8_t(*q);
    if (const auto s = options::boundedNumber(hsOpt[1]->text(), options::kMinSlideSeconds, options::kMaxSlideSeconds))
        ps.iSlideTime = *s;
    ps.bAutoODir = boxValue(chkAutoODir);
    ps.bAutoURL = boxValue(chkAutoURL);
    ps.bShowURL = boxValue(chkShowURL);
    ps.bShowURLPic = boxValue(chkShowURLPic);
    ps.bSaveErr = boxValue(chkSaveErr);
    ps.bPicJQ = boxValue(chkJQ);
    ps.bShowToday = boxValue(chkShowToday);
    ps.bNewVer = boxValue(chkNewVer);
    ps.iXCutMode = selected({Option1, Option2, Option3}, ps.iXCutMode);
    ps.iYCutMode = selected({Option4, Option5, Option6}, ps.iYCutMode);
    ps.sPDF1 = txtPDF1->text();
    ps.sPDF2 = txtPDF2->text();
    ps.sPDF3 = txtPDF3->text();
    saveOptions(settings_, ps);
    if (ReDrawPic)
        ReDrawPic();
    done(QDialog::Accepted);
}

void frmOption::cmdNO_Click()
{
    done(QDialog::Rejected);
}

void frmOption::chkAutoURL_Click()
{
    chkShowURL->setEnabled(chkAutoURL->isChecked());
    chkShowURLPic->setEnabled(chkAutoURL->isChecked());
}

void frmOption::chkJQ_Click()
{
    for (QRadioButton* o : {Option1, Option2, Option3, Option4, Option5, Option6})
        o->setEnabled(chkJQ->isChecked());
}

bool frmOption::eventFilter(QObject* watched, QEvent* event)
{
    // A click in these boxes selects their whole text, so typing replaces it.
    if (event->type() == QEvent::MouseButtonRelease)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    return QDialog::eventFilter(watched, event);
}
