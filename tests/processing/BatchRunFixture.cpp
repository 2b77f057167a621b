#include "BatchRunFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "ToolRunner.h"
#include "state/StartValues.h"

BatchRunFixture::BatchRunFixture()
{
    setStartValues(st);
    st.ps.sOutDir = dir.filePath("out");
    st.ps.bSaveErr = 1;
    st.ps.iJPGQ = 90;
    st.ps.sOutFormat = "jpg";
    st.panel.cmbEncode = "jpg";
    st.panel.cmbSizeCount = 5;
    st.panel.txtW = "400";
    st.panel.chkRM = 1;
    run.yield = [] {};
}

bool BatchRunFixture::start()
{
    return run.start(makeRunRequest(st));
}

QString BatchRunFixture::src(const QString& name) const
{
    return dir.filePath(name);
}

QString BatchRunFixture::out(const QString& name) const
{
    return QDir(st.ps.sOutDir).filePath(name);
}

QStringList BatchRunFixture::outputs() const
{
    return QDir(st.ps.sOutDir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString BatchRunFixture::outText(const QString& name) const
{
    return QString::fromUtf8(readAll(out(name)));
}

QString BatchRunFixture::result(int i) const
{
    const auto& results = run.outcome().results;
    return i >= 0 && size_t(i) < results.size() ? results[size_t(i)] : QString();
}

void BatchRunFixture::convert(const QString& name, const std::string& size, const std::string& colour)
{
    ASSERT_EQ(runTool({"convert", "-size", size, "xc:" + colour, src(name).toStdString()}).exitCode, 0)
        << "ImageMagick's convert is needed";
    st.list.add(src(name));
}

QString BatchRunFixture::noise(const QString& path, const std::string& size, const char* format)
{
    const std::string target = (format ? std::string(format) + ":" : std::string()) + path.toStdString();
    EXPECT_EQ(runTool({"convert", "-seed", "3", "-size", size, "xc:gray", "+noise", "Random", target}).exitCode, 0)
        << "ImageMagick's convert is needed";
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray checksum(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}
