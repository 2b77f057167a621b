#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

#include "mainwindow/frmSplash.h"
#include "state/AppState.h"

namespace {

TEST(Splash, MakesTheMainWindowOnTheFirstTickAndClosesWhenItIsReady)
{
    AppState app;
    int made = 0;
    QPointer<frmSplash> splash = new frmSplash(app, [&] { ++made; });
    splash->show();
    EXPECT_EQ(splash->lblW->text(), QStringLiteral("正在加载Vimo图片批处理，请稍候..."));
    splash->Timer1_Timer();  // the main window is made, but its load has not ended
    EXPECT_EQ(made, 1);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    splash->Timer1_Timer();  // later ticks only count
    EXPECT_EQ(made, 1);
    app.ps.iReady = 1;
    splash->Timer1_Timer();
    EXPECT_EQ(made, 1);
    EXPECT_FALSE(splash && splash->isVisible());
    delete splash.data();
}

} // namespace
