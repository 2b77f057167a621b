// Runs the real picture pipeline, or the whole batch run with its saving, on
// the pictures given and reports pictures per second and peak memory.
//   render --job JOB.ini --out DIR [--render-only] PICTURE...
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

#include "JobFile.h"
#include "platform/prompter/RecordingPrompter.h"
#include "platform/shell/RecordingShell.h"
#include "processing/BatchRun.h"
#include "processing/UploadHook.h"
#include "processing/pdf/PdfBookHook.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "state/StartValues.h"

namespace {

long peakKiB()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Renders only, writing each picture as PNG: the pipeline without the encoders.
int renderOnly(AppState& st, const QStringList& pictures, const QString& out)
{
    int failed = 0;
    for (int i = 0; i < pictures.size(); ++i) {
        const RenderResult r = renderPicture(pictures[i], st);
        for (const QString& e : r.errors)
            std::fprintf(stderr, "%s", e.toUtf8().constData());
        if (r.picture.isNull() || !r.picture.save(QDir(out).filePath(QStringLiteral("r%1.png").arg(i)), nullptr, 100))
            ++failed;
    }
    return failed;
}

int wholeRun(AppState& st, const QStringList& pictures, const QString& out, const QString& job)
{
    for (const QString& p : pictures)
        st.list.append(p);
    loadDescriptions(job, st);
    st.ps.sOutDir = out;
    RecordingPrompter prompter;  // answers every question with no
    RecordingShell shell;        // opens nothing
    BatchRun run(st, prompter, shell);
    // The book of the run (chkPDF=1), through the library of this build; never opened.
    PdfLibrary pdf(PdfLibrary::defaultCandidates() << QDir(VIMO_BUILD_BIN_DIR).filePath("libPDF.so"));
    attachPdfBook(run, st, prompter, &pdf, false);
    // With chkFtp=1 every result goes to the job's FTP target; the address
    // list is kept in the output folder, beside the page.
    attachUpload(run, st, nullptr, out);
    // The book forgets the run's results, so they are counted before it.
    int saved = 0;
    auto countSaved = [&] {
        saved = 0;
        for (const PictureEntry& e : st.list.entries())
            saved += !e.resultPath.isEmpty();
    };
    run.createPdf = [&, book = run.createPdf] {
        countSaved();
        book();
    };
    if (!run.start()) {
        for (const auto& p : prompter.prompts)
            std::fprintf(stderr, "refused: %s\n", p.text.toUtf8().constData());
        return int(pictures.size());
    }
    if (st.panel.chkPDF != 1)
        countSaved();
    for (const auto& p : prompter.prompts)
        if (p.kind == RecordingPrompter::Kind::Message)
            std::fprintf(stderr, "message: %s\n", p.text.toUtf8().constData());
    return int(pictures.size()) - saved;
}

// Seconds per picture that an outside resizer needs on the same inputs; 0 when
// it is not installed or fails. `perPicture` runs it once per input.
double timeTool(const QString& program, const QStringList& pictures, const QString& out, const QString& width,
                bool perPicture)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty())
        return 0;
    QDir().mkpath(out);
    QElapsedTimer t;
    t.start();
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(exe, args);
        return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    bool ok = true;
    if (perPicture) {
        for (int i = 0; i < pictures.size() && ok; ++i)
            ok = run({pictures[i], QStringLiteral("-resize"), width + u'x',
                      QDir(out).filePath(QStringLiteral("c%1.jpg").arg(i))});
    } else {
        ok = run(QStringList{QStringLiteral("-s"), width + u'x', QStringLiteral("-o"),
                             QDir(out).absolutePath() + QStringLiteral("/%s.jpg")} + pictures);
    }
    return ok ? t.nsecsElapsed() / 1e9 / pictures.size() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A command-line harness draws only into pictures: it needs no display,
    // so it starts on a machine without one (a platform the caller names wins).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOption({"job", "job file ([Job] group)", "JOB.ini"});
    cli.addOption({"out", "output folder", "DIR"});
    cli.addOption({"render-only", "render and write PNG, without the run and its encoders"});
    cli.addOption({"compare", "also time vipsthumbnail and ImageMagick's convert on the first N inputs", "N"});
    cli.addPositionalArgument("PICTURE", "pictures to process", "PICTURE...");
    cli.process(app);
    const QStringList pictures = cli.positionalArguments();
    if (!cli.isSet("job") || !cli.isSet("out") || pictures.isEmpty()) {
        std::fprintf(stderr, "usage: render --job JOB.ini --out DIR [--render-only] PICTURE...\n");
        return 2;
    }
    AppState st;
    setStartValues(st);
    QString error;
    if (!loadJob(cli.value("job"), st, error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 2;
    }
    const QString out = cli.value("out");
    QDir().mkpath(out);

    QElapsedTimer timer;
    timer.start();
    const int failed = cli.isSet("render-only") ? renderOnly(st, pictures, out) : wholeRun(st, pictures, out, cli.value("job"));
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("pictures %lld  failed %d  seconds %.3f  per picture %.3f s  pictures/s %.2f  peak memory %.1f MB\n",
                static_cast<long long>(pictures.size()), failed, seconds, seconds / pictures.size(),
                pictures.size() / seconds, peakKiB() / 1024.0);
    const int compare = std::min(int(cli.value("compare").toInt()), int(pictures.size()));
    if (compare > 0) {
        const double ours = seconds / pictures.size();
        const QStringList some = pictures.mid(0, compare);
        const QString width = QString::number(int(numtext::leadingNumber(st.panel.txtW)));
        struct Tool { const char* name; bool perPicture; const char* label; };
        for (const Tool& tool : {Tool{"vipsthumbnail", false, "vipsthumbnail -s"}, Tool{"convert", true, "convert -resize"}}) {
            const double theirs = timeTool(tool.name, some, QDir(out).filePath(tool.name), width, tool.perPicture);
            if (theirs > 0)
                std::printf("%s %sx: %.3f s per picture (%d pictures); ours / theirs = %.2f\n", tool.label,
                            width.toUtf8().constData(), theirs, compare, ours / theirs);
            else
                std::printf("%s: not installed or failed\n", tool.name);
        }
    }
    return failed == 0 ? 0 : 1;
}
