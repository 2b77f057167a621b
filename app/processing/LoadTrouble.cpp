#include "processing/LoadTrouble.h"

#include <QFileInfo>

#include "platform/imaging/JpegDecoder.h"
#include "platform/imaging/PictureReader.h"

namespace {

const QString kDamaged = QStringLiteral("图片数据不完整或已损坏,缺少的部分为灰色");
// An arithmetic-coded JPEG gives no sign where its data end early: without
// its end marker nothing of it can be trusted, and nothing is decoded.
const QString kCutUndecoded = QStringLiteral("图片数据不完整:算术编码的 JPEG 缺少结束标记");

} // namespace

LoadTrouble loadTrouble(const imaging::LoadedPicture& loaded, QSize declared)
{
    if (loaded.tooLarge && loaded.bufferBytes > 0)
        return {RunError::OutOfMemory, tooLargeToDecodeText(declared.width(), declared.height(), loaded.bufferBytes,
                                                            imaging::kMaxPictureBytes)};
    if (loaded.tooLarge) {
        const QSize big = loaded.decodedSize;
        return {RunError::OutOfMemory, tooLargeText(big.width(), big.height(), imaging::kMaxPicturePixels)};
    }
    if (loaded.noMemory)
        return {RunError::OutOfMemory, QString()};
    if (loaded.tooManyScans)
        return {RunError::InvalidPicture, QStringLiteral("JPEG 图片的扫描超过 %1 次").arg(imaging::kMaxJpegScans)};
    if (loaded.cutUndecoded)
        return {RunError::InvalidPicture, kCutUndecoded};
    if (loaded.tooLittleData)
        return {RunError::InvalidPicture, QStringLiteral("图片数据不完整或已损坏,数据容纳不下 %1 x %2 像素")
                                              .arg(declared.width())
                                              .arg(declared.height())};
    if (loaded.image.isNull())
        return {RunError::InvalidPicture, QString()};
    if (loaded.damaged)
        return {RunError::InvalidPicture, kDamaged, true};
    return {};
}

QString troubleText(const QString& part, const QString& path, const LoadTrouble& trouble)
{
    const QString name = QFileInfo(path).fileName();
    if (trouble.damaged)
        return part + kDamaged + u':' + name;
    const QString reason = trouble.detail.isEmpty() ? errorDescription(trouble.kind) : trouble.detail;
    return part + QStringLiteral("图片无法读取(") + reason + QStringLiteral("),没有画出:") + name;
}
