#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vum {

class StandardSecurity;

// Writes numbered PDF objects into one file and remembers where each starts,
// for the cross-reference table. While output is disabled nothing reaches
// the file, but object numbers are still handed out.
class PdfObjectWriter {
public:
    PdfObjectWriter() = default;
    ~PdfObjectWriter();
    PdfObjectWriter(const PdfObjectWriter&) = delete;
    PdfObjectWriter& operator=(const PdfObjectWriter&) = delete;

    // Creates (replaces) the file; "Can't open file: <path>" on failure.
    // With write false no file is made at all.
    void Open(const std::string& path, bool write);
    // Flushes and closes; "File write error, or disk full" when that fails.
    void Close();
    // Closes without caring about errors (abandoned documents).
    void Discard();
    bool IsOpen() const { return file_ != nullptr; }

    void WriteRaw(std::string_view bytes);
    void WriteLine(std::string_view text);

    int32_t ReserveObjectNumber();
    // Reserves a number, writes "n 0 obj" and the first line; returns n.
    int32_t BeginObject(std::string_view firstLine = "<<");
    // Writes an object whose number was reserved earlier.
    void BeginReservedObject(int32_t number, std::string_view firstLine = "<<");
    void EndObject(std::string_view lastLine = ">>");
    // "stream", the data, "endstream", "endobj"; the dictionary with its
    // /Length comes first from the caller. In an encrypted document the
    // data is encrypted with the key of the object being written (RC4 keeps
    // the length).
    void WriteStream(std::string_view data);

    // Encryption of the document's streams; null for none. Not owned.
    void SetSecurity(const StandardSecurity* security) { security_ = security; }
    // The number of the object most recently begun (0 before the first).
    int32_t CurrentObject() const { return currentObject_; }

    static std::string ObjectRef(int32_t number);

    int64_t Position() const { return position_; }
    int32_t ObjectCount() const { return static_cast<int32_t>(offsets_.size()); }
    bool IsWritten(int32_t number) const;

    // "xref" with 20-byte entries and the trailer; rootRef etc. are the
    // trailer's further entries, written as given.
    void WriteCrossReference(const std::string& trailerEntries);

private:
    std::FILE* file_ = nullptr;
    bool write_ = false;
    int64_t position_ = 0;
    std::vector<int64_t> offsets_;
    std::vector<bool> written_;
    const StandardSecurity* security_ = nullptr;
    int32_t currentObject_ = 0;
};

} // namespace vum
