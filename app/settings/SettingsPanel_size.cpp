// Size, border and format: the size mode with its width and height, the
// border picture with its two command entries, and the output format.
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <memory>

#include "platform/folders/ProgramFolders.h"
#include "platform/shell/Shell.h"
#include "settings/PreviewServices.h"
#include "settings/SettingsPanel.h"
#include "settings/frmDlg.h"
#include "state/AppState.h"
#include "state/PicturePaths.h"
#include "widgets/BusyCursor.h"
#include "widgets/ChoiceSources.h"
#include "widgets/ControlFactory.h"

const QString SettingsPanel::kBorderDownloadPage = QStringLiteral("https://vimo.sourceforge.io/borders/");

void SettingsPanel::buildSizeControls(QWidget* box)
{
    cmbSize = makeControl<QComboBox>(box, QStringLiteral("cmbSize"), QStringLiteral("图片尺寸"), {8, 8, 184, 24});
    makeCaptioned<QLabel>(box, QStringLiteral("lblW"), QStringLiteral("宽:"), {8, 40, 22, 20});
    txtW = makeControl<QLineEdit>(box, QStringLiteral("txtW"), QStringLiteral("宽度"), {30, 38, 60, 24});
    makeCaptioned<QLabel>(box, QStringLiteral("lblH"), QStringLiteral("高:"), {100, 40, 22, 20});
    txtH = makeControl<QLineEdit>(box, QStringLiteral("txtH"), QStringLiteral("高度"), {122, 38, 60, 24});
    txtW->setText(QStringLiteral("400"));
    txtH->setText(QStringLiteral("300"));
    cmbBK = makeControl<QComboBox>(box, QStringLiteral("cmbBK"), QStringLiteral("边框"), {8, 70, 184, 24});
    makeCaptioned<QLabel>(box, QStringLiteral("lblEncode"), QStringLiteral("格式:"), {8, 104, 40, 20});
    cmbEncode = makeControl<QComboBox>(box, QStringLiteral("cmbEncode"), QStringLiteral("输出格式"), {50, 102, 142, 24});
    cmbSize->setMaxVisibleItems(25);
    cmbBK->setMaxVisibleItems(25);
}

void SettingsPanel::connectChoice(QComboBox* box, void (SettingsPanel::*handler)())
{
    // A change runs the handler, whether the user or the code made it. A pick
    // of the entry that is already chosen changes nothing, yet a command entry
    // picked again after a cancelled dialog must act again: activated() comes
    // right after the change signal of the same pick, so a flag set once the
    // handler returned tells the two cases apart.
    SettingsPanel* panel = this;
    auto justChanged = std::make_shared<bool>(false);
    QObject::connect(box, &QComboBox::currentIndexChanged, panel, [=] {
        (panel->*handler)();
        *justChanged = true;
        QTimer::singleShot(0, panel, [justChanged] { *justChanged = false; });
    });
    QObject::connect(box, &QComboBox::activated, panel, [=] {
        if (*justChanged)
            *justChanged = false;
        else
            (panel->*handler)();
    });
}

void SettingsPanel::connectSize()
{
    connectChoice(cmbSize, &SettingsPanel::cmbSize_Click);
    connectChoice(cmbBK, &SettingsPanel::cmbBK_Click);
    connect(cmbEncode, &QComboBox::currentIndexChanged, this, &SettingsPanel::cmbEncode_Click);
    connect(txtW, &QLineEdit::textChanged, this, &SettingsPanel::txtW_Change);
    connect(txtH, &QLineEdit::textChanged, this, &SettingsPanel::txtH_Change);
}

void SettingsPanel::cmbSize_Click()
{
    txtW->setEnabled(false);
    txtH->setEnabled(false);
    const int mode = cmbSize->currentIndex();
    app.ps.iSizeMode = mode;
    app.panel.cmbSizeCount = cmbSize->count();
    if (mode == 0) {
        const bool troubleSaid = putSize(QStringLiteral("500"), QStringLiteral("0"));
        txtW->setEnabled(true);
        if (!troubleSaid)
            window_.showTip(QStringLiteral("【提示】输入图片宽度,高度将按原图片比例自动换算。"));
    } else if (mode == 1 || mode == 2) {
        // While the window loads, a list without borders must not open the
        // folder chooser of the command entry that follows "无边框".
        if (mode == 1 && cmbBK->currentIndex() == 0 && (cmbBK->count() > 3 || app.ps.iReady == 1))
            cmbBK->setCurrentIndex(1);
        txtW->setText(QStringLiteral("0"));
        txtH->setText(QStringLiteral("0"));
        window_.redrawPreview();
    } else if (mode + 1 == cmbSize->count()) {
        txtW->setEnabled(true);
        txtH->setEnabled(true);
        const bool troubleSaid = putSize(QStringLiteral("400"), QStringLiteral("300"));
        if (app.ps.iReady == 1) {
            txtW->setFocus();
            txtW->selectAll();
        }
        if (!troubleSaid)
            window_.showTip(QStringLiteral("【提示】请输入图片宽度和高度。"));
    } else if (mode >= 3 && mode - 3 < int(app.win.sSizeList.size()) && mode - 3 < kMaxChoiceRows) {
        txtW->setText(app.win.sSizeList[size_t(mode - 3)].width);
        txtH->setText(app.win.sSizeList[size_t(mode - 3)].height);
    }
}

// Both boxes change before the preview is drawn once with the new size. A
// damaged or unreadable picture, border or watermark is said by that redraw:
// true then, and a hint written after it would hide what is wrong.
bool SettingsPanel::putSize(const QString& width, const QString& height)
{
    {
        const QSignalBlocker quietW(txtW);
        const QSignalBlocker quietH(txtH);
        txtW->setText(width);
        txtH->setText(height);
    }
    app.panel.txtW = width;
    app.panel.txtH = height;
    return window_.redrawPreview();
}

void SettingsPanel::txtW_Change()
{
    app.panel.txtW = txtW->text();
    window_.redrawPreview();
}

void SettingsPanel::txtH_Change()
{
    app.panel.txtH = txtH->text();
    window_.redrawPreview();
}

void SettingsPanel::txtW_Click()
{
    clickBox(txtW, QStringLiteral("【提示】输入图片的宽度(单位:像素)。"));
}

void SettingsPanel::txtH_Click()
{
    clickBox(txtH, QStringLiteral("【提示】输入图片的高度(单位:像素)。"));
}

void SettingsPanel::cmbBK_Click()
{
    const int i = cmbBK->currentIndex();
    const int n = cmbBK->count();
    // While the load fills the list, its first entry is current before the
    // two command entries exist.
    if (i < 0 || n < 3)
        return;
    if (i == n - 1) {
        cmbBK->setCurrentIndex(0);
        shell_.open(kBorderDownloadPage);
        return;
    }
    if (i == n - 2) {
        addLocalBorders();
        return;
    }
    if (i == 0 && cmbSize->currentIndex() == 1)
        cmbSize->setCurrentIndex(0);
    app.ps.sBkFile = app.win.sBkFiles.value(i);
    // A border that is damaged or refused is said by the redraw: that stays,
    // and the hint on choosing borders waits for one that is sound.
    const bool troubleSaid = window_.selectedIndex() >= 0 && window_.previewShown() && window_.redrawPreview();
    if (!troubleSaid)
        window_.showTip(QStringLiteral("【提示】滚动鼠标滚轮可以选择不同的边框。"));
}

void SettingsPanel::addLocalBorders()
{
    app.ps.iDlgMode = 0;
    window_.showTip(QStringLiteral("【提示】请选择文件夹,该文件夹内所有图片边框将被添加。"));
    frmDlg dlg(app, settings_, cmbBK->window());
    dlg.Label1->setText(QStringLiteral("请选择文件夹,该文件夹内所有图片边框将被添加。"));
    dlg.File1->setEnabled(false);
    dlg.Frame1->hide();
    dlg.setFolder(ProgramFolders::borderDir());
    dlg.setPattern(QStringLiteral("*.png"));
    if (execChooser(dlg) != QDialog::Accepted || app.ps.sODIR.isEmpty()) {
        showBorderInUse();
        return;
    }
    const BusyCursor busy;
    bool full = false;
    {
        // Quiet while the list is rebuilt; the command entry stays current.
        const QSignalBlocker quiet(cmbBK);
        cmbBK->removeItem(cmbBK->count() - 1);
        cmbBK->removeItem(cmbBK->count() - 1);
        full = !scanBorderFolder(app.ps.sODIR);
        cmbBK->addItem(QStringLiteral("添加本地边框..."));
        cmbBK->addItem(QStringLiteral("网络下载边框..."));
        cmbBK->setCurrentIndex(cmbBK->count() - 2);
    }
    // A real change, so the last border becomes the current one.
    cmbBK->setCurrentIndex(cmbBK->count() - 3);
    if (full)
        window_.showTip(QStringLiteral("【提示】边框列表已满,其余边框未添加。"));
}

// A folder choice given up changes nothing: the box shows the border in use
// again rather than the command, and the status line what it said of the
// picture rather than the hint on choosing a folder.
void SettingsPanel::showBorderInUse()
{
    const int inUse = app.ps.sBkFile.isEmpty() ? 0 : int(app.win.sBkFiles.indexOf(app.ps.sBkFile));
    {
        const QSignalBlocker quiet(cmbBK);
        cmbBK->setCurrentIndex(inUse >= 0 && inUse < cmbBK->count() - 2 ? inUse : 0);
    }
    window_.showPictureTip();
}

bool SettingsPanel::scanBorderFolder(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QString& name : names) {
        if (!isBorderName(name))
            continue;
        const QString path = dir.filePath(name);
        if (app.win.sBkFiles.contains(path))
            continue;
        if (app.win.sBkFiles.size() >= kMaxChoiceRows)
            return false;
        // Entries and slots grow together, so every border entry has its path.
        cmbBK->addItem(name.left(name.size() - 4));
        app.win.sBkFiles << path;
    }
    return true;
}

void SettingsPanel::cmbEncode_Click()
{
    app.ps.sOutFormat = cmbEncode->currentText();
    app.panel.cmbEncode = cmbEncode->currentText();
}
