#pragma once

#include <QStringList>

#include "processing/pdf/PdfApi.h"

// Records every call as one line ("SetNumProp 28 30", "DrawText 30 40 2080 2800 2 2 title")
// and answers 0, except for the call named by failAt.
class RecordingPdfApi : public PdfApi {
public:
    static constexpr int32_t kHandle = 7;

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

    // Lines of the calls made with a handle other than kHandle are marked "bad handle".
    QStringList calls;
    // The call whose line starts with this text fails (its first occurrence), with failMessage.
    QString failAt;
    QString failMessage = QStringLiteral("Simulated failure");

private:
    int32_t record(int32_t h, const QString& line);
    QString pending_;
    bool failed_ = false;
};
