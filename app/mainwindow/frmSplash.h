#pragma once

#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QTimer;
struct AppState;

// The small window shown while the main window loads. Its timer makes the
// main window on the first tick and closes the splash once that window
// reports that it is ready.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    // `makeMain` creates, loads and shows the main window; it throws when the
    // window cannot be made.
    frmSplash(AppState& app, std::function<void()> makeMain, QWidget* parent = nullptr);

    void Timer1_Timer();

    QFrame* Frame1;
    QLabel* lblW;
    QTimer* Timer1;

private:
    AppState& app_;
    std::function<void()> makeMain_;
    int iSplashTicks_ = 0;
};
