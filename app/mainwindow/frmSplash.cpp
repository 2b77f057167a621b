#include "mainwindow/frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "state/AppState.h"
#include "widgets/ControlFactory.h"

frmSplash::frmSplash(AppState& app, std::function<void()> makeMain, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), app_(app), makeMain_(std::move(makeMain))
{
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(QStringLiteral("Vimo图片批处理"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(360, 90);
    Frame1 = makeControl<QFrame>(this, QStringLiteral("Frame1"), {}, {6, 6, 348, 78});
    Frame1->setFrameShape(QFrame::StyledPanel);
    lblW = makeCaptioned<QLabel>(Frame1, QStringLiteral("lblW"), QStringLiteral("正在加载Vimo图片批处理，请稍候..."),
                                 {10, 10, 328, 58});
    lblW->setAlignment(Qt::AlignCenter);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    if (iSplashTicks_ < 32767)
        ++iSplashTicks_;
    if (iSplashTicks_ == 1 && makeMain_) {
        auto make = std::move(makeMain_);
        make();
    }
    if (app_.ps.iReady == 1)
        close();
}
