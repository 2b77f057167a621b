#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "processing/SaveResult.h"
#include "processing/RunRequest.h"

TEST(SaveResult, OutputNames)
{
    struct Case { int rename; const char* prefix; const char* digits; int index; const char* source; const char* format; const char* name; };
    const Case cases[] = {
        {1, "Vimo_", "4", 2, "/p/a.jpg", "jpg", "Vimo_0002.jpg"},
        {1, "Vimo_", "2", 123, "/p/a.jpg", "jpg", "Vimo_123.jpg"},
        {1, "x", "0", 5, "/p/a.jpg", "png", "x5.png"},
        {0, "Vimo_", "4", 0, "/any/b.c.png", "jpg", "b.c.jpg"},
        {0, "", "4", 0, "/p/a.JPEG", "JPEG", "a.JPEG"},
        {1, "../../etc/x", "4", 1, "/p/a.jpg", "jpg", ".._.._etc_x0001.jpg"},
        {1, "a\\b", "1", 1, "/p/a.jpg", "jpg", "a_b1.jpg"},
        // A digit count far out of range from a hand-edited file: held at 64 digits.
        {1, "V", "99999999999999", 7, "/p/a.jpg", "jpg", "V0000000000000000000000000000000000000000000000000000000000000007.jpg"},
        {1, "V", "-99999999999999", 7, "/p/a.jpg", "jpg", "V7.jpg"},
    };
    for (const Case& c : cases) {
        RunRequest r;
        r.rename = c.rename == 1;
        r.prefix = c.prefix;
        r.counterDigits = c.digits;
        EXPECT_EQ(outputName(r, c.index, c.source, c.format), QString::fromUtf8(c.name));
    }
}

TEST(SaveResult, RecordsOnlyWhatWasWrittenAndNeverReplacesASource)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("a.png");
    QImage img(8, 6, QImage::Format_RGB888);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(src));
    const QByteArray before = [&] { QFile f(src); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    RunRequest r;
    r.entries = {{src, {}}};
    r.outDir = dir.path();
    SourceGuard guard(r.entries);
    QStringList errors;

    // Same folder, same name, same format: that is the source itself.
    SaveOutcome o = SaveImg(r, 0, src, img, "png", guard, errors);
    EXPECT_TRUE(o.saved);
    EXPECT_EQ(o.name, "a_1.png");
    EXPECT_TRUE(errors.isEmpty());
    QFile f(src);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    // Through a link to the folder it is still the source, and a_1.png is taken.
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath("link")));
    r.outDir = dir.filePath("link");
    o = SaveImg(r, 0, src, img, "png", guard, errors);
    EXPECT_EQ(o.path, dir.filePath("link/a_2.png"));
    EXPECT_TRUE(errors.isEmpty());

    // A format without an encoder and a folder that does not exist fail and are logged.
    r.outDir = dir.path();
    errors.clear();
    EXPECT_FALSE(SaveImg(r, 0, src, img, "xyz", guard, errors).saved);
    r.outDir = dir.filePath("missing/deeper");
    EXPECT_FALSE(SaveBMP(r, 0, src, img, guard, errors).saved);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].startsWith(src + "在保存时发生错误:"));
    EXPECT_TRUE(errors[0].endsWith(".\r\n"));

    r.outDir = dir.path();
    errors.clear();
    o = SaveImg(r, 0, src, img, "JPEG", guard, errors);
    EXPECT_TRUE(o.saved);
    EXPECT_EQ(o.path, dir.filePath("a.JPEG"));
    EXPECT_TRUE(errors.isEmpty());
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".vimo-").size(), 0);
}
