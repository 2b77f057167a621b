#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include "PanelFixture.h"
#include "settings/frmTxtSet.h"

namespace {

class TextDialog : public PanelFixture {
protected:
    // Where the palette shows a colour.
    static QPoint find(QColor colour)
    {
        const QImage palette = frmTxtSet::palette();
        for (int y = 0; y < palette.height(); ++y)
            for (int x = 0; x < palette.width(); ++x)
                if (palette.pixelColor(x, y) == colour)
                    return {x, y};
        ADD_FAILURE() << "the palette has no " << colour.name().toStdString();
        return {};
    }
    static void clickSize(frmTxtSet& dlg)
    {
        const QPointF at(4, 4);
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, dlg.txtSize->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(dlg.txtSize, &e);
        }
    }
};

TEST_F(TextDialog, OkStoresPlaceholderSizeAndColourAndTheNextStartKeepsThem)
{
    SettingsPanel& p = openPanel();
    p.execTextDialog = [&](frmTxtSet& dlg) {
        EXPECT_EQ(dlg.txtText->itemText(3), QStringLiteral("#图片原文件名#"));
        dlg.txtText->setCurrentIndex(3);
        dlg.txtSize->setText(QStringLiteral("12"));
        QPoint red = find(QColor(255, 0, 0));
        dlg.picColor_MouseMove(red);
        dlg.picColor_MouseUp(red);
        EXPECT_TRUE(dlg.picColor->isHidden());
        dlg.chkB->setChecked(true);
        dlg.cmdOK_Click();
        return dlg.result();
    };
    p.chkInfoTxt->setChecked(true);
    EXPECT_EQ(app->ps.sText, QStringLiteral("#图片原文件名#"));
    EXPECT_EQ(app->ps.iSize, 12);
    EXPECT_EQ(app->ps.lColor, 255);
    EXPECT_TRUE(app->ps.sBold);
    EXPECT_EQ(p.txtSize->text(), QStringLiteral("12"));
    EXPECT_TRUE(p.chkInfoTxt->isChecked());
    EXPECT_EQ(p.cmbPos->currentIndex(), 4);

    close();
    SettingsPanel& again = openPanel();
    EXPECT_EQ(app->ps.sText, QStringLiteral("#图片原文件名#"));
    EXPECT_EQ(app->ps.iSize, 12);
    EXPECT_EQ(app->ps.lColor, 255);
    EXPECT_TRUE(again.chkInfoTxt->isChecked());
    EXPECT_EQ(again.txtSize->text(), QStringLiteral("12"));
}

TEST_F(TextDialog, OkAtOnceStoresTheStartTextWithItsLineBreak)
{
    openPanel();
    app->ps.iSize = 9;
    frmTxtSet dlg(*app, prompter);
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(app->ps.sText, QStringLiteral("Vimo图片批处理\r\n"));
    EXPECT_EQ(app->ps.iSize, 9);
}

TEST_F(TextDialog, EmptyTextOrSizeIsRefusedAndNothingWritten)
{
    openPanel();
    const struct {
        const char *text, *size, *message;
    } cases[] = {
        {"", "12", "文字不能为空！"},
        {"水印", "", "文字大小不能为空！"},
    };
    for (const auto& c : cases) {
        prompter.prompts.clear();
        app->ps.sText = QStringLiteral("原来的");
        frmTxtSet dlg(*app, prompter);
        dlg.txtText->setEditText(QString::fromUtf8(c.text));
        dlg.txtSize->setText(QString::fromLatin1(c.size));
        dlg.cmdOK_Click();
        EXPECT_NE(dlg.result(), QDialog::Accepted) << c.message;
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Critical);
        EXPECT_EQ(app->ps.sText, QStringLiteral("原来的"));
    }
}

TEST_F(TextDialog, CancelEscAndCloseFromTheMenuKeepTextSwitchAndPosition)
{
    SettingsPanel& p = openPanel();
    app->ps.sText = QStringLiteral("旧文字");
    p.chkInfoTxt->setChecked(true);
    p.cmbPos->setCurrentIndex(2);
    const std::function<void(frmTxtSet&)> leaves[] = {
        [](frmTxtSet& dlg) { dlg.cmdNO_Click(); },
        [](frmTxtSet& dlg) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dlg.txtText, &esc);
        },
        [](frmTxtSet& dlg) { dlg.close(); },
    };
    for (const auto& leave : leaves) {
        p.execTextDialog = [&](frmTxtSet& dlg) {
            dlg.txtText->setEditText(QStringLiteral("新文字"));
            dlg.txtSize->setText(QStringLiteral("30"));
            leave(dlg);
            return dlg.result();
        };
        EXPECT_FALSE(p.editTextWatermark());
        EXPECT_EQ(app->ps.sText, QStringLiteral("旧文字"));
        EXPECT_TRUE(p.chkInfoTxt->isChecked());
        EXPECT_EQ(p.cmbPos->currentIndex(), 2);
        EXPECT_EQ(p.txtSize->text(), QString::number(app->ps.iSize));
    }
    // OK from the menu keeps the position too and shows the new text.
    p.execTextDialog = [&](frmTxtSet& dlg) {
        dlg.txtText->setEditText(QStringLiteral("新文字"));
        dlg.cmdOK_Click();
        return dlg.result();
    };
    EXPECT_TRUE(p.editTextWatermark());
    EXPECT_EQ(app->ps.sText, QStringLiteral("新文字"));
    EXPECT_EQ(p.lTxt->text(), QStringLiteral("文字水印:新文字"));
    EXPECT_EQ(p.cmbPos->currentIndex(), 2);
}

TEST_F(TextDialog, OnlyTheFirstSizeClickOfTheRunSelects)
{
    openPanel();
    app->ps.iSize = 16;
    {
        frmTxtSet first(*app, prompter);
        clickSize(first);
        EXPECT_EQ(first.txtSize->selectedText(), QStringLiteral("16"));
        clickSize(first);
        EXPECT_TRUE(first.txtSize->selectedText().isEmpty());
    }
    frmTxtSet second(*app, prompter);
    clickSize(second);
    EXPECT_TRUE(second.txtSize->selectedText().isEmpty());
}

TEST_F(TextDialog, PaletteSwatchFollowsThePointerAndFallsBack)
{
    openPanel();
    app->ps.lColor = 0x00FF0000;  // blue
    frmTxtSet dlg(*app, prompter);
    EXPECT_EQ(dlg.previewColor(), QColor(0, 0, 255));
    dlg.txtColor_Click();
    EXPECT_FALSE(dlg.picColor->isHidden());
    dlg.picColor_MouseMove(find(QColor(0, 255, 0)));
    EXPECT_EQ(dlg.txtColor->palette().color(QPalette::Window), QColor(0, 255, 0));
    dlg.Form_MouseMove();  // left onto the form without a pick
    EXPECT_TRUE(dlg.picColor->isHidden());
    EXPECT_EQ(dlg.txtColor->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(dlg.previewColor(), QColor(0, 0, 255));
}

} // namespace
