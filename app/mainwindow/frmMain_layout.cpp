// The window's layout follows its size and state: the list and the preview
// stretch, the status and news lines stay at the bottom, the extra container
// shows only while the window is not in its normal state.
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QResizeEvent>
#include <QTextBrowser>

#include "mainwindow/frmMain.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"
#include "widgets/ControlFactory.h"

namespace {

// Title bar and borders that the window's outer size adds to the inner one,
// used where the system does not report a frame (offscreen, before mapping).
constexpr QSize kDefaultChrome(8, 31);

TwipRect twips(const QWidget* w)
{
    const QRect g = w->geometry();
    return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
}

void place(QWidget* w, const TwipRect& r)
{
    const QRect g(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
    if (w->geometry() != g)
        w->setGeometry(g);
}

WindowShape shapeOf(Qt::WindowStates s)
{
    if (s & Qt::WindowMinimized)
        return WindowShape::Minimised;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return WindowShape::Maximised;
    return WindowShape::Normal;
}

} // namespace

MainLayout frmMain::currentLayout() const
{
    MainLayout l;
    l.niceContainr5 = twips(NiceContainr5);
    l.niceContainr6 = twips(NiceContainr6);
    l.frame1 = twips(Frame1);
    l.frame2 = twips(Frame2);
    l.lstFile = twips(lstFile);
    l.picSmall = twips(picSmall);
    l.picImg = twips(picImg);
    l.frame3 = twips(Frame3);
    l.frame4 = twips(Frame4);
    l.txtPicTxt = twips(txtPicTxt);
    l.frmTZ = twips(panel->frmTZ);
    l.lInfo = twips(lInfo);
    l.lblNew = twips(lblNew);
    l.niceContainr6Visible = !NiceContainr6->isHidden();
    l.webVisible = !Web->isHidden();
    l.lblNewVisible = !lblNew->isHidden();
    return l;
}

void frmMain::applyLayout(const MainLayout& l)
{
    place(NiceContainr6, l.niceContainr6);
    place(Frame1, l.frame1);
    place(Frame2, l.frame2);
    place(lstFile, l.lstFile);
    place(picSmall, l.picSmall);
    place(picImg, l.picImg);
    place(Frame3, l.frame3);
    place(Frame4, l.frame4);
    place(txtPicTxt, l.txtPicTxt);
    place(panel->frmTZ, l.frmTZ);
    place(lInfo, l.lInfo);
    place(lblNew, l.lblNew);
    // The neighbour thumbnails ride along with the source thumbnail.
    for (QLabel* thumb : {imgPre, imgFor})
        thumb->move(thumb->x(), picSmall->y() + (picSmall->height() - thumb->height()) / 2);
    NiceContainr6->setVisible(l.niceContainr6Visible);
    Web->setVisible(l.webVisible);
    lblNew->setVisible(l.lblNewVisible);
}

void frmMain::Form_Resize()
{
    QSize outer = frameGeometry().size();
    if (outer == size())
        outer += kDefaultChrome;
    LayoutInput in;
    in.windowWidth = toTwips(outer.width());
    in.windowHeight = toTwips(outer.height());
    in.shape = shapeOf(windowState());
    in.showToday = app.ps.bShowToday == 1;
    in.listEmpty = app.list.empty();
    const LayoutResult r = layoutMainWindow(currentLayout(), in);
    applyLayout(r.layout);
    newsAfterResize(r.navigateNews);
    if (!imgM->pixmap().isNull() && loaded_)
        lstFile_Click();
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}
