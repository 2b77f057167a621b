#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <ctime>

#include "BatchRunFixture.h"
#include "ToolRunner.h"

namespace {

struct JobRecord {
    std::map<QString, QByteArray> files;  // every file of the output folder, by name
    std::vector<QString> captions;
    std::vector<QString> tips;
};

// The same job into its own output folder with `workers` render threads,
// stopped once the caption reports `stopAfter` pictures.
JobRecord runJob(const QTemporaryDir& dir, const QStringList& sources, int workers, int stopAfter)
{
    BatchRunFixture f;
    AppState& st = f.st;
    BatchRun& run = f.run;
    st.ps.sOutDir = dir.filePath(QStringLiteral("out%1").arg(workers));
    st.panel.txtW = "320";
    st.ps.sBkFile = dir.filePath("border.png");
    st.ps.sSyFile = dir.filePath("mark.png");
    st.ps.sngSyScale = 0.75f;
    st.pic.cmSy.m[3][3] = 0.6f;
    st.panel.chkInfoImg = 1;
    st.panel.cmbPosImg = 2;
    st.ps.sText = "#图片原文件名#";
    st.ps.sFont = "Arial";
    st.ps.iSize = 14;
    st.panel.chkInfoTxt = 1;
    st.rot.iRotateMode = 2;  // upright by each source's EXIF
    st.panel.mTXUndo = false;
    st.panel.mTX = 3;
    for (const QString& s : sources)
        st.list.add(s);
    run.workers = workers;
    JobRecord rec;
    run.setCaption = [&](const QString& c) {
        rec.captions.push_back(c);
        if (c == QStringLiteral("进度:3/%1").arg(sources.size())) {
            // Settings changed during the run apply to the next run only.
            st.panel.txtW = "100";
            st.panel.mTXUndo = true;
        }
        if (c == QStringLiteral("进度:%1/%2").arg(stopAfter).arg(sources.size()))
            run.stop();
    };
    st.status.setSink([&](const QString& t) { rec.tips.push_back(t); });
    EXPECT_TRUE(f.start());
    const QDir out(st.ps.sOutDir);
    for (const QString& name : out.entryList(QDir::Files, QDir::Name)) {
        QFile file(out.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        rec.files[name] = file.readAll();
    }
    return rec;
}

} // namespace

// Rendering on several threads changes nothing a user can see: the same
// files with the same bytes, the same error log, the same captions and tips in
// the same order, settings changed during the run wait for the next run, and
// a stop still ends the run after the picture in hand.
TEST(BatchRunWorkers, FourWorkersWriteWhatOneWrites)
{
    ASSERT_TRUE(toolsInstalled({"convert", "exiftool"}));
    QTemporaryDir dir;
    QStringList sources;
    for (int i = 0; i < 12; ++i) {
        const QString p = dir.filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar('0')));
        if (i == 4) {  // a broken picture among the good ones
            QFile b(p);
            ASSERT_TRUE(b.open(QIODevice::WriteOnly));
            b.write("\xFF\xD8 broken");
        } else {
            const std::string size = i % 3 == 0 ? "480x640" : "640x400";
            ASSERT_EQ(runTool({"convert", "-seed", std::to_string(i), "-size", size, "plasma:", p.toStdString()}).exitCode, 0);
        }
        sources << p;
    }
    ASSERT_EQ(runTool({"exiftool", "-q", "-overwrite_original", "-Orientation#=6", sources[2].toStdString()}).exitCode, 0);
    ASSERT_EQ(runTool({"convert", "-size", "300x200", "xc:none", "-fill", "none", "-stroke", "#c0a040", "-strokewidth", "8",
                       "-draw", "rectangle 4,4 295,195", dir.filePath("border.png").toStdString()}).exitCode, 0);
    ASSERT_EQ(runTool({"convert", "-size", "80x40", "xc:#203080", dir.filePath("mark.png").toStdString()}).exitCode, 0);

    const int stopAfter = 9;
    const JobRecord one = runJob(dir, sources, 1, stopAfter);
    const JobRecord four = runJob(dir, sources, 4, stopAfter);

    // Pictures 1 to 9 were treated, the fifth failed; 10 to 12 were not.
    ASSERT_EQ(one.files.size(), 9u) << "eight results and the error log";
    ASSERT_TRUE(one.files.count("ErrorLog.txt"));
    EXPECT_TRUE(one.files.count("Vimo_0008.jpg"));
    EXPECT_FALSE(one.files.count("Vimo_0004.jpg"));
    EXPECT_FALSE(one.files.count("Vimo_0009.jpg"));
    EXPECT_TRUE(QString::fromUtf8(one.files.at("ErrorLog.txt")).contains(sources[4]));
    ASSERT_EQ(four.files.size(), one.files.size());
    for (const auto& [name, bytes] : one.files) {
        ASSERT_TRUE(four.files.count(name)) << name.toStdString();
        EXPECT_TRUE(four.files.at(name) == bytes) << name.toStdString() << " differs";
    }
    EXPECT_EQ(four.captions, one.captions);
    EXPECT_EQ(four.tips, one.tips);
    const QImage turned = QImage::fromData(one.files.at("Vimo_0002.jpg"));
    EXPECT_EQ(turned.size(), QSize(320, 512)) << "turned upright by its EXIF, then drawn 320 wide";
    EXPECT_EQ(QImage::fromData(one.files.at("Vimo_0008.jpg")).width(), 320) << "the width the run started with";
}

namespace {

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

// Results are encoded on the render threads, not on the thread that writes
// them (the window's): however costly the encoding, that thread spends a
// small part of the run's processor time, so the window never freezes.
TEST(BatchRunWorkers, ResultsAreEncodedOnTheRenderThreads)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    BatchRunFixture f;
    for (int i = 0; i < 4; ++i)
        f.st.list.add(f.noise(f.src(QStringLiteral("n%1.png").arg(i)), "1600x1200"));
    f.st.ps.sOutFormat = f.st.panel.cmbEncode = "png";
    f.st.ps.iSizeMode = 2;  // the source's size: large results
    f.run.workers = 2;
    const double threadBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    ASSERT_TRUE(f.start());
    const double writer = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadBefore;
    const double all = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore;
    ASSERT_EQ(f.outputs().size(), 4) << f.outText().toStdString();
    EXPECT_EQ(QImage(f.out("Vimo_0003.png")).size(), QSize(1600, 1200));
    EXPECT_LT(writer, 0.25 * all) << "the writing thread spent " << writer << " s of " << all << " s";
    std::printf("writing thread %.3f s of %.3f s\n", writer, all);
}
