#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/prompter/DialogPrompter.h"

namespace {

// Acts on the modal box the prompter opens, once it is up. A box that does not
// come up, or that the action leaves open, fails the test instead of hanging it.
constexpr int kWatchdogMs = 30000;

void closeIfStillOpen(QPointer<QWidget> box)
{
    QTimer::singleShot(kWatchdogMs, [box] {
        if (box && box->isVisible()) {
            ADD_FAILURE() << "the modal box was left open";
            if (auto* dialog = qobject_cast<QDialog*>(box.data()))
                dialog->reject();
            else
                box->close();
        }
    });
}

void whenModal(std::function<void(QWidget*)> act, QDeadlineTimer deadline = QDeadlineTimer(kWatchdogMs))
{
    QTimer::singleShot(10, [act, deadline] {
        QWidget* w = QApplication::activeModalWidget();
        if (w) {
            const QPointer<QWidget> box(w);
            act(w);
            closeIfStillOpen(box);
            return;
        }
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "no modal box came up";
            return;
        }
        whenModal(act, deadline);
    });
}

} // namespace

TEST(DialogPrompter, QuestionsAnswerYesOrNo)
{
    DialogPrompter prompter;
    for (const bool yes : {true, false}) {
        QString shownText, shownTitle;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownTitle = box->windowTitle();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(prompter.ask("确认最小化吗？", "", PromptIcon::Question), yes);
        EXPECT_EQ(shownText, "确认最小化吗？");
        EXPECT_EQ(shownTitle, "Vimo");
    }
}

TEST(DialogPrompter, InputBoxGivesTextOrCancel)
{
    DialogPrompter prompter;
    whenModal([](QWidget* w) {
        auto* dialog = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textValue(), "10,20");
        dialog->setTextValue("100,120");
        dialog->accept();
    });
    EXPECT_EQ(prompter.input("坐标", "起始点坐标", "10,20"), QString("100,120"));

    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(prompter.input("坐标", "起始点坐标", "10,20"), std::nullopt);
}
