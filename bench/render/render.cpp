// Runs the real picture pipeline, or the whole batch run with its saving, on
// the pictures given and reports pictures per second and peak memory; or
// measures how much moire a reduction of a zone plate leaves, against
// vipsthumbnail and GraphicsMagick.
//   render --job JOB.ini --out DIR [--render-only] [--workers N] PICTURE...
//   render --zone-plate DIR
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
#include "ZonePlate.h"
#include "platform/prompter/RecordingPrompter.h"
#include "platform/shell/RecordingShell.h"
#include "processing/BatchRun.h"
#include "processing/UploadHook.h"
#include "processing/pdf/PdfBookHook.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/RenderPicture.h"
#include "processing/RenderQueue.h"
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

// User and system time of every thread so far, and the page faults they took.
struct CpuUse {
    double seconds = 0;
    long faults = 0;
};

CpuUse cpuUse()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    auto secs = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return {secs(u.ru_utime) + secs(u.ru_stime), u.ru_minflt + u.ru_majflt};
}

// Renders only, writing each picture as PNG: the pipeline without the encoders.
int renderOnly(AppState& st, const QStringList& pictures, const QString& out)
{
    int failed = 0;
    const RenderSettings settings = snapshotSettings(st);
    const RenderAssets assets = prepareAssets(settings);
    for (int i = 0; i < pictures.size(); ++i) {
        const RenderResult r = renderPicture(pictures[i], settings, assets);
        for (const QString& e : r.errors)
            std::fprintf(stderr, "%s", e.toUtf8().constData());
        if (r.picture.isNull() || !r.picture.save(QDir(out).filePath(QStringLiteral("r%1.png").arg(i)), nullptr, 100))
            ++failed;
    }
    return failed;
}

int wholeRun(AppState& st, const QStringList& pictures, const QString& out, const QString& job, int workers)
{
    for (const QString& p : pictures)
        st.list.append(p);
    loadDescriptions(job, st);
    st.ps.sOutDir = out;
    RecordingPrompter prompter;  // answers every question with no
    RecordingShell shell;        // opens nothing
    BatchRun run(prompter, shell, st.status);
    run.workers = workers;
    // The book of the run (chkPDF=1), through the library of this build; never opened.
    PdfLibrary pdf(PdfLibrary::defaultCandidates() << QDir(VIMO_BUILD_BIN_DIR).filePath("libPDF.so"));
    attachPdfBook(run, prompter, &pdf, false);
    // With chkFtp=1 every result goes to the job's FTP target; the address
    // list is kept in the output folder, beside the page.
    attachUpload(run, nullptr, out);
    if (!run.start(makeRunRequest(st))) {
        for (const auto& p : prompter.prompts)
            std::fprintf(stderr, "refused: %s\n", p.text.toUtf8().constData());
        return int(pictures.size());
    }
    const int saved = run.outcome().saved;
    for (const auto& p : prompter.prompts)
        if (p.kind == RecordingPrompter::Kind::Message)
            std::fprintf(stderr, "message: %s\n", p.text.toUtf8().constData());
    return int(pictures.size()) - saved;
}

// User and system time of the children waited for so far.
double childCpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_CHILDREN, &u);
    auto secs = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return secs(u.ru_utime) + secs(u.ru_stime);
}

// Seconds per picture, of the clock and of the processor, that an outside
// resizer needs on the same inputs; 0 when it is not installed or fails.
// `perPicture` runs it once per input.
struct ToolTime {
    double seconds = 0;
    double cpuSeconds = 0;
};

ToolTime timeTool(const QString& program, const QStringList& pictures, const QString& out, const QString& width,
                  bool perPicture)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty())
        return {};
    QDir().mkpath(out);
    const double cpuBefore = childCpuSeconds();
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
    if (!ok)
        return {};
    const double n = double(pictures.size());
    return {t.nsecsElapsed() / 1e9 / n, (childCpuSeconds() - cpuBefore) / n};
}

bool runTool(const QString& program, const QStringList& args)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty())
        return false;
    QProcess p;
    p.start(exe, args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A 6000 x 4000 zone plate as a JPEG, reduced to width 800 by the pipeline,
// by vipsthumbnail and by GraphicsMagick with a size hint; each result's PSNR
// against ImageMagick's Lanczos reduction of the fully decoded source.
int zonePlateCase(const QString& dirPath)
{
    const QDir dir(dirPath);
    QDir().mkpath(dirPath);
    const QString src = dir.filePath("zone.jpg");
    if (!zonePlate(6000, 4000).save(src, "jpg", 95)) {
        std::fprintf(stderr, "cannot write %s\n", src.toUtf8().constData());
        return 1;
    }
    const QString ref = dir.filePath("reference.png");
    if (!runTool("convert", {src, "-filter", "Lanczos", "-resize", "800x", ref})) {
        std::printf("zone plate: ImageMagick's convert is needed for the reference\n");
        return 1;
    }
    const QImage reference(ref);
    AppState st;
    setStartValues(st);
    st.panel.txtW = "800";
    st.ps.iSizeMode = 0;
    const RenderSettings settings = snapshotSettings(st);
    QElapsedTimer t;
    t.start();
    const RenderResult ours = renderPicture(src, settings, prepareAssets(settings));
    const double seconds = t.nsecsElapsed() / 1e9;
    const QSize plate(6000, 4000);
    const double lo = 0.42, hi = 0.48;
    std::printf("zone plate 6000x4000 to width 800: PSNR against ImageMagick's Lanczos reduction of the full decode,\n"
                "moire = RMS grey levels where the plate has %.2f-%.2f cycles per source pixel (0 is clean):\n", lo, hi);
    std::printf("  reference       moire %.2f\n", bandMoire(reference, plate, lo, hi));
    std::printf("  ours            %.1f dB  moire %.2f  (%.3f s)\n", psnr(ours.picture, reference),
                bandMoire(ours.picture, plate, lo, hi), seconds);
    struct Tool { const char* label; const char* program; QStringList args; QString result; };
    const Tool tools[] = {
        {"vipsthumbnail  ", "vipsthumbnail", {src, "-s", "800x", "-o", dir.filePath("vips.png")}, dir.filePath("vips.png")},
        // The size hint a user types: GraphicsMagick's JPEG decoder may
        // then reduce while it keeps at least 1600 x 1600.
        {"GraphicsMagick ", "gm", {"convert", "-size", "1600x1600", src, "-resize", "800x", dir.filePath("gm.png")}, dir.filePath("gm.png")},
    };
    for (const Tool& tool : tools) {
        QElapsedTimer tt;
        tt.start();
        if (runTool(tool.program, tool.args))
            std::printf("  %s %.1f dB  moire %.2f  (%.3f s)\n", tool.label, psnr(QImage(tool.result), reference),
                        bandMoire(QImage(tool.result), plate, lo, hi), tt.nsecsElapsed() / 1e9);
        else
            std::printf("  %s not installed or failed\n", tool.label);
    }
    return 0;
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
    cli.addOption({"workers", "render threads of the run (default: the run's own choice)", "N"});
    cli.addOption({"zone-plate", "measure the moire of a zone plate reduction, working in DIR", "DIR"});
    cli.addPositionalArgument("PICTURE", "pictures to process", "PICTURE...");
    cli.process(app);
    if (cli.isSet("zone-plate"))
        return zonePlateCase(cli.value("zone-plate"));
    const QStringList pictures = cli.positionalArguments();
    if (!cli.isSet("job") || !cli.isSet("out") || pictures.isEmpty()) {
        std::fprintf(stderr, "usage: render --job JOB.ini --out DIR [--render-only] [--workers N] PICTURE...\n"
                             "       render --zone-plate DIR\n");
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

    const CpuUse before = cpuUse();
    QElapsedTimer timer;
    timer.start();
    const int workers = cli.isSet("workers") ? cli.value("workers").toInt() : 0;
    const int failed = cli.isSet("render-only") ? renderOnly(st, pictures, out)
                                                : wholeRun(st, pictures, out, cli.value("job"), workers);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const CpuUse after = cpuUse();
    std::printf("workers %d  pictures %lld  failed %d  seconds %.3f  cpu seconds %.3f  page faults %ld  per picture %.3f s  pictures/s %.2f  peak memory %.1f MB\n",
                cli.isSet("render-only") ? 1 : (workers > 0 ? workers : RenderQueue::defaultWorkers()),
                static_cast<long long>(pictures.size()), failed, seconds, after.seconds - before.seconds,
                after.faults - before.faults, seconds / pictures.size(), pictures.size() / seconds, peakKiB() / 1024.0);
    const int compare = std::min(int(cli.value("compare").toInt()), int(pictures.size()));
    if (compare > 0) {
        const double ours = seconds / pictures.size();
        const double oursCpu = (after.seconds - before.seconds) / pictures.size();
        const QStringList some = pictures.mid(0, compare);
        const QString width = QString::number(int(numtext::leadingNumber(st.panel.txtW)));
        struct Tool { const char* name; bool perPicture; const char* label; };
        for (const Tool& tool : {Tool{"vipsthumbnail", false, "vipsthumbnail -s"}, Tool{"convert", true, "convert -resize"}}) {
            const ToolTime theirs =
                timeTool(tool.name, some, out + u'-' + QString::fromLatin1(tool.name), width, tool.perPicture);
            // On a machine busy with other work the clock runs on while
            // others have the processor: the ratio of processor times holds.
            if (theirs.seconds > 0)
                std::printf("%s %sx: %.3f s per picture, cpu %.3f s (%d pictures); ours / theirs = %.2f, cpu %.2f\n",
                            tool.label, width.toUtf8().constData(), theirs.seconds, theirs.cpuSeconds, compare,
                            ours / theirs.seconds, oursCpu / theirs.cpuSeconds);
            else
                std::printf("%s: not installed or failed\n", tool.name);
        }
    }
    return failed == 0 ? 0 : 1;
}
