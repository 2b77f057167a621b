#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "settings/frmDlg.h"

namespace {

// What a screen reader hears as the control's name.
QString spokenName(QWidget* control)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(QAccessible::Name) : QString();
}

using AccessibleNames = MainWindowFixture;

TEST_F(AccessibleNames, EveryControlHasANameAndTextControlsSpeakTheirText)
{
    frmMain& w = open();
    for (QWidget* child : w.findChildren<QWidget*>()) {
        const QString name = child->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        const auto* label = qobject_cast<QLabel*>(child);
        const bool showsText = (label && !label->text().isEmpty()) || qobject_cast<QAbstractButton*>(child);
        // A fixed name would go stale as soon as the program changes the text.
        if (showsText)
            EXPECT_TRUE(child->accessibleName().isEmpty()) << name.toStdString();
        else
            EXPECT_FALSE(spokenName(child).isEmpty()) << name.toStdString();
    }
    for (const char* name : {"lstFile", "cmdAdd", "cmdDone", "cmdStop", "picImg", "imgM", "cmbSize", "txtW", "hscSY",
                             "Text1(24)", "cmdR(7)", "txtRGB(2)", "chkFtp", "NiceContainr6"})
        EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(spokenName(w.imgM), QStringLiteral("预览图"));
    EXPECT_EQ(spokenName(w.cmdAdd), QStringLiteral("添加图片"));
    EXPECT_FALSE(w.cmdStop->isEnabled());
    // The upload switch is offered: without it no run could upload.
    EXPECT_TRUE(w.panel->chkFtp->isVisibleTo(&w));
}

TEST_F(AccessibleNames, LabelsSpeakWhatTheyShowNow)
{
    frmMain& w = open();
    EXPECT_EQ(spokenName(w.lFile), QStringLiteral("图片数量:0个"));
    w.addPictures({picture(home + "/a.png"), picture(home + "/b.bmp")}, true);

    const QString out = home + "/a folder with a rather long name/results";
    ASSERT_TRUE(QDir().mkpath(out));
    w.execChooser = [&](frmDlg& dlg) {
        dlg.setFolder(out);
        dlg.cmdOK_Click();
        return dlg.result();
    };
    w.panel->cmdODir_Click();

    EXPECT_EQ(spokenName(w.lFile), QStringLiteral("图片数量:2个"));
    // A long folder is shown, and so spoken, shortened in its middle; the whole
    // folder is the label's tool tip.
    const QString spoken = spokenName(w.panel->lOut);
    EXPECT_EQ(spoken, w.panel->lOut->text());
    EXPECT_TRUE(spoken.startsWith(QStringLiteral("输出文件夹:") + out.left(3))) << spoken.toStdString();
    EXPECT_TRUE(spoken.endsWith(QStringLiteral("results"))) << spoken.toStdString();
    EXPECT_TRUE(w.panel->lOut->toolTip().endsWith(out)) << w.panel->lOut->toolTip().toStdString();
    // The status line speaks the current picture's information, the window its title.
    EXPECT_TRUE(spokenName(w.lInfo).contains(QStringLiteral("b.bmp"))) << spokenName(w.lInfo).toStdString();
    EXPECT_TRUE(spokenName(&w).endsWith(QStringLiteral("b.bmp"))) << spokenName(&w).toStdString();
}

} // namespace
