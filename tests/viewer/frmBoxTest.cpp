#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "state/ProgramState.h"
#include "viewer/frmBox.h"

namespace {

void key(QWidget* w, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

} // namespace

TEST(frmBox, LooksAsDesigned)
{
    ProgramState ps;
    frmBox box(ps);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Vimo提示"));
    EXPECT_EQ(box.size(), QSize(362, 52));
    EXPECT_EQ(box.Label1->text(), QStringLiteral("确认裁剪并添加到图片批处理列表吗？"));
    EXPECT_EQ(box.cmdOK->text(), QStringLiteral("是"));
    EXPECT_EQ(box.Command2->text(), QStringLiteral("否"));
    EXPECT_TRUE(box.cmdOK->isDefault());
    EXPECT_EQ(box.cmdOK->geometry(), QRect(246, 14, 47, 27));
    EXPECT_EQ(box.Command2->geometry(), QRect(304, 14, 47, 27));
}

TEST(frmBox, OnlyYesConfirms)
{
    struct Case {
        const char* what;
        bool before;
        std::function<void(frmBox&)> answer;
        bool after;
        int result;
    };
    const Case cases[] = {
        {"Enter chooses 是", false, [](frmBox& b) { key(&b, Qt::Key_Return); }, true, QDialog::Accepted},
        {"是 clicked", false, [](frmBox& b) { b.cmdOK->click(); }, true, QDialog::Accepted},
        {"否 after an earlier yes", true, [](frmBox& b) { b.Command2->click(); }, false, QDialog::Rejected},
        {"closed by its frame after an earlier yes", true, [](frmBox& b) { b.close(); }, false, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        ProgramState ps;
        ps.bConfirmOK = c.before;
        frmBox box(ps);
        QTimer::singleShot(0, &box, [&] { c.answer(box); });
        const int result = box.exec();
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(ps.bConfirmOK, c.after) << c.what;
    }
}

TEST(frmBox, EscDoesNothing)
{
    ProgramState ps;
    frmBox box(ps);
    bool stillOpen = false;
    QTimer::singleShot(0, &box, [&] {
        key(&box, Qt::Key_Escape);
        stillOpen = box.isVisible();
        box.Command2->click();
    });
    box.exec();
    EXPECT_TRUE(stillOpen);
}
