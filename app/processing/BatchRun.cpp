#include "processing/BatchRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "services/ShellHelpers.h"
#include "platform/prompter/Prompter.h"
#include "processing/ErrorLines.h"
#include "processing/RenderQueue.h"
#include "processing/SaveResult.h"
#include "processing/SourceFile.h"
#include "state/AppState.h"
#include "state/PicturePaths.h"

namespace {

const QString kIdleCaption = QStringLiteral("开始处理");

template <typename F, typename... A> void call(const F& f, A&&... a)
{
    if (f)
        f(std::forward<A>(a)...);
}

bool writeErrorLog(const QString& path, const QString& text)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    return f.write(bytes) == bytes.size() && f.commit();
}

} // namespace

QString errorLogText(const QString& sErrLog)
{
    return sErrLog + QStringLiteral("\r\n");
}

BatchRun::BatchRun(AppState& st, Prompter& prompter, Shell& shell)
    : st_(st), prompter_(prompter), shell_(shell)
{
    yield = [] { QCoreApplication::processEvents(); };
}

void BatchRun::stop()
{
    if (!running_)
        return;
    st_.win.bStopRun = true;
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
    if (st_.list.empty())
        return refuse(QStringLiteral("没有添加要处理的图片！"), openAddFiles);
    if (st_.ps.iSizeMode == st_.panel.cmbSizeCount - 1 &&
        (st_.panel.txtW == u"0" || st_.panel.txtH == u"0"))
        return refuse(QStringLiteral("图片尺寸不能为0！"), focusWidth);
    if (st_.ps.sOutDir.isEmpty())
        return refuse(QStringLiteral("请设置图片输出文件夹！"), openOutputFolder);
    if (st_.panel.chkFtp == 1 && (st_.ftp.sFtpServer == u"ftp://" || st_.ftp.sFtpServer.isEmpty()))
        return refuse(QStringLiteral("网络参数还没设置或设置错误！"), {});
    // The output folder is made, with its parents, before anything is written.
    if (!QDir().mkpath(st_.ps.sOutDir))
        return refuse(QStringLiteral("请设置图片输出文件夹！"), openOutputFolder);
    return true;
}

bool BatchRun::start()
{
    if (running_ || !checksPass())
        return false;
    running_ = true;
    const int n = st_.list.count();
    if (n > 100 || st_.panel.chkFtp == 1) {
        const QString q = QStringLiteral("处理这些图片可能需要较长时间。为不干扰您的工作,软件将在最小化状态下运行。\r\n确认最小化吗？");
        if (prompter_.ask(q, QString(), PromptIcon::Question))
            call(minimise);
    }
    call(setButtons, Buttons::Running);
    st_.win.bPreviewOff = false;
    call(previewOn);
    st_.list.clearResults();
    savedCount_ = 0;
    const QString formatChoice = st_.ps.sOutFormat;
    // The entries as they stand now: list edits during the run do not shift it.
    QStringList paths;
    for (const PictureEntry& e : st_.list.entries())
        paths << e.path;
    guard_ = std::make_shared<SourceGuard>(st_.list);
    {
        // Pictures are rendered ahead on worker threads with the settings as
        // they are now; saving, logging and progress stay here, in list order.
        RenderQueue queue(paths, snapshotSettings(st_), workers);
        for (int i = 0; i < n; ++i) {
            ShowTip(st_, QStringLiteral("【提示】正在处理 ") + paths[i]);
            if (st_.win.bStopRun) {
                st_.win.bStopRun = false;
                break;
            }
            treatGuarded(i, paths[i], queue.take(i));
            call(setCaption, QStringLiteral("进度:%1/%2").arg(i + 1).arg(n));
        }
    }
    st_.win.bStopRun = false;
    st_.ps.sOutFormat = formatChoice;
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
    log({errorLine(path, QStringLiteral("在处理图片时发生错误:("), kind, problem)});
}

void BatchRun::treat(int i, const QString& path, const RenderResult& r)
{
    SourceGuard& guard = *guard_;
    const QString unreadable = unreadableSource(path);
    if (!unreadable.isEmpty()) {
        log({errorLine(path, QStringLiteral("在显示图片时发生错误:("), RunError::FileNotFound, unreadable)});
        return;
    }
    log(r.errors);
    call(yield);
    if (r.picture.isNull())
        return;  // already logged by the stage that failed
    QStringList errors;
    SaveOutcome saved;
    const QString choice = st_.panel.cmbEncode.toLower();
    if (choice == u"原格式") {
        const QString last4 = path.right(4);
        if (last4.compare(QStringLiteral(".bmp"), Qt::CaseInsensitive) == 0) {
            saved = SaveBMP(st_, i, path, r.picture, guard, errors);
        } else {
            st_.ps.sOutFormat = last4.startsWith(u'.') ? last4.mid(1) : last4;
            saved = SaveImg(st_, i, path, r.picture, st_.ps.sOutFormat, guard, errors);
        }
    } else if (choice == u"bmp") {
        saved = SaveBMP(st_, i, path, r.picture, guard, errors);
    } else {
        saved = SaveImg(st_, i, path, r.picture, st_.ps.sOutFormat, guard, errors);
    }
    log(errors);
    savedCount_ += saved.saved ? 1 : 0;
    if (saved.saved && st_.panel.chkFtp == 1)
        call(upload, saved.path, saved.name);
    call(yield);
}

void BatchRun::log(const QStringList& lines)
{
    for (const QString& line : lines) {
        st_.ps.sErrLog += line;
        st_.ps.bHasErr = true;
    }
}

void BatchRun::finish()
{
    ProgramState& ps = st_.ps;
    if (st_.panel.chkPDF == 1)
        call(createPdf);
    QString closing;
    if (st_.panel.chkFtp == 1) {
        call(createHtm);
        if (ps.bAutoODir != 0)
            RunWinApp(shell_, QStringLiteral("explorer.exe"), ps.sOutDir);
        if (ps.bAutoURL != 0)
            OpenURL(shell_, joinPath(ps.sOutDir, QStringLiteral("PicURL.htm")));
        closing = QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹并上传到网络。");
    } else {
        if (ps.bAutoODir != 0)
            RunWinApp(shell_, QStringLiteral("explorer.exe"), ps.sOutDir);
        closing = QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。");
    }
    // A run that wrote nothing does not claim that pictures were saved.
    if (savedCount_ == 0)
        closing = QStringLiteral("【提示】处理完毕！没有图片被保存。");
    if (isMinimised && isMinimised())
        call(maximise);
    if (ps.bHasErr) {
        if (ps.bSaveErr != 0) {
            const QString logPath = claimOutput(joinPath(ps.sOutDir, QStringLiteral("ErrorLog.txt")));
            if (!logPath.isEmpty() && writeErrorLog(logPath, errorLogText(ps.sErrLog))) {
                const QString q = QStringLiteral("在处理过程中发生错误,这些错误已经保存到") + logPath +
                                  QStringLiteral("。\r\n现在查看错误记录吗？");
                if (prompter_.ask(q, QString(), PromptIcon::Question))
                    RunWinApp(shell_, QStringLiteral("notepad.exe"), logPath);
            } else {
                prompter_.message(QStringLiteral("在处理过程中发生错误,但错误记录无法保存到") + logPath +
                                      QStringLiteral("。"),
                                  QString(), PromptIcon::Exclamation);
            }
        }
        closing += QStringLiteral("请注意,在图片处理或上传过程中发生错误。");
    }
    ShowTip(st_, closing);
    ps.sErrLog = kErrLogHeader;
    ps.bHasErr = false;
    st_.ftp.sUpURL.clear();
    call(setCaption, kIdleCaption);
    call(setButtons, Buttons::Idle);
}
