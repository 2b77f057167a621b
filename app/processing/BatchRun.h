#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"

class Prompter;
class Shell;
class StatusLine;

// The batch run behind the start and stop buttons, free of widgets: the
// window wires the hooks to its controls. A run reads only the request it is
// started with: every entry is rendered into the run's own picture, on worker
// threads, and saved from it here in list order, so nothing clicked during a
// run (a list selection, a preview redraw, a setting) changes what is saved,
// and the run writes nothing back into the program's state.
class BatchRun {
public:
    enum class Buttons { Idle, Running, Stopping };

    BatchRun(Prompter& prompter, Shell& shell, StatusLine& status);

    // What the start button does: the checks, then the whole run. False when
    // a check refused (or a run is already going on); true after a run.
    bool start(RunRequest request);
    // What the stop button does: the run ends after the picture in hand.
    void stop();
    bool running() const { return running_; }
    // The request of the run in hand, or of the last one.
    const RunRequest& request() const { return request_; }
    // What the run in hand has done so far, or the last run did.
    RunOutcome& outcome() { return outcome_; }
    const RunOutcome& outcome() const { return outcome_; }
    // The path a file of the run (the book, the page) is to be written to:
    // `path` unless that is a source picture or was written before in this
    // run, else a name with "_1", "_2"...; empty when none is free. Outside a
    // run, `path`.
    QString claimOutput(const QString& path);

    // Hooks, all optional.
    std::function<void(const QString&)> setCaption;   // start button: "进度:i/N", "开始处理"
    std::function<void(Buttons)> setButtons;          // start and stop buttons' state
    std::function<void()> previewOn;                  // shows "实时预览" checked
    std::function<bool()> isMinimised;
    std::function<void()> minimise, maximise;
    std::function<void()> openAddFiles;               // follow-up of an empty list
    std::function<void()> focusWidth;                 // follow-up of a zero size
    std::function<void()> openOutputFolder;           // follow-up of no output folder
    std::function<void()> createPdf;                  // the run's PDF book
    std::function<bool()> createHtm;                  // the page of uploaded pictures; true when written
    std::function<void(int index, const QString& path, const QString& name)> upload;  // one saved result
    std::function<void()> yield;                      // lets the window breathe; default processEvents

    // Render threads of a run; 0: as many as the machine has cores, at most 8.
    // The results are the same whatever the number.
    int workers = 0;

private:
    bool checksPass();
    void treat(int i, const QString& path, const struct RenderResult& r);
    void treatGuarded(int i, const QString& path, const struct RenderResult& r);
    void finish();
    QString closingText() const;
    void writeErrorLog();

    Prompter& prompter_;
    Shell& shell_;
    StatusLine& status_;
    bool running_ = false;
    bool stopAsked_ = false;
    RunRequest request_;
    RunOutcome outcome_;
    std::shared_ptr<class SourceGuard> guard_;  // during a run
    class RenderQueue* queue_ = nullptr;        // during a run
};

// Text of the error-log file: the whole log and CR LF.
QString errorLogText(const QString& errorLog);
