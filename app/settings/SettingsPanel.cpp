// The settings panel's life: its controls are built in the window's frames,
// its handlers connected, the choice boxes filled and the stored choices
// restored at load. The handlers of each control group live in the file
// named for the group.
#include "settings/SettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/folders/ProgramFolders.h"
#include "settings/FtpTarget.h"
#include "settings/PreviewServices.h"
#include "settings/frmDlg.h"
#include "settings/frmFtp.h"
#include "settings/frmTxtSet.h"
#include "state/AppState.h"
#include "widgets/ChoiceSources.h"

SettingsPanel::SettingsPanel(AppState& appState, SettingsStore& settings, Prompter& prompter, Shell& shell,
                             PreviewServices& window, const PanelFrames& frames, QObject* parent)
    : QObject(parent), app(appState), settings_(settings), prompter_(prompter), shell_(shell), window_(window),
      outputBox_(frames.output)
{
    setObjectName(QStringLiteral("SettingsPanel"));
    buildSizeControls(frames.size);
    buildWatermarkControls(frames.watermarks);
    buildOutputControls(frames.output);
    buildColourControls(frames.colours, frames.preview, frames.toolStrip);
    connectSize();
    connectWatermarks();
    connectOutput();
    connectColours();
    for (QLineEdit* box : {txtW, txtH, txtAlpha, txtSize, txtXp, txtYp, txtFileName, txtNum})
        box->installEventFilter(this);
    for (QLineEdit* box : txtRGB)
        box->installEventFilter(this);
    app.panel.txtW = txtW->text();
    app.panel.txtH = txtH->text();
    app.panel.txtNum = txtNum->text();
    execChooser = [](frmDlg& dlg) { return dlg.exec(); };
    execTextDialog = [](frmTxtSet& dlg) { return dlg.exec(); };
    execFtpDialog = [](frmFtp& dlg) { return dlg.exec(); };
}

SettingsPanel::~SettingsPanel() = default;

QString SettingsPanel::shortForm(const QString& path)
{
    return path.size() <= 22 ? path : path.left(3) + QStringLiteral("...") + path.right(17);
}

void SettingsPanel::setLabel(QLabel* label, const QString& text, const QString& full)
{
    label->setText(text);
    label->setToolTip(text == full ? QString() : full);
}

void SettingsPanel::clickBox(QLineEdit* box, const QString& tip)
{
    if (!clicked_.contains(box)) {
        clicked_.insert(box);
        box->selectAll();
    }
    window_.showTip(tip);
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The release comes after the press has put the caret, so selecting here
    // is what the user sees.
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const std::pair<QObject*, void (SettingsPanel::*)()> clicks[] = {
            {txtW, &SettingsPanel::txtW_Click},           {txtH, &SettingsPanel::txtH_Click},
            {txtAlpha, &SettingsPanel::txtAlpha_Click},   {txtSize, &SettingsPanel::txtSize_Click},
            {txtXp, &SettingsPanel::txtXp_Click},         {txtYp, &SettingsPanel::txtYp_Click},
            {txtFileName, &SettingsPanel::txtFileName_Click}, {txtNum, &SettingsPanel::txtNum_Click},
        };
        for (const auto& [box, handler] : clicks)
            if (watched == box)
                (this->*handler)();
        for (int i = 0; i < 3; ++i)
            if (watched == txtRGB[size_t(i)])
                txtRGB_Click(i);
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == txtFileName) {
        txtFileName_DblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool SettingsPanel::ftpTargetSet() const
{
    return !app.ftp.sFtpServer.isEmpty() && app.ftp.sFtpServer != u"ftp://";
}

bool SettingsPanel::askFtpTarget()
{
    frmFtp dlg(app, settings_, prompter_, outputBox_ ? outputBox_->window() : nullptr);
    return execFtpDialog(dlg) == QDialog::Accepted;
}

namespace {

const char* const kPositions[] = {"右下", "左下", "左上", "右上", "居中", "自定义"};
const char* const kFormats[] = {"原格式", "jpg", "png", "tiff", "bmp"};

} // namespace

void SettingsPanel::fillChoiceBoxes()
{
    for (QComboBox* box : {cmbPos, cmbPosImg})
        for (const char* p : kPositions)
            box->addItem(QString::fromUtf8(p));
    for (const char* f : kFormats)
        cmbEncode->addItem(QString::fromUtf8(f));
    cmbEncode->setCurrentIndex(0);
    cmbEncode_Click();

    txtAlpha->setText(QString::number(app.ps.iuSYAlpha));

    cmbSize->addItems({QStringLiteral("限制宽度"), QStringLiteral("适应边框"), QStringLiteral("原始尺寸")});
    app.win.sSizeList = readSizeFile(ProgramFolders::sizeFile());
    for (const SizeEntry& row : app.win.sSizeList)
        cmbSize->addItem(row.label);
    cmbSize->addItem(QStringLiteral("自定义尺寸..."));

    cmbBK->addItem(QStringLiteral("无边框"));
    app.win.sBkFiles = QStringList{QString()};
    for (const QString& path : borderFiles(ProgramFolders::borderDir())) {
        if (app.win.sBkFiles.size() >= kMaxChoiceRows)
            break;
        cmbBK->addItem(borderLabel(path));
        app.win.sBkFiles << path;
    }
    cmbBK->addItem(QStringLiteral("添加本地边框..."));
    cmbBK->addItem(QStringLiteral("网络下载边框..."));
}

void SettingsPanel::restoreChoices()
{
    const ProgramState& ps = app.ps;
    loadFtpTarget(app.ftp, settings_);
    app.ps.sPrefix = txtFileName->text();
    cmbSize->setCurrentIndex(ps.iuSize >= 0 && ps.iuSize < cmbSize->count() ? ps.iuSize : 0);
    // Only a real border is restored: the two command entries at the end would
    // open a dialog or a web page while the window loads.
    const int borders = cmbBK->count() - 2;
    cmbBK->setCurrentIndex(ps.iuBk >= 0 && ps.iuBk < borders ? ps.iuBk : 0);
    txtSize->setText(QString::number(ps.iSize));
    if (!ps.sText.isEmpty()) {
        chkInfoTxt->setChecked(true);
        cmbPos->setCurrentIndex(cmbPos->count() - 1);
    }
    if (!ps.sSyFile.isEmpty()) {
        chkInfoImg->setChecked(true);
        cmbPosImg->setCurrentIndex(cmbPosImg->count() - 1);
    }
    // The selections above moved the watermarks to their preset places; the
    // stored free positions hold.
    app.ps.iuTSyX = ps.sngTSyX;
    app.ps.iuTSyY = ps.sngTSyY;
    app.ps.iuISyX = ps.sngISyX;
    app.ps.iuISyY = ps.sngISyY;
    showOutputFolder(app.ps.sOutDir);
}
