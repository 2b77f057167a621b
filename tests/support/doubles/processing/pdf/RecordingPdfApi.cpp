#include "processing/pdf/RecordingPdfApi.h"

#include <utility>

int32_t RecordingPdfApi::record(int32_t h, const QString& line)
{
    calls << (h == kHandle ? line : line + QStringLiteral(" bad handle"));
    if (!failed_ && !failAt.isEmpty() && line.startsWith(failAt)) {
        failed_ = true;
        pending_ = failMessage;
        return -1;
    }
    return 0;
}

int32_t RecordingPdfApi::CreateVum(int32_t wnd, int32_t msgBase)
{
    const int32_t r = record(kHandle, QStringLiteral("CreateVum %1 %2").arg(wnd).arg(msgBase));
    return r == -1 ? -1 : kHandle;
}

int32_t RecordingPdfApi::SetNumProp(int32_t h, int32_t id, int32_t value)
{
    return record(h, QStringLiteral("SetNumProp %1 %2").arg(id).arg(value));
}

int32_t RecordingPdfApi::SetStrProp(int32_t h, int32_t id, const QString& value)
{
    return record(h, QStringLiteral("SetStrProp %1 %2").arg(id).arg(value));
}

int32_t RecordingPdfApi::BeginDoc(int32_t h) { return record(h, QStringLiteral("BeginDoc")); }
int32_t RecordingPdfApi::NewPage(int32_t h) { return record(h, QStringLiteral("NewPage")); }
int32_t RecordingPdfApi::EndDoc(int32_t h) { return record(h, QStringLiteral("EndDoc")); }
int32_t RecordingPdfApi::Abort(int32_t h) { return record(h, QStringLiteral("Abort")); }
int32_t RecordingPdfApi::FreeVum(int32_t h) { return record(h, QStringLiteral("FreeVum")); }

int32_t RecordingPdfApi::StretchDrawFromFile(int32_t h, int32_t left, int32_t top, int32_t right,
                                             int32_t bottom, const QString& fileName)
{
    return record(h, QStringLiteral("StretchDrawFromFile %1 %2 %3 %4 %5")
                         .arg(left).arg(top).arg(right).arg(bottom).arg(fileName));
}

int32_t RecordingPdfApi::DrawText(int32_t h, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                  int32_t horzAlign, int32_t vertAlign, const QString& text)
{
    const int32_t r = record(h, QStringLiteral("DrawText %1 %2 %3 %4 %5 %6 %7")
                                    .arg(left).arg(top).arg(right).arg(bottom)
                                    .arg(horzAlign).arg(vertAlign).arg(text));
    // The library answers with the vertical position below the text.
    return r == -1 ? -1 : bottom;
}

QString RecordingPdfApi::GetErrorMsg() { return std::exchange(pending_, QString()); }
