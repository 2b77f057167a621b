#include "platform/skin/SkinEngine.h"

#include <QApplication>
#include <QFile>

namespace {

constexpr qint64 kMaxSkinBytes = 1 << 20;

// A style sheet is text with at least one rule block.
bool looksLikeStyleSheet(const QByteArray& text)
{
    return !text.contains('\0') && text.contains('{') && text.contains('}');
}

} // namespace

int SkinH_AttachEx(const QString& skinFile, const QString&)
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QFile file(skinFile);
    if (!app || file.size() > kMaxSkinBytes || !file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = file.readAll();
    if (!looksLikeStyleSheet(text))
        return 0;
    app->setStyleSheet(QString::fromUtf8(text));
    return 1;
}
