#include "processing/SaveResult.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>

#include "platform/imaging/PictureWriter.h"
#include "processing/ErrorLines.h"
#include "processing/RenderPicture.h"
#include "processing/RunRequest.h"
#include "state/PictureList.h"
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

SaveOutcome save(const RunRequest& request, int index, const QString& sourcePath, const EncodedResult& encoded,
                 SourceGuard& guard, QStringList& errors)
{
    SaveOutcome out;
    const QString& format = encoded.format;
    const QString wanted = joinPath(request.outDir, outputName(request, index, sourcePath, format));
    QString problem;
    QString path;
    if (imaging::encoderFor(format) == imaging::Encoder::None)
        problem = QStringLiteral("不支持的图片格式 ") + format;
    else if (!encoded.made)
        problem = QStringLiteral("没有可保存的图片");
    else if (!encoded.error.isEmpty())
        problem = QStringLiteral("无法写入 ") + wanted + QStringLiteral(" (") + encoded.error + u')';
    else if ((path = guard.claim(wanted, outputCounter(request, index).size())).isEmpty())
        problem = QStringLiteral("输出文件 ") + wanted + QStringLiteral(" 的名字都已被占用");
    else if (const QString why = writeWholeFile(path, encoded.bytes); !why.isEmpty())
        problem = QStringLiteral("无法写入 ") + path + QStringLiteral(" (") + why + u')';
    if (!problem.isEmpty()) {
        errors << saveError(sourcePath, problem);
        return out;
    }
    out.saved = true;
    out.path = path;
    out.name = QFileInfo(path).fileName();
    return out;
}

EncodedResult encoded(const QString& format, const QImage& picture, int jpegQuality)
{
    EncodedResult e;
    e.format = format;
    e.made = !picture.isNull();
    const imaging::Encoder encoder = imaging::encoderFor(format);
    if (!e.made || encoder == imaging::Encoder::None)
        return e;
    imaging::EncodeResult r = imaging::encodePicture(picture, encoder, jpegQuality);
    e.bytes = std::move(r.bytes);
    e.error = r.error;
    return e;
}

} // namespace

SourceGuard::SourceGuard(const std::vector<RunEntry>& sources)
{
    for (const RunEntry& e : sources)
        addSource(e.path);
}

SourceGuard::SourceGuard(const PictureList& list)
{
    for (const PictureEntry& e : list.entries())
        addSource(e.path);
}

void SourceGuard::addSource(const QString& path)
{
    std::pair<unsigned long long, unsigned long long> id;
    if (fileId(path, id))
        ids_.insert(id);
}

bool SourceGuard::isSource(const QString& path) const
{
    std::pair<unsigned long long, unsigned long long> id;
    return fileId(path, id) && ids_.count(id) > 0;
}

QString SourceGuard::claim(const QString& path, qsizetype keptTail)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    // Names written before are known by their real folder, however spelled.
    const QString folder = QFileInfo(info.path()).canonicalFilePath();
    const QString realFolder = folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    const qsizetype kept = std::clamp<qsizetype>(keptTail, 0, stem.size());
    const QString shortened = stem.left(stem.size() - kept);
    const QString counter = stem.right(kept);
    QString candidate = path;
    for (int n = 1; n <= 10000; ++n) {
        const QString candidateName = QFileInfo(candidate).fileName();
        if (!isSource(candidate) && claimed_.insert(realFolder + u'/' + candidateName).second)
            return candidate;
        candidate = joinPath(info.path(), fittedName(shortened, counter + u'_' + QString::number(n) + ext));
    }
    return {};
}

QString outputCounter(const RunRequest& request, int index)
{
    if (!request.rename)
        return {};
    const int digits = int(numtext::leadingNumberIn(request.counterDigits, 0, 64));
    return QStringLiteral("%1").arg(index, digits, 10, QLatin1Char('0'));
}

QString outputName(const RunRequest& request, int index, const QString& sourcePath, const QString& format)
{
    const QString stem = request.rename ? request.prefix : QFileInfo(sourcePath).completeBaseName();
    return fittedName(safeName(stem), safeName(outputCounter(request, index) + u'.' + format));
}

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    const imaging::WriteResult w = imaging::writeBytes(bytes, path);
    if (w.ok)
        return {};
    const QString why = w.errnum != 0 ? systemErrorText(w.errnum) : w.error;
    return why.isEmpty() ? QStringLiteral("未知错误") : why;
}

QString resultFormat(const RunRequest& request, const QString& sourcePath)
{
    if (request.format.toLower() != u"原格式")
        return request.format;
    const QString last4 = sourcePath.right(4);
    if (last4.compare(QStringLiteral(".bmp"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("bmp");
    return last4.startsWith(u'.') ? last4.mid(1) : last4;
}

EncodedResult encodeResult(const RunRequest& request, const QString& sourcePath, const QImage& picture)
{
    return encoded(resultFormat(request, sourcePath), picture, request.jpegQuality);
}

SaveOutcome saveEncoded(const RunRequest& request, int index, const QString& sourcePath,
                        const EncodedResult& result, SourceGuard& guard, QStringList& errors)
{
    return save(request, index, sourcePath, result, guard, errors);
}

SaveOutcome SaveImg(const RunRequest& request, int index, const QString& sourcePath, const QImage& picture,
                    const QString& format, SourceGuard& guard, QStringList& errors)
{
    return save(request, index, sourcePath, encoded(format, picture, request.jpegQuality), guard, errors);
}

SaveOutcome SaveBMP(const RunRequest& request, int index, const QString& sourcePath, const QImage& picture,
                    SourceGuard& guard, QStringList& errors)
{
    return save(request, index, sourcePath, encoded(QStringLiteral("bmp"), picture, request.jpegQuality), guard,
                errors);
}
