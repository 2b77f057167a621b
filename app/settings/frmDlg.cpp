#include "settings/frmDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "platform/imaging/PictureReader.h"
#include "settings/NewFolder.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "state/PicturePaths.h"
#include "store/SettingsStore.h"
#include "widgets/ControlFactory.h"

namespace {

// The first click on the opacity box selects its text, once per program run.
bool g_alphaClicked = false;

bool matchesPattern(const QString& name, const QStringList& patterns)
{
    for (const QString& p : patterns) {
        const QString suffix = p.startsWith(QLatin1String("*")) ? p.mid(1) : p;
        if (suffix == QLatin1String(".*") || name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

frmDlg::frmDlg(AppState& app, SettingsStore& settings, QWidget* parent)
    : QDialog(parent), app_(app), settings_(settings)
{
    setObjectName(QStringLiteral("frmDlg"));
    setWindowTitle(QStringLiteral("文件夹/文件选择对话框"));
    setAccessibleName(windowTitle());
    build();
    setPattern(pictureNamePatterns());
    Form_Load();
}

void frmDlg::build()
{
    resize(620, 430);
    Label1 = makeCaptioned<QLabel>(this, QStringLiteral("Label1"), QStringLiteral("请选择目录或文件。"), {10, 8, 600, 20});
    Drive1 = makeControl<QComboBox>(this, QStringLiteral("Drive1"), QStringLiteral("驱动器"), {10, 34, 240, 24});
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady())
            Drive1->addItem(v.rootPath());
    if (Drive1->findText(QStringLiteral("/")) < 0)
        Drive1->insertItem(0, QStringLiteral("/"));
    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel_->setRootPath(QStringLiteral("/"));
    Dir1 = makeControl<QTreeView>(this, QStringLiteral("Dir1"), QStringLiteral("文件夹"), {10, 62, 240, 280});
    Dir1->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c)
        Dir1->hideColumn(c);
    Dir1->header()->hide();
    File1 = makeControl<QListWidget>(this, QStringLiteral("File1"), QStringLiteral("文件"), {256, 34, 180, 308});
    File1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chkSelAll = makeCaptioned<QCheckBox>(this, QStringLiteral("chkSelAll"), QStringLiteral("包含子文件夹内图片。"), {10, 350, 240, 22});
    chkSelAll->hide();
    Frame1 = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("图片预览"), {442, 34, 168, 168});
    Image1 = makeControl<QLabel>(Frame1, QStringLiteral("Image1"), QStringLiteral("预览"), {4, 20, 160, 144});
    Image1->setAlignment(Qt::AlignCenter);
    Picture1 = makeControl<QLabel>(this, QStringLiteral("Picture1"), {}, {0, 0, 1, 1});
    Picture1->hide();
    frmSY = makeCaptioned<QGroupBox>(this, QStringLiteral("frmSY"), QStringLiteral("透明度"), {442, 206, 168, 90});
    HScroll1 = makeControl<QScrollBar>(frmSY, QStringLiteral("HScroll1"), QStringLiteral("透明度"), {6, 22, 110, 18});
    HScroll1->setOrientation(Qt::Horizontal);
    HScroll1->setRange(0, 100);
    HScroll1->setValue(80);
    txtSYAlpha = makeControl<QLineEdit>(frmSY, QStringLiteral("txtSYAlpha"), QStringLiteral("透明度"), {122, 20, 40, 22});
    txtSYAlpha->setText(QStringLiteral("80"));
    Label2 = makeCaptioned<QLabel>(frmSY, QStringLiteral("Label2"), QStringLiteral("0-完全透明 100-不透明"), {6, 50, 156, 20});
    frmSY->hide();
    cmdDir0 = makeCaptioned<QPushButton>(this, QStringLiteral("cmdDir0"), QStringLiteral("桌面"), {10, 390, 70, 28});
    cmdDir1 = makeCaptioned<QPushButton>(this, QStringLiteral("cmdDir1"), QStringLiteral("我的文档"), {86, 390, 80, 28});
    cmdDirNew = makeCaptioned<QPushButton>(this, QStringLiteral("cmdDirNew"), QStringLiteral("新建"), {172, 390, 70, 28});
    cmdOK = makeCaptioned<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("确定"), {440, 390, 80, 28});
    cmdCancel = makeCaptioned<QPushButton>(this, QStringLiteral("cmdCancel"), QStringLiteral("取消"), {530, 390, 80, 28});
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmDlg::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDlg::cmdCancel_Click);
    connect(cmdDir0, &QPushButton::clicked, this, &frmDlg::cmdDir0_Click);
    connect(cmdDir1, &QPushButton::clicked, this, &frmDlg::cmdDir1_Click);
    connect(cmdDirNew, &QPushButton::clicked, this, &frmDlg::cmdDirNew_Click);
    connect(Drive1, &QComboBox::textActivated, this, [this](const QString& root) { setFolder(root); });
    connect(Dir1, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        Dir1_Click();
        Dir1->expand(index);
    });
    // The keys move the current folder without a click; the file list follows.
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index.isValid() && dirModel_->filePath(index) != folder_)
            Dir1_Click();
    });
    connect(dirModel_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent) { keepFolderInView(dirModel_->filePath(parent)); });
    connect(dirModel_, &QAbstractItemModel::layoutChanged, this, [this] { keepFolderInView(folder_); });
    // Only the user's own scrolling triggers slider actions.
    connect(Dir1->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { followFolder_ = false; });
    connect(File1, &QListWidget::itemSelectionChanged, this, &frmDlg::File1_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &frmDlg::cmdOK_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int v) {
        if (numtext::toInt16(txtSYAlpha->text()) != v)
            txtSYAlpha->setText(QString::number(v));
    });
    connect(txtSYAlpha, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Text that is no whole number from 0 to 100 leaves the slider where it is.
        if (const auto v = numtext::toInt16(text); v && *v >= 0 && *v <= 100)
            HScroll1->setValue(*v);
    });
    txtSYAlpha->installEventFilter(this);
}

void frmDlg::Form_Load()
{
    if (app_.ps.iuSYAlpha >= 1 && app_.ps.iuSYAlpha <= 100)
        txtSYAlpha->setText(QString::number(app_.ps.iuSYAlpha));
    updateOk();
}

bool frmDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSYAlpha && event->type() == QEvent::MouseButtonRelease && !g_alphaClicked) {
        g_alphaClicked = true;
        txtSYAlpha->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmDlg::setFolder(const QString& path)
{
    QString dir = path;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    folder_ = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    followFolder_ = true;
    const QModelIndex index = dirModel_->index(folder_);
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index);
    Dir1->expand(index);
    // The drive list names the volume the folder lies on.
    if (const int drive = Drive1->findText(QStorageInfo(folder_).rootPath()); drive >= 0)
        Drive1->setCurrentIndex(drive);
    fillFiles();
}

void frmDlg::Dir1_Click()
{
    const QModelIndex index = Dir1->currentIndex();
    if (!index.isValid())
        return;
    folder_ = QDir::cleanPath(dirModel_->filePath(index));
    followFolder_ = true;
    fillFiles();
    Label1->setText(QStringLiteral("您选择的是\"%1\"文件夹。").arg(folder_));
}

// The folder list reads folders in the background: folders read after the
// list scrolled to the current folder are listed above it and would push it
// out of sight. Queued, so that the view has laid out the new rows first.
void frmDlg::keepFolderInView(const QString& changed)
{
    const QString above = changed.endsWith(u'/') ? changed : changed + u'/';
    if (!followFolder_ || (folder_ != changed && !folder_.startsWith(above)))
        return;
    QTimer::singleShot(0, this, [this] {
        if (followFolder_ && Dir1->currentIndex().isValid())
            Dir1->scrollTo(Dir1->currentIndex());
    });
}

void frmDlg::setPattern(const QString& patterns)
{
    patterns_ = patterns.split(u';', Qt::SkipEmptyParts);
    fillFiles();
}

void frmDlg::fillFiles()
{
    File1->clear();
    if (folder_.isEmpty())
        return;
    // Listed by hand so that "A.JPG" matches "*.jpg" on a case-sensitive file system.
    const QStringList names = QDir(folder_).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names)
        if (matchesPattern(name, patterns_))
            File1->addItem(name);
    updateOk();
}

QStringList frmDlg::selectedNames() const
{
    QStringList names;
    for (int i = 0; i < File1->count(); ++i)
        if (File1->item(i)->isSelected())
            names << File1->item(i)->text();
    return names;
}

void frmDlg::selectFiles(const QStringList& names)
{
    File1->clearSelection();
    for (int i = 0; i < File1->count(); ++i)
        if (names.contains(File1->item(i)->text()))
            File1->item(i)->setSelected(true);
}

void frmDlg::updateOk()
{
    // The watermark and skin modes need a file; a folder is no answer there.
    const int mode = app_.ps.iDlgMode;
    cmdOK->setEnabled((mode != 2 && mode != 4) || !selectedNames().isEmpty());
}

void frmDlg::File1_Click()
{
    updateOk();
    const QStringList names = selectedNames();
    Image1->clear();
    if (names.isEmpty())
        return;
    const QString path = joinPath(folder_, names.last());
    // The preview only reads the file: it touches neither the settings nor a run's log.
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (probe.ok()) {
        const QSize size = probe.size.scaled(Image1->size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        Image1->setPixmap(QPixmap::fromImage(imaging::loadPictureAt(path, probe, size)));
    }
    Label1->setText(QStringLiteral("您选择的是\"%1\"等共%2个文件。").arg(path).arg(names.size()));
}

void frmDlg::cmdOK_Click()
{
    if (!cmdOK->isEnabled())
        return;
    ProgramState& ps = app_.ps;
    const QStringList names = selectedNames();
    switch (ps.iDlgMode) {
    case 0:
        ps.bSubFolder = chkSelAll->isChecked();
        if (!folder_.isEmpty())
            ps.sODIR = folder_;
        break;
    case 1:
        chosen_.clear();
        for (const QString& name : names) {
            ps.sPicFile = name;
            if (isPictureName(name))
                chosen_ << joinPath(folder_, name);
        }
        break;
    case 2:
        // An opacity beyond 0..100 would draw the mark fully opaque or not at
        // all: it is taken to the nearest end of the scale.
        if (const auto alpha = numtext::toDouble(txtSYAlpha->text()); alpha && std::isfinite(*alpha)) {
            opacity_ = int(std::lround(std::clamp(*alpha, 0.0, 100.0)));
            app_.pic.cmSy.m[3][3] = float(*opacity_ / 100.0);
            ps.iuSYAlpha = *opacity_;
            settings_.writeInt(QStringLiteral("iuSYAlpha"), *opacity_);
        }
        ps.sSyFile = joinPath(folder_, names.value(0));
        break;
    case 4:
        ps.sSkinFileName = joinPath(folder_, names.value(0));
        break;
    default:
        break;
    }
    settings_.writeText(QStringLiteral("sODIR"), folder_);
    settings_.sync();
    done(QDialog::Accepted);
}

void frmDlg::cmdCancel_Click()
{
    if (app_.ps.iDlgMode == 0)
        app_.ps.sODIR.clear();
    done(QDialog::Rejected);
}

void frmDlg::cmdDir0_Click()
{
    setFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

void frmDlg::cmdDir1_Click()
{
    setFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void frmDlg::cmdDirNew_Click()
{
    const QString made = makeNewFolder(folder_);
    if (!made.isEmpty())
        setFolder(made);
}
