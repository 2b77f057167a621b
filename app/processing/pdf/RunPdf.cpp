#include "processing/pdf/RunPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QCursor>
#include <QGuiApplication>

#include "platform/prompter/Prompter.h"
#include "processing/ErrorLines.h"
#include "processing/pdf/PdfApi.h"
#include "processing/pdf/PdfCalls.h"
#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"
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

void picturePage(PdfCalls& c, const RunEntry& entry, const QString& result)
{
    c.setSubject(entry.path);
    c.newPage();
    c.PdfSetNumProp(pdfprop::ImageCompressMode, 2);
    c.PdfSetNumProp(pdfprop::JpegQuality, 100);
    c.PdfSetNumProp(pdfprop::SmartStretchDraw, kOn);
    c.PdfSetNumProp(pdfprop::ImageHorzAlign, kCentre);
    c.PdfSetNumProp(pdfprop::ImageVertAlign, kCentre);
    c.stretchDraw(kLeft, kTop, kRight, kBottom, result);
    c.drawText(kLeft, kBottom, kRight, kCaptionBottom, entry.description);
    c.setSubject({});
}

void closingPage(PdfCalls& c, const RunRequest& r)
{
    c.newPage();
    c.drawText(kLeft, kTop, kRight, kBottom, r.pdfSignature);
    // The date's box reaches lower than the signature's, so centred alike it stands below it.
    c.drawText(kLeft, kTop, kRight, kDateBottom, r.pdfDate);
}

void logFailure(RunOutcome& outcome, const QString& subject, const QString& message)
{
    outcome.log(loggedName(QStringLiteral("%1 生成PDF文档失败:%2").arg(subject, message)) + QStringLiteral("\r\n"));
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

PdfBookResult funCreatePdf(const RunRequest& request, RunOutcome& outcome, PdfApi& pdf, Prompter& prompter,
                           const std::function<void()>& yield, bool show,
                           const std::function<QString(const QString&)>& claim)
{
    BusyPointer busy;
    PdfBookResult result;
    result.file = pdfBookFileName(request.outDir, request.pdfTitle);
    if (claim) {
        const QString free = claim(result.file);
        if (free.isEmpty()) {
            logFailure(outcome, result.file, QStringLiteral("没有可用的文件名"));
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
        c.PdfSetStrProp(pdfprop::Title, request.pdfTitle);
        c.beginDoc();
        titlePage(c, request.pdfTitle);
        for (size_t i = 0; i < request.entries.size() && i < outcome.results.size(); ++i) {
            // An entry whose save failed has no result; the book goes on with the next one.
            if (outcome.results[i].isEmpty())
                continue;
            picturePage(c, request.entries[i], outcome.results[i]);
            ++result.pictures;
            yield ? yield() : defaultYield();
        }
        c.setSubject(result.file);
        closingPage(c, request);
        c.endDoc();
        result.written = true;
    } catch (const PdfCallFailed& failure) {
        prompter.message(failure.message, QStringLiteral("PDF"), PromptIcon::Critical);
        logFailure(outcome, failure.subject, failure.message);
        c.drop();
        result.pictures = 0;
    }
    c.release();
    return result;
}
