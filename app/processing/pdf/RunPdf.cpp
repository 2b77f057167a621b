#include "processing/pdf/RunPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QCursor>
#include <QGuiApplication>

#include "platform/prompter/Prompter.h"
#include "processing/ErrorLines.h"
#include "processing/pdf/PdfApi.h"
#include "processing/pdf/PdfCalls.h"
#include "state/AppState.h"
#include "state/PicturePaths.h"

namespace {

// Page layout in tenths of a millimetre on the library's default page.
constexpr int32_t kLeft = 30, kTop = 40, kRight = 2080, kBottom = 2800;
constexpr int32_t kCaptionBottom = 2820, kDateBottom = 3150;
constexpr int32_t kCentre = 2;
constexpr int32_t kOn = -1;  // the library reads any nonzero low byte as true

class BusyPointer {
public:
    BusyPointer() : active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
    {
        if (active_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyPointer()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    bool active_;
};

void defaultYield()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void titlePage(PdfCalls& c, const QString& title)
{
    c.PdfSetStrProp(pdfprop::FontName, QStringLiteral("黑体"));
    c.PdfSetNumProp(pdfprop::FontSize, 30);
    c.PdfSetNumProp(pdfprop::FontBold, kOn);
    c.drawText(kLeft, kTop, kRight, kBottom, title);
    c.PdfSetNumProp(pdfprop::FontSize, 16);
}

void picturePage(PdfCalls& c, const PictureEntry& entry)
{
    c.setSubject(entry.path);
    c.newPage();
    c.PdfSetNumProp(pdfprop::ImageCompressMode, 2);
    c.PdfSetNumProp(pdfprop::JpegQuality, 100);
    c.PdfSetNumProp(pdfprop::SmartStretchDraw, kOn);
    c.PdfSetNumProp(pdfprop::ImageHorzAlign, kCentre);
    c.PdfSetNumProp(pdfprop::ImageVertAlign, kCentre);
    c.stretchDraw(kLeft, kTop, kRight, kBottom, entry.resultPath);
    c.drawText(kLeft, kBottom, kRight, kCaptionBottom, entry.description);
    c.setSubject({});
}

void closingPage(PdfCalls& c, const ProgramState& ps)
{
    c.newPage();
    c.drawText(kLeft, kTop, kRight, kBottom, ps.sPDF2);
    // The date's box reaches lower than the signature's, so centred alike it stands below it.
    c.drawText(kLeft, kTop, kRight, kDateBottom, ps.sPDF3);
}

void logFailure(ProgramState& ps, const QString& subject, const QString& message)
{
    ps.bHasErr = true;
    ps.sErrLog += loggedName(QStringLiteral("%1 生成PDF文档失败:%2").arg(subject, message)) + QStringLiteral("\r\n");
}

} // namespace

QString pdfBookFileName(const QString& outDir, const QString& title)
{
    QString name = title;
    name.replace(QLatin1Char('/'), QLatin1Char('_')).remove(QChar(u'\0'));
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("Vimo");
    return QDir(outDir).filePath(fittedName(name, QStringLiteral(".pdf")));
}

PdfBookResult funCreatePdf(AppState& app, PdfApi& pdf, Prompter& prompter,
                           const std::function<void()>& yield, bool show,
                           const std::function<QString(const QString&)>& claim)
{
    BusyPointer busy;
    ProgramState& ps = app.ps;
    PdfBookResult result;
    result.file = pdfBookFileName(ps.sOutDir, ps.sPDF1);
    if (claim) {
        const QString free = claim(result.file);
        if (free.isEmpty()) {
            logFailure(ps, result.file, QStringLiteral("没有可用的文件名"));
            app.list.clearResults();
            return result;
        }
        result.file = free;
    }
    PdfCalls c(pdf);
    c.setSubject(result.file);
    try {
        c.create();
        c.PdfSetStrProp(pdfprop::FileName, result.file);
        c.PdfSetNumProp(pdfprop::WantShow, show ? 1 : 0);
        c.PdfSetStrProp(pdfprop::Title, ps.sPDF1);
        c.beginDoc();
        titlePage(c, ps.sPDF1);
        for (const PictureEntry& entry : app.list.entries()) {
            // An entry whose save failed has no result; the book goes on with the next one.
            if (entry.resultPath.isEmpty())
                continue;
            picturePage(c, entry);
            ++result.pictures;
            yield ? yield() : defaultYield();
        }
        c.setSubject(result.file);
        closingPage(c, ps);
        c.endDoc();
        result.written = true;
    } catch (const PdfCallFailed& failure) {
        prompter.message(failure.message, QStringLiteral("PDF"), PromptIcon::Critical);
        logFailure(ps, failure.subject, failure.message);
        c.drop();
        result.pictures = 0;
    }
    c.release();
    app.list.clearResults();
    return result;
}
