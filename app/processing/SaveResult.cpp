#include "processing/SaveResult.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

#include "platform/imaging/PictureWriter.h"
#include "processing/ErrorLines.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"
#include "state/NumberText.h"
#include "state/PicturePaths.h"

namespace {

bool fileId(const QString& path, std::pair<unsigned long long, unsigned long long>& id)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    id = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
    return true;
}

QString saveError(const QString& source, const QString& description)
{
    return loggedName(source + QStringLiteral("在保存时发生错误:") + description + u'.') + QStringLiteral("\r\n");
}

QString safeName(QString name)
{
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c == QChar(0))
            c = u'_';
    return name;
}

SaveOutcome save(AppState& st, int index, const QString& sourcePath, const QImage& picture,
                 const QString& format, imaging::Encoder encoder, SourceGuard& guard,
                 QStringList& errors)
{
    SaveOutcome out;
    const QString wanted = joinPath(st.ps.sOutDir, outputName(st, index, sourcePath, format));
    QString problem;
    QString path;
    if (encoder == imaging::Encoder::None)
        problem = QStringLiteral("不支持的图片格式 ") + format;
    else if (picture.isNull())
        problem = QStringLiteral("没有可保存的图片");
    else if ((path = guard.claim(wanted)).isEmpty())
        problem = QStringLiteral("输出文件 ") + wanted + QStringLiteral(" 的名字都已被占用");
    else {
        const imaging::WriteResult w = imaging::writePicture(picture, path, encoder, st.ps.iJPGQ);
        if (!w.ok)
            problem = QStringLiteral("无法写入 ") + path + QStringLiteral(" (") +
                      (w.errnum != 0 ? systemErrorText(w.errnum) : w.error) + u')';
    }
    if (!problem.isEmpty()) {
        errors << saveError(sourcePath, problem);
        return out;
    }
    out.saved = true;
    out.path = path;
    out.name = QFileInfo(path).fileName();
    if (index >= 0 && index < st.list.count() && st.list.at(index).path == sourcePath)
        st.list.at(index).resultPath = path;
    return out;
}

} // namespace

SourceGuard::SourceGuard(const PictureList& list)
{
    std::pair<unsigned long long, unsigned long long> id;
    for (const PictureEntry& e : list.entries())
        if (fileId(e.path, id))
            ids_.insert(id);
}

bool SourceGuard::isSource(const QString& path) const
{
    std::pair<unsigned long long, unsigned long long> id;
    return fileId(path, id) && ids_.count(id) > 0;
}

QString SourceGuard::claim(const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    // Names written before are known by their real folder, however spelled.
    const QString folder = QFileInfo(info.path()).canonicalFilePath();
    const QString realFolder = folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    QString candidate = path;
    for (int n = 1; n <= 10000; ++n) {
        const QString candidateName = QFileInfo(candidate).fileName();
        if (!isSource(candidate) && claimed_.insert(realFolder + u'/' + candidateName).second)
            return candidate;
        candidate = joinPath(info.path(), fittedName(stem, u'_' + QString::number(n) + ext));
    }
    return {};
}

QString outputName(const AppState& st, int index, const QString& sourcePath, const QString& format)
{
    QString stem;
    if (st.panel.chkRM == 1) {
        const int digits = int(numtext::leadingNumberIn(st.panel.txtNum, 0, 64));
        stem = st.ps.sPrefix + QStringLiteral("%1").arg(index, digits, 10, QLatin1Char('0'));
    } else {
        stem = QFileInfo(sourcePath).completeBaseName();
    }
    return safeName(stem + u'.' + format);
}

SaveOutcome SaveImg(AppState& st, int index, const QString& sourcePath, const QImage& picture,
                    const QString& format, SourceGuard& guard, QStringList& errors)
{
    return save(st, index, sourcePath, picture, format, imaging::encoderFor(format), guard, errors);
}

SaveOutcome SaveBMP(AppState& st, int index, const QString& sourcePath, const QImage& picture,
                    SourceGuard& guard, QStringList& errors)
{
    return save(st, index, sourcePath, picture, QStringLiteral("bmp"), imaging::Encoder::Bmp, guard, errors);
}
