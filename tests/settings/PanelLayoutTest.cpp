#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>

#include "PanelFixture.h"
#include "settings/frmDlg.h"

namespace {

using PanelLayout = PanelFixture;

bool counts(const QWidget* w)
{
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QGroupBox*>(w);
}

// The width a control needs to show its own text whole.
int needed(const QWidget* w)
{
    const QFontMetrics fm(w->font());
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return fm.horizontalAdvance(l->text());
    if (const auto* c = qobject_cast<const QCheckBox*>(w)) {
        const QStyle* s = c->style();
        return s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c) +
               s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c) + fm.horizontalAdvance(c->text());
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return fm.horizontalAdvance(b->text()) + 4;
    return 0;
}

// Under the window's design size, with the longest texts the program writes
// into the panel's labels, no two visible controls of a panel frame overlap,
// each lies inside its frame, and each shows its whole text or, cut by the
// program, has it whole as tool tip.
TEST_F(PanelLayout, NoControlOverlapsAnotherOrCutsItsText)
{
    // The window font of the design: 9 points at 96 dpi, 12 pixels.
    QFont font = QApplication::font();
    font.setPixelSize(12);
    QApplication::setFont(font);
    const QString source = magick(home + "/src/a.png", 80, 60, "white");
    SettingsPanel& p = openPanel({source});
    window->show();
    app->ps.sText = QStringLiteral("这是一段很长的文字水印,用来检查标签是否会被截断而没有提示\r\n第二行");
    p.chkInfoTxt->setChecked(true);
    const QString mark = magick(home + "/水印图片所在的一个很长很长的文件夹/另一个文件夹/水印.png", 10, 10, "white");
    commands.onSetImg = [&] { app->ps.sSyFile = mark; };
    p.chkInfoImg->setChecked(true);
    const QString out = home + "/输出文件夹名字很长很长很长很长/再深一层的文件夹";
    QDir().mkpath(out);
    window->execChooser = [&](frmDlg& dlg) {
        dlg.setFolder(out);
        dlg.cmdOK_Click();
        return dlg.result();
    };
    p.cmdODir->click();
    ASSERT_TRUE(p.chkInfoTxt->isChecked() && p.chkInfoImg->isChecked());

    for (QWidget* frame : {window->NiceContainr2, window->NiceContainr3, window->NiceContainr4, window->NiceContainr5}) {
        QList<QWidget*> shown;
        for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (counts(w) && w->isVisibleTo(window.get()))
                shown << w;
        ASSERT_FALSE(shown.isEmpty()) << frame->objectName().toStdString();
        for (int i = 0; i < shown.size(); ++i) {
            const QWidget* a = shown[i];
            const std::string name = a->objectName().toStdString();
            EXPECT_TRUE(frame->rect().contains(a->geometry())) << name << " sticks out of its frame";
            for (int j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(a->geometry().intersects(shown[j]->geometry()))
                    << name << " overlaps " << shown[j]->objectName().toStdString();
            EXPECT_LE(needed(a), a->width()) << name << " cuts its text";
        }
    }
    for (const QLabel* l : {p.lTxt, p.lSY, p.lOut})
        EXPECT_FALSE(l->toolTip().isEmpty()) << l->objectName().toStdString() << " was cut without a tool tip";
    EXPECT_TRUE(p.lTxt->toolTip().endsWith(QStringLiteral("第二行")));
    EXPECT_EQ(p.lSY->toolTip(), QStringLiteral("图片水印:") + mark);
    EXPECT_EQ(p.lOut->toolTip(), QStringLiteral("输出文件夹:") + out);
}

} // namespace
