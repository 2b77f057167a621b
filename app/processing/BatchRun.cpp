#include "processing/BatchRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QScopeGuard>

#include "services/ShellHelpers.h"
#include "platform/prompter/Prompter.h"
#include "processing/ErrorLines.h"
#include "processing/RenderQueue.h"
#include "processing/SaveResult.h"
#include "processing/SourceFile.h"
#include "state/PicturePaths.h"
#include "state/StatusLine.h"

namespace {

const QString kIdleCaption = QStringLiteral("开始处理");

template <typename F, typename... A> void call(const F& f, A&&... a)
{
    if (f)
        f(std::forward<A>(a)...);
}

// Each picture is rendered and encoded on its render thread, so a large
// result costs the window nothing; only the encoded file comes back, to be
// written in list order. The request stays unchanged while the run lasts.
RenderQueue::RenderFunction renderAndEncode(const RunRequest& request)
{
    return [&request](const QString& path, const RenderSettings& s, const RenderAssets& a) {
        RenderResult r = renderPicture(path, s, a);
        r.encoded = encodeResult(request, path, r.picture);
        r.picture = QImage();
        return r;
    };
}

} // namespace

QString errorLogText(const QString& errorLog)
{
    return errorLog + QStringLiteral("\r\n");
}

BatchRun::BatchRun(Prompter& prompter, Shell& shell, StatusLine& status)
    : prompter_(prompter), shell_(shell), status_(status)
{
    yield = [] { QCoreApplication::processEvents(); };
}

void BatchRun::stop()
{
    if (!running_)
        return;
    stopAsked_ = true;
    // The workers may be far ahead: what they have not started yet, they never will.
    if (queue_)
        queue_->stopStarting();
    // Start stays off until the run has really ended.
    call(setButtons, Buttons::Stopping);
}

bool BatchRun::checksPass()
{
    const auto refuse = [&](const QString& text, const std::function<void()>& followUp) {
        prompter_.message(text, QString(), PromptIcon::Critical);
        call(followUp);
        return false;
    };
    const RunRequest& r = request_;
    const RenderSettings& size = r.render;
    if (r.entries.empty())
        return refuse(QStringLiteral("没有添加要处理的图片！"), openAddFiles);
    if (size.ps.iSizeMode == size.panel.cmbSizeCount - 1 &&
        (size.panel.txtW == u"0" || size.panel.txtH == u"0"))
        return refuse(QStringLiteral("图片尺寸不能为0！"), focusWidth);
    if (r.outDir.isEmpty())
        return refuse(QStringLiteral("请设置图片输出文件夹！"), openOutputFolder);
    if (r.upload && (r.target.server == u"ftp://" || r.target.server.isEmpty()))
        return refuse(QStringLiteral("网络参数还没设置或设置错误！"), {});
    // The output folder is made, with its parents, before anything is written.
    if (!QDir().mkpath(r.outDir))
        return refuse(QStringLiteral("请设置图片输出文件夹！"), openOutputFolder);
    return true;
}

bool BatchRun::start(RunRequest request)
{
    if (running_)
        return false;
    request_ = std::move(request);
    if (!checksPass())
        return false;
    running_ = true;
    stopAsked_ = false;
    const int n = int(request_.entries.size());
    if (n > 100 || request_.upload) {
        const QString q = QStringLiteral("处理这些图片可能需要较长时间。为不干扰您的工作,软件将在最小化状态下运行。\r\n确认最小化吗？");
        if (prompter_.ask(q, QString(), PromptIcon::Question))
            call(minimise);
    }
    call(setButtons, Buttons::Running);
    call(previewOn);
    outcome_ = RunOutcome{};
    outcome_.results.resize(size_t(n));
    QStringList paths;
    for (const RunEntry& e : request_.entries)
        paths << e.path;
    guard_ = std::make_shared<SourceGuard>(request_.entries);
    {
        // Pictures are rendered ahead on worker threads; saving, logging and
        // progress stay here, in list order.
        RenderQueue queue(paths, request_.render, workers, renderAndEncode(request_));
        queue_ = &queue;
        const auto forget = qScopeGuard([this] { queue_ = nullptr; });
        // A damaged border or watermark is the same in every result: said once, first.
        outcome_.log(queue.assets().errors);
        for (int i = 0; i < n; ++i) {
            status_.show(QStringLiteral("【提示】正在处理 ") + paths[i]);
            if (stopAsked_) {
                outcome_.stopped = true;
                break;
            }
            treatGuarded(i, paths[i], queue.take(i));
            call(setCaption, QStringLiteral("进度:%1/%2").arg(i + 1).arg(n));
        }
    }
    stopAsked_ = false;
    finish();
    guard_.reset();
    running_ = false;
    return true;
}

QString BatchRun::claimOutput(const QString& path)
{
    return guard_ ? guard_->claim(path) : path;
}

// One picture's failure, however it comes (a crafted file that exhausts
// memory included), is that picture's alone: it is logged and the run goes on.
void BatchRun::treatGuarded(int i, const QString& path, const RenderResult& r)
{
    QString problem;
    RunError kind = RunError::None;
    try {
        treat(i, path, r);
        return;
    } catch (const std::bad_alloc&) {
        kind = RunError::OutOfMemory;
    } catch (const std::exception& e) {
        problem = QString::fromLocal8Bit(e.what());
    } catch (...) {
        problem = QStringLiteral("未知错误");
    }
    outcome_.log(errorLine(path, QStringLiteral("在处理图片时发生错误:("), kind, problem));
}

void BatchRun::treat(int i, const QString& path, const RenderResult& r)
{
    SourceGuard& guard = *guard_;
    const QString unreadable = unreadableSource(path);
    if (!unreadable.isEmpty()) {
        outcome_.log(errorLine(path, QStringLiteral("在显示图片时发生错误:("), RunError::FileNotFound, unreadable));
        return;
    }
    outcome_.log(r.errors);
    call(yield);
    if (!r.encoded.made)
        return;  // already logged by the stage that failed
    QStringList errors;
    const SaveOutcome saved = saveEncoded(request_, i, path, r.encoded, guard, errors);
    outcome_.log(errors);
    if (saved.saved) {
        outcome_.results[size_t(i)] = saved.path;
        ++outcome_.saved;
        if (request_.upload)
            call(upload, i, saved.path, saved.name);
    }
    call(yield);
}

QString BatchRun::closingText() const
{
    if (outcome_.stopped) {
        QString text = QStringLiteral("【提示】处理已停止！已保存 %1 张图片").arg(outcome_.saved);
        if (request_.upload)
            text += QStringLiteral(",上传 %1 张").arg(outcome_.uploaded.size());
        return text + QStringLiteral("。");
    }
    // A run that wrote nothing does not claim that pictures were saved.
    if (outcome_.saved == 0)
        return QStringLiteral("【提示】处理完毕！没有图片被保存。");
    if (request_.upload)
        return QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹并上传到网络。");
    return QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。");
}

void BatchRun::writeErrorLog()
{
    const QString wanted = joinPath(request_.outDir, QStringLiteral("ErrorLog.txt"));
    const QString logPath = claimOutput(wanted);
    // A log the disk cut short is no log: it is said, and not offered for reading.
    if (!logPath.isEmpty() && writeWholeFile(logPath, errorLogText(outcome_.errorLog()).toUtf8()).isEmpty()) {
        const QString q = QStringLiteral("在处理过程中发生错误,这些错误已经保存到") + logPath +
                          QStringLiteral("。\r\n现在查看错误记录吗？");
        if (prompter_.ask(q, QString(), PromptIcon::Question))
            RunWinApp(shell_, QStringLiteral("notepad.exe"), logPath);
    } else {
        prompter_.message(QStringLiteral("在处理过程中发生错误,但错误记录无法保存到") +
                              (logPath.isEmpty() ? wanted : logPath) + QStringLiteral("。"),
                          QString(), PromptIcon::Exclamation);
    }
}

void BatchRun::finish()
{
    const RunRequest& r = request_;
    if (r.pdf)
        call(createPdf);
    if (r.upload) {
        // A page the disk refused is logged; an older one of the same name is not shown for it.
        const bool pageWritten = createHtm && createHtm();
        if (r.openOutputFolder)
            RunWinApp(shell_, QStringLiteral("explorer.exe"), r.outDir);
        if (r.openPage && pageWritten)
            OpenURL(shell_, joinPath(r.outDir, QStringLiteral("PicURL.htm")));
    } else if (r.openOutputFolder) {
        RunWinApp(shell_, QStringLiteral("explorer.exe"), r.outDir);
    }
    QString closing = closingText();
    if (isMinimised && isMinimised())
        call(maximise);
    if (outcome_.hasErrors()) {
        if (r.saveErrorLog)
            writeErrorLog();
        closing += QStringLiteral("请注意,在图片处理或上传过程中发生错误。");
    }
    status_.show(closing);
    call(setCaption, kIdleCaption);
    call(setButtons, Buttons::Idle);
}
