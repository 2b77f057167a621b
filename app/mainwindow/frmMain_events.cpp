// Signals and event filters that route the controls' events to the handlers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "mainwindow/frmMain.h"
#include "settings/menus/MenuCommands.h"
#include "settings/frmDlg.h"
#include "state/AppState.h"

void frmMain::connectHandlers()
{
    connect(cmdAdd, &QPushButton::clicked, this, &frmMain::cmdAdd_Click);
    connect(cmdAdds, &QPushButton::clicked, this, &frmMain::cmdAdds_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmMain::cmdDel_Click);
    connect(cmdClr, &QPushButton::clicked, this, &frmMain::cmdClr_Click);
    connect(cmdDone, &QPushButton::clicked, this, &frmMain::cmdDone_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);
    connect(lstFile, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstFile_Click();
    });
    connect(lstFile, &QListWidget::itemDoubleClicked, this, [this] { menus->mFBrows_Click(); });
    connect(hscSY, &QScrollBar::valueChanged, this, &frmMain::hscSY_Change);
    connect(txtPicTxt, &QLineEdit::returnPressed, this, [this] { txtPicTxt_KeyDown(Qt::Key_Return); });
    execChooser = [](frmDlg& dlg) { return dlg.exec(); };
}

void frmMain::installFilters()
{
    lstFile->installEventFilter(this);
    lstFile->viewport()->installEventFilter(this);
    lstFile->viewport()->setAcceptDrops(true);
    imgM->installEventFilter(this);
    picImg->installEventFilter(this);
    txtPicTxt->installEventFilter(this);
    imgSmall->installEventFilter(this);
    imgPre->installEventFilter(this);
    imgFor->installEventFilter(this);
}

bool frmMain::filterWheel(QEvent* event)
{
    // One notch without keys or buttons is an arrow key; every other wheel
    // movement (modifiers, buttons, fine-grained deltas) is swallowed.
    auto* e = static_cast<QWheelEvent*>(event);
    const int delta = e->angleDelta().y();
    if (e->modifiers() == Qt::NoModifier && e->buttons() == Qt::NoButton && e->angleDelta().x() == 0) {
        if (delta == -120)
            picImg_KeyDown(Qt::Key_Down);
        else if (delta == 120)
            picImg_KeyDown(Qt::Key_Up);
    }
    e->accept();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (filterDropEvent(watched, event))
        return true;
    if (watched == lstFile && event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier)
            return lstFile_KeyDown(e->key());
        return false;
    }
    if (watched == lstFile->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::RightButton) {
            lstFile_MouseDown(e->button(), e->position().toPoint());
            return true;
        }
        return false;
    }
    if (watched == txtPicTxt && event->type() == QEvent::FocusIn)
        txtPicTxt_GotFocus();
    if (watched == txtPicTxt && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        txtPicTxt_KeyDown(Qt::Key_Escape);
        return true;
    }
    if (watched == txtPicTxt && event->type() == QEvent::Wheel) {
        // The box has no use for the wheel; left unused, it would travel up to
        // the preview area and step to another picture under the typed text.
        event->accept();
        return true;
    }
    if (watched == imgSmall && event->type() == QEvent::MouseButtonRelease) {
        menus->mFBrows_Click();  // the source thumbnail opens the viewer on the picture
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && (watched == imgPre || watched == imgFor)) {
        if (watched == imgPre)
            imgPre_Click();
        else
            imgFor_Click();
        return true;
    }
    if ((watched == picImg || watched == imgM) && event->type() == QEvent::Wheel)
        return filterWheel(event);
    if (watched == picImg || watched == imgM)
        return filterPreviewEvent(watched, event);
    return QMainWindow::eventFilter(watched, event);
}
