#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Blinks a marker so the eye finds it: shown, hidden, shown, hidden, shown,
// one phase per timer tick, ending shown. Paced by a timer, so the window
// keeps handling input and no handler runs inside another; starting a new
// blink cancels the one running.
class MarkerBlink : public QObject {
    Q_OBJECT
public:
    static constexpr int kPhaseMs = 150;
    static constexpr int kPhases = 5;

    explicit MarkerBlink(QObject* parent = nullptr);

    // `show` gets each phase's visibility; the first (true) comes at once.
    void start(std::function<void(bool)> show);
    // Ends a running blink where it is; its callback is not called again.
    void stop();
    bool running() const { return timer_.isActive(); }
    // Goes on to the next phase at once, as the timer's tick would; does
    // nothing when no blink runs. Lets a test step through a blink.
    void advance();

private:
    void tick();

    QTimer timer_;
    std::function<void(bool)> show_;
    int phase_ = 0;
};
