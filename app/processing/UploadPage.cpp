#include "processing/UploadPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "processing/ErrorLines.h"
#include "processing/SaveResult.h"
#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"

namespace {

const QString kGuide = QStringLiteral(
    "<font color=red>【Vimo网络图片使用指南】<br>下面这些图片已经传输到了网络空间。复制您需要的图片,直接粘贴到网站的编辑框里即可使用。"
    "<br>如果网站不支持直接粘贴,请选择插入图片,选择对应的图片地址即可。</font><br><hr><br>");

QByteArray joined(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// The list file grows over all runs: its old lines and the new ones are
// written anew as a whole, so a disk that fills up loses no line of old and
// leaves no half line. A list that cannot be read is not replaced.
bool rewriteWithAdded(const QString& path, const QByteArray& bytes)
{
    QByteArray whole;
    if (QFileInfo::exists(path)) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            return false;
        whole = old.readAll();
        if (old.error() != QFileDevice::NoError)
            return false;
    }
    return writeWholeFile(path, whole + bytes).isEmpty();
}

void logUnwritten(RunOutcome& outcome, const QString& path)
{
    outcome.log(loggedName(QStringLiteral("无法写入 ") + path) + QStringLiteral("。\r\n"));
}

} // namespace

QStringList uploadPageLines(const RunRequest& request, const RunOutcome& outcome)
{
    QStringList lines{QStringLiteral("<meta charset=\"utf-8\">"), kGuide};
    for (const UploadedPicture& up : outcome.uploaded) {
        const QString url = up.url.toHtmlEscaped();
        if (request.pageShowsPictures)
            lines << QStringLiteral("<br><img src=\"") + url + QStringLiteral("\"></img><br>");
        if (request.pageShowsAddresses)
            lines << QStringLiteral("【图片地址】 <font color=blue>") + url + QStringLiteral("</font><br>");
        if (!up.description.isEmpty())
            lines << QStringLiteral("<font color=black>") + up.description.toHtmlEscaped() +
                         QStringLiteral("</font><br><br>");
    }
    return lines;
}

UploadPageWrites funCreateHtm(const RunRequest& request, RunOutcome& outcome, const QString& userDir)
{
    UploadPageWrites written{true, true};
    const QString page = QDir(request.outDir).filePath(QStringLiteral("PicURL.htm"));
    if (SourceGuard(request.entries).isSource(page) ||
        !writeWholeFile(page, joined(uploadPageLines(request, outcome))).isEmpty()) {
        logUnwritten(outcome, page);
        written.page = false;
    }
    QStringList addresses;
    for (const UploadedPicture& up : outcome.uploaded)
        addresses << up.url;
    const QString list = QDir(userDir).filePath(QStringLiteral("picUpload.dat"));
    if (!addresses.isEmpty() && !rewriteWithAdded(list, joined(addresses))) {
        logUnwritten(outcome, list);
        written.list = false;
    }
    return written;
}
