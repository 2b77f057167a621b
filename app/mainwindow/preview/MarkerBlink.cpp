#include "mainwindow/preview/MarkerBlink.h"

MarkerBlink::MarkerBlink(QObject* parent) : QObject(parent)
{
    timer_.setInterval(kPhaseMs);
    connect(&timer_, &QTimer::timeout, this, &MarkerBlink::tick);
}

void MarkerBlink::start(std::function<void(bool)> show)
{
    stop();
    show_ = std::move(show);
    phase_ = 0;
    if (show_)
        show_(true);
    timer_.start();
}

void MarkerBlink::stop()
{
    timer_.stop();
    show_ = nullptr;
}

void MarkerBlink::advance()
{
    if (running())
        tick();
}

void MarkerBlink::tick()
{
    ++phase_;
    const bool visible = phase_ % 2 == 0;
    // Taken out first: the callback may start another blink.
    std::function<void(bool)> show = show_;
    if (phase_ >= kPhases - 1)
        stop();
    if (show)
        show(visible);
}
