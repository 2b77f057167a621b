#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ToolRunner.h"
#include "mainwindow/ProgramLook.h"

namespace {

// The texts of a yes/no question box as the program asks it, "yes|no".
std::string questionButtons()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vimo"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    return (box.button(QMessageBox::Yes)->text() + u'|' + box.button(QMessageBox::No)->text()).toStdString();
}

TEST(ProgramLook, QuestionBoxSpeaksChinese)
{
    ASSERT_TRUE(programlook::installChineseQtTexts(*qApp)) << "qtbase_zh_CN.qm of qt6-translations-l10n";
    const std::string texts = questionButtons();
    EXPECT_NE(texts.find("是"), std::string::npos) << texts;
    EXPECT_NE(texts.find("否"), std::string::npos) << texts;
    EXPECT_EQ(texts.find("Yes"), std::string::npos) << texts;
}

// The same box on a real display of a system whose locale is plain C: the
// program's Chinese does not depend on the user's language settings.
TEST(ProgramLook, QuestionBoxSpeaksChineseUnderXvfbInTheCLocale)
{
    ASSERT_TRUE(haveTool("xvfb-run")) << "xvfb-run (package xvfb) is needed";
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    ToolResult r;
    // xvfb-run -a may lose its display number to a run started at the same
    // moment; such a lost race is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = runTool({"xvfb-run", "-a", "env", "LANG=C", "LC_ALL=C", "LANGUAGE=", "QT_QPA_PLATFORM=xcb", self,
                     "--gtest_filter=ProgramLook.QuestionBoxSpeaksChinese"});
        if (r.err.find("could not connect to display") == std::string::npos)
            break;
    }
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("[  PASSED  ] 1 test"), std::string::npos) << r.out << r.err;
}

using ProgramLookWindow = MainWindowFixture;

// Texts are drawn at the design's pixel size, whatever the screen's resolution.
TEST_F(ProgramLookWindow, WindowTextsHaveTheDesignPixelSize)
{
    frmMain& w = open();
    const QWidget* controls[] = {w.lFile, w.cmdAdd, w.panel->lOut, w.panel->chkInfoTxt, w.panel->cmbSize};
    for (const QWidget* control : controls)
        EXPECT_EQ(QFontInfo(control->font()).pixelSize(), programlook::kDesignFontPixels)
            << control->objectName().toStdString();
}

} // namespace
