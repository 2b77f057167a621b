#include "mainwindow/MainWindowLayout.h"

namespace {

// Sizes a control refuses (negative) are not applied.
void setWidth(TwipRect& r, int w)
{
    if (w >= 0)
        r.width = w;
}

void setHeight(TwipRect& r, int h)
{
    if (h >= 0)
        r.height = h;
}

void layoutByShape(MainLayout& l, const LayoutInput& in, bool& navigate)
{
    if (in.shape == WindowShape::Normal) {
        l.niceContainr6Visible = false;
        l.webVisible = false;
        setWidth(l.frame2, l.niceContainr5.right() - l.frame2.left);
        return;
    }
    setWidth(l.niceContainr6, in.windowWidth - l.niceContainr5.right() - 150);
    l.niceContainr6Visible = true;
    setWidth(l.frame2, l.niceContainr6.right() - l.frame2.left);
    if (in.listEmpty && in.showToday) {
        navigate = true;
        l.webVisible = true;
    }
}

void layoutFrames(MainLayout& l, const LayoutInput& in)
{
    setHeight(l.frame1, in.windowHeight - l.frame1.top - l.lInfo.height - 1000);
    setHeight(l.frame2, l.frame1.height);
    l.lInfo.top = in.windowHeight - l.lInfo.height - 900;
    l.lblNew.top = l.lInfo.top;
    l.lblNew.left = l.frame2.right() - l.lblNew.width;
    setWidth(l.lInfo, in.windowWidth - l.lblNew.width - 180);
}

void layoutPreview(MainLayout& l)
{
    setHeight(l.lstFile, l.frame1.height - l.picSmall.height - 300);
    l.picSmall.top = l.lstFile.height + 240;
    setHeight(l.picImg, l.lstFile.height + l.picSmall.height + 90);
    setWidth(l.picImg, l.frame2.width - 200);
    l.frame3.top = -90;
    l.frame4.top = -90;
    l.frame3.left = l.picImg.width - l.frame3.width - 15;
    setHeight(l.frame3, l.picImg.height + 65);
    l.frame4.left = (l.picImg.width - l.frame4.width) / 2;
    l.txtPicTxt.left = 200;
    l.txtPicTxt.top = l.picImg.height - 600;
    setWidth(l.txtPicTxt, l.picImg.width - 400);
    l.frmTZ.left = (l.picImg.width - l.frmTZ.width) / 2;
    l.frmTZ.top = l.frame4.height + 30;
}

} // namespace

LayoutResult layoutMainWindow(const MainLayout& current, const LayoutInput& in)
{
    LayoutResult r{current, false};
    r.layout.lblNewVisible = in.showToday;
    layoutByShape(r.layout, in, r.navigateNews);
    layoutFrames(r.layout, in);
    layoutPreview(r.layout);
    return r;
}
