#include "processing/pdf/PdfBookHook.h"

#include "processing/BatchRun.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/pdf/RunPdf.h"

void attachPdfBook(BatchRun& run, Prompter& prompter, PdfApi* pdf, bool show)
{
    PdfApi& api = pdf ? *pdf : PdfLibrary::shared();
    run.createPdf = [&run, &prompter, &api, show] {
        funCreatePdf(run.request(), run.outcome(), api, prompter, run.yield, show,
                     [&run](const QString& path) { return run.claimOutput(path); });
    };
}
