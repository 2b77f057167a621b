#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "processing/pdf/PdfApi.h"

// libPDF.so loaded at run time. The file is looked for on the first call,
// beside the program and then in the install lib folder (VIMO_PDF_LIBRARY
// names the one file to use instead), and each function is bound by name.
// When the library cannot be loaded every call returns -1 and GetErrorMsg
// says which file was missing or unusable, so a caller never crashes on it.
class PdfLibrary : public PdfApi {
public:
    static constexpr const char* kFileName = "libPDF.so";

    // Looks for the library in `candidates`, in order.
    explicit PdfLibrary(QStringList candidates);
    ~PdfLibrary() override;
    PdfLibrary(const PdfLibrary&) = delete;
    PdfLibrary& operator=(const PdfLibrary&) = delete;

    // The program's own copy, with the usual places to look.
    static PdfLibrary& shared();
    // The usual places: VIMO_PDF_LIBRARY when set, else beside the program,
    // then the install lib folder.
    static QStringList defaultCandidates();

    // Loads on first use; true when every function is bound.
    bool load();
    // Why the last load failed; "" after a good one.
    const QString& loadError() const { return loadError_; }
    // The file that was loaded; "" before a good load.
    const QString& loadedFile() const { return loadedFile_; }

    int32_t CreateVum(int32_t wnd, int32_t msgBase) override;
    int32_t SetNumProp(int32_t h, int32_t id, int32_t value) override;
    int32_t SetStrProp(int32_t h, int32_t id, const QString& value) override;
    int32_t BeginDoc(int32_t h) override;
    int32_t NewPage(int32_t h) override;
    int32_t StretchDrawFromFile(int32_t h, int32_t left, int32_t top, int32_t right,
                                int32_t bottom, const QString& fileName) override;
    int32_t DrawText(int32_t h, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     int32_t horzAlign, int32_t vertAlign, const QString& text) override;
    int32_t EndDoc(int32_t h) override;
    int32_t Abort(int32_t h) override;
    int32_t FreeVum(int32_t h) override;
    QString GetErrorMsg() override;

    struct Functions;

private:
    bool tryLoad(const QString& file, QString& why);
    // The bound functions, or null (with the load message kept) when the library cannot be loaded.
    const Functions* ready();

    QStringList candidates_;
    void* handle_ = nullptr;
    std::unique_ptr<Functions> fn_;
    QString loadError_;
    QString loadedFile_;
    QString pendingError_;  // a load failure that GetErrorMsg has not handed out yet
};
