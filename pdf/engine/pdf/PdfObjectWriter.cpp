#include "engine/pdf/PdfObjectWriter.h"

#include "engine/security/StandardSecurity.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"

#include <cstring>

namespace vum {

namespace {
const char* const kWriteError = "File write error, or disk full";
}

PdfObjectWriter::~PdfObjectWriter()
{
    Discard();
}

void PdfObjectWriter::Open(const std::string& path, bool write)
{
    Discard();
    position_ = 0;
    offsets_.clear();
    written_.clear();
    currentObject_ = 0;
    write_ = write;
    if (!write)
        return;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        RaiseContextError("Can't open file", path);
}

void PdfObjectWriter::Close()
{
    if (!file_)
        return;
    const bool failed = std::fflush(file_) != 0 || std::ferror(file_);
    const bool closeFailed = std::fclose(file_) != 0;
    file_ = nullptr;
    if (failed || closeFailed)
        throw VumError(kWriteError);
}

void PdfObjectWriter::Discard()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

void PdfObjectWriter::WriteRaw(std::string_view bytes)
{
    if (!write_)
        return;
    if (!file_ || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        throw VumError(kWriteError);
    position_ += static_cast<int64_t>(bytes.size());
}

void PdfObjectWriter::WriteLine(std::string_view text)
{
    WriteRaw(text);
    WriteRaw("\n");
}

int32_t PdfObjectWriter::ReserveObjectNumber()
{
    offsets_.push_back(position_);
    written_.push_back(false);
    return ObjectCount();
}

int32_t PdfObjectWriter::BeginObject(std::string_view firstLine)
{
    const int32_t number = ReserveObjectNumber();
    BeginReservedObject(number, firstLine);
    return number;
}

void PdfObjectWriter::BeginReservedObject(int32_t number, std::string_view firstLine)
{
    const auto index = static_cast<size_t>(number - 1);
    offsets_.at(index) = position_;
    written_.at(index) = true;
    currentObject_ = number;
    WriteLine(IntText(number) + " 0 obj");
    WriteLine(firstLine);
}

void PdfObjectWriter::EndObject(std::string_view lastLine)
{
    WriteLine(lastLine);
    WriteLine("endobj");
}

void PdfObjectWriter::WriteStream(std::string_view data)
{
    WriteLine("stream");
    if (security_ && security_->Active())
        WriteRaw(security_->Encrypt(currentObject_, data));
    else
        WriteRaw(data);
    WriteRaw("\n");
    WriteLine("endstream");
    WriteLine("endobj");
}

std::string PdfObjectWriter::ObjectRef(int32_t number)
{
    return IntText(number) + " 0 R";
}

bool PdfObjectWriter::IsWritten(int32_t number) const
{
    return number >= 1 && number <= ObjectCount() && written_[static_cast<size_t>(number - 1)];
}

void PdfObjectWriter::WriteCrossReference(const std::string& trailerEntries)
{
    const int64_t xref = position_;
    WriteLine("xref");
    WriteLine("0 " + IntText(ObjectCount() + 1));
    WriteRaw("0000000000 65535 f\r\n");
    for (const int64_t offset : offsets_) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n\r\n", static_cast<long long>(offset));
        WriteRaw(std::string_view(entry, 20));
    }
    WriteLine("trailer");
    WriteLine("<<");
    WriteLine("/Size " + IntText(ObjectCount() + 1));
    WriteRaw(trailerEntries);
    WriteLine(">>");
    WriteLine("startxref");
    WriteLine(IntText(xref));
    WriteLine("%%EOF");
}

} // namespace vum
