#include "engine/pdf/PdfCanvas.h"

#include "engine/document/VumDocument.h"
#include "engine/fonts/PdfTextFonts.h"
#include "engine/forms/PdfField.h"
#include "engine/pdf/PdfFileIdentifier.h"
#include "engine/util/Clock.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"

#include <ctime>

namespace vum {

namespace {
const char* const kProducer = "Vimo libPDF " VUMPDF_VERSION;
}

TPdfCanvas::TPdfCanvas(TCustomVum& document) : TCustomVumCanvas(document) {}

TPdfCanvas::~TPdfCanvas() = default;

double TPdfCanvas::ToPoints(double value) const
{
    return value * Document().PointsPerUnit();
}

double TPdfCanvas::FlipY(double y) const
{
    return ToPoints(double(Document().PageHeight()) - y);
}

std::string TPdfCanvas::X(double x) const { return FormatPdfNumber(ToPoints(x)); }
std::string TPdfCanvas::Y(double y) const { return FormatPdfNumber(FlipY(y)); }
std::string TPdfCanvas::Len(double v) const { return FormatPdfNumber(ToPoints(v)); }

int TPdfCanvas::FontIndex(const PdfFontResource& font) const
{
    for (size_t i = 0; i < FontResources.size(); ++i)
        if (FontResources[i].second.get() == &font)
            return static_cast<int>(i);
    return -1;
}

void TPdfCanvas::ResetDocument()
{
    TCustomVumCanvas::ResetDocument();
    textFonts_.reset();
    FontResources.clear();
    ContentLines.clear();
    pageObjects_.clear();
    pageAnnots_.clear();
    formFields_.clear();
    submittedFields_ = 0;
    checkMarkFont_ = 0;
    fileIdentifier_.clear();
    security_ = StandardSecurity();
    BrushColorEncoder.Reset();
    PenColorEncoder.Reset();
    FontColorEncoder.Reset();
}

void TPdfCanvas::OpenDocument()
{
    TCustomVumCanvas::OpenDocument();
    writer_.Open(Document().OutputFileName(), OutputActive());
    for (const auto& picture : Document().Images)
        picture->ForgetObject();
    documentOpen_ = true;
    fileIdentifier_ = MakeFileIdentifier(Document().OutputFileName());
    if (Document().EncryptionWanted())
        security_ = StandardSecurity(Document().OwnerPassword(), Document().UserPassword(),
                                     Document().DocumentPermissions(), fileIdentifier_);
    writer_.SetSecurity(&security_);
    writer_.WriteLine("%PDF-1.3");
    WriteInfo();
    writer_.ReserveObjectNumber(); // 2: page tree
    writer_.ReserveObjectNumber(); // 3: shared resources
    writer_.ReserveObjectNumber(); // 4: form dictionary
}

void TPdfCanvas::WriteInfo()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(Now());
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "D:%Y%m%d%H%M%S", &local);
    const TCustomVum& doc = Document();
    writer_.BeginObject();
    writer_.WriteLine("/CreationDate" + EncodeString(stamp, 1));
    writer_.WriteLine("/Title" + TextString(doc.Title(), 1));
    if (!doc.Author().empty())
        writer_.WriteLine("/Author" + TextString(doc.Author(), 1));
    if (!doc.Subject().empty())
        writer_.WriteLine("/Subject" + TextString(doc.Subject(), 1));
    if (!doc.Keywords().empty())
        writer_.WriteLine("/Keywords" + TextString(doc.Keywords(), 1));
    writer_.WriteLine("/Producer" + TextString(doc.Producer().empty() ? kProducer : doc.Producer(), 1));
    writer_.EndObject();
}

std::function<void()> TPdfCanvas::ContentCheckpoint()
{
    // The colour encoders know which colours the content already set; they
    // go back with the lines.
    return [this, lines = ContentLines.size(), brush = BrushColorEncoder, pen = PenColorEncoder,
            font = FontColorEncoder, recorded = TCustomVumCanvas::ContentCheckpoint()] {
        recorded();
        if (ContentLines.size() > lines)
            ContentLines.resize(lines);
        BrushColorEncoder = brush;
        PenColorEncoder = pen;
        FontColorEncoder = font;
    };
}

void TPdfCanvas::OpenPage()
{
    TCustomVumCanvas::OpenPage();
    pageAnnots_.clear();
}

void TPdfCanvas::ClosePage()
{
    TCustomVumCanvas::ClosePage();
    PlaceRadioGroups();
    WriteContentAndPage();
    ContentLines.clear();
    PenPos = {};
}

void TPdfCanvas::WriteContentAndPage()
{
    size_t length = 0;
    for (const auto& line : ContentLines)
        length += line.size() + 1;
    std::string block;
    block.reserve(length);
    for (const auto& line : ContentLines)
        block.append(line).append(1, '\n');
    const int32_t content = writer_.BeginObject();
    writer_.WriteLine("/Length " + IntText(static_cast<int64_t>(length)));
    writer_.WriteLine(">>");
    // Encrypted as one block, line feeds included: /Length stays right.
    writer_.WriteLine("stream");
    writer_.WriteRaw(security_.Encrypt(content, block));
    writer_.WriteLine("endstream");
    writer_.WriteLine("endobj");

    const int32_t page = writer_.BeginObject();
    pageObjects_.push_back(page);
    writer_.WriteLine("/Type/Page");
    writer_.WriteLine("/Parent 2 0 R");
    writer_.WriteLine("/MediaBox[ 0 0 " + Len(Document().PageWidth()) + " " + Len(Document().PageHeight()) + " ]");
    writer_.WriteLine("/Contents " + PdfObjectWriter::ObjectRef(content));
    if (!pageAnnots_.empty()) {
        writer_.WriteLine("/Annots [");
        for (const int32_t annot : pageAnnots_)
            writer_.WriteLine(PdfObjectWriter::ObjectRef(annot));
        writer_.WriteLine("]");
    }
    writer_.EndObject();
}

void TPdfCanvas::CloseDocument(bool final)
{
    if (!documentOpen_)
        return;
    documentOpen_ = false;
    if (!final) {
        writer_.Discard();
        return;
    }
    try {
        TCustomVumCanvas::CloseDocument(final);
        WriteTail();
        writer_.Close();
        if (OutputActive())
            WarnUndefinedLinkNames();
    } catch (...) {
        writer_.Discard();
        throw;
    }
}

void TPdfCanvas::WriteTail()
{
    if (textFonts_)
        textFonts_->WriteDeferredObjects();
    const int32_t outlines = WriteOutlines();
    const int32_t names = WriteNamedDestinations();

    int32_t encryption = 0;
    if (security_.Active()) {
        encryption = writer_.BeginObject();
        writer_.WriteRaw(security_.DictionaryLines());
        writer_.EndObject();
    }

    const int32_t catalog = writer_.BeginObject();
    writer_.WriteLine("/Type/Catalog");
    writer_.WriteLine("/Pages 2 0 R");
    if (outlines)
        writer_.WriteLine("/Outlines " + PdfObjectWriter::ObjectRef(outlines));
    if (names)
        writer_.WriteLine("/Names " + PdfObjectWriter::ObjectRef(names));
    const bool hasForm = HasPlacedFields();
    if (hasForm)
        writer_.WriteLine("/AcroForm 4 0 R");
    writer_.EndObject();

    writer_.BeginReservedObject(2);
    writer_.WriteLine("/Type/Pages");
    writer_.WriteLine("/Kids[");
    for (const int32_t page : pageObjects_)
        writer_.WriteLine(PdfObjectWriter::ObjectRef(page));
    writer_.WriteLine("]");
    writer_.WriteLine("/Count " + IntText(static_cast<int64_t>(pageObjects_.size())));
    writer_.WriteLine("/Resources 3 0 R");
    writer_.EndObject();

    WriteResources();
    if (hasForm)
        WriteFormDictionary();

    // Every reserved number that nothing filled (the form dictionary of a
    // document without fields) becomes an empty dictionary, so the
    // cross-reference table never points at a wrong place.
    for (int32_t n = 1; n <= writer_.ObjectCount(); ++n) {
        if (!writer_.IsWritten(n)) {
            writer_.BeginReservedObject(n);
            writer_.EndObject();
        }
    }

    writer_.WriteCrossReference("/Root " + PdfObjectWriter::ObjectRef(catalog) + "\n" +
                                "/Info 1 0 R\n" +
                                "/ID[(" + fileIdentifier_ + ")(" + fileIdentifier_ + ")]\n" +
                                (encryption ? "/Encrypt " + PdfObjectWriter::ObjectRef(encryption) + "\n" : ""));
}

void TPdfCanvas::WriteResources()
{
    writer_.BeginReservedObject(3);
    writer_.WriteLine("/ProcSet[/PDF/Text/ImageC]");
    writer_.WriteLine("/Font<<");
    for (size_t i = 0; i < FontResources.size(); ++i)
        writer_.WriteLine("/F" + IntText(static_cast<int64_t>(i)) + " " +
                          PdfObjectWriter::ObjectRef(FontResources[i].second->FontObjectNumber()));
    if (checkMarkFont_ != 0)
        writer_.WriteLine("/ZaDb " + PdfObjectWriter::ObjectRef(checkMarkFont_));
    writer_.WriteLine(">>");
    // Only pictures that were written: a reference to a missing object
    // would break the file.
    std::vector<std::string> pictures;
    for (const auto& picture : Document().Images)
        if (picture->IsUsed() && picture->ObjectNumber() > 0)
            pictures.push_back("/" + picture->ResourceName() + " " +
                               PdfObjectWriter::ObjectRef(picture->ObjectNumber()));
    if (!pictures.empty()) {
        writer_.WriteLine("/XObject <<");
        for (const auto& line : pictures)
            writer_.WriteLine(line);
        writer_.WriteLine(" >>");
    }
    writer_.EndObject();
}

} // namespace vum
