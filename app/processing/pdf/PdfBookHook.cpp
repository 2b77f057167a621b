#include "processing/pdf/PdfBookHook.h"

#include "processing/BatchRun.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/pdf/RunPdf.h"

void attachPdfBook(BatchRun& run, AppState& app, Prompter& prompter, PdfApi* pdf)
{
    PdfApi& api = pdf ? *pdf : PdfLibrary::shared();
    run.createPdf = [&run, &app, &prompter, &api] { funCreatePdf(app, api, prompter, run.yield); };
}
