#include "platform/news/NewsDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QTextObjectInterface>

namespace {

// Lays out a picture as the room its width and height give, and draws
// nothing there. It stands in for Qt's picture handler, which, when the
// document has no such resource, opens the picture's name as a file path.
class EmptyPicture : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override
    {
        const QTextImageFormat picture = format.toImageFormat();
        return {qMax(0.0, picture.width()), qMax(0.0, picture.height())};
    }

    void drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) override {}
};

} // namespace

NewsDocument::NewsDocument(QObject* parent) : QTextDocument(parent)
{
    documentLayout()->registerHandler(QTextFormat::ImageObject, new EmptyPicture(this));
}

QVariant NewsDocument::loadResource(int, const QUrl&)
{
    return {};
}

#include "NewsDocument.moc"
