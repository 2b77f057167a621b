#include "viewer/frmBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "state/ProgramState.h"
#include "viewer/ViewerLayout.h"

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    using viewerlayout::twips;
    return QRect(qRound(twips(left)), qRound(twips(top)), qRound(twips(width)), qRound(twips(height)));
}

} // namespace

frmBox::frmBox(ProgramState& ps, QWidget* parent) : QDialog(parent), ps_(ps)
{
    setObjectName(QStringLiteral("frmBox"));
    setWindowTitle(QStringLiteral("Vimo提示"));
    setModal(true);
    setFixedSize(twipsRect(0, 0, 5430, 780).size());
    ps_.bConfirmOK = false;

    Label1 = new QLabel(QStringLiteral("确认裁剪并添加到图片批处理列表吗？"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(270, 300, 3060, 180));
    cmdOK = new QPushButton(QStringLiteral("是"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(3690, 210, 705, 405));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    Command2 = new QPushButton(QStringLiteral("否"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(4560, 210, 705, 405));
    Command2->setAutoDefault(false);
    setTabOrder(cmdOK, Command2);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmBox::cmdOK_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBox::Command2_Click);
}

void frmBox::cmdOK_Click()
{
    ps_.bConfirmOK = true;
    accept();
}

void frmBox::Command2_Click()
{
    ps_.bConfirmOK = false;
    QDialog::reject();
}

void frmBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmBox::reject()
{
    // The frame's close button: no answer is a no.
    ps_.bConfirmOK = false;
    QDialog::reject();
}
