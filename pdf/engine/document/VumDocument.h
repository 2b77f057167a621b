#pragma once

#include "engine/document/PictureSpool.h"
#include "engine/document/StoredPicture.h"
#include "engine/security/StandardSecurity.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vum {

class TCustomVumCanvas;
class TCustomVumDocument;

// The object behind a handle: the settings of the document, the life of one
// document at a time, the page and section counters, the output file name,
// and handing the finished file to other programs. It owns the drawing
// surface, which writes the file.
class TCustomVum {
public:
    TCustomVum();
    virtual ~TCustomVum();
    TCustomVum(const TCustomVum&) = delete;
    TCustomVum& operator=(const TCustomVum&) = delete;

    TCustomVumCanvas& Canvas() const { return *canvas_; }

    // Document life.
    void BeginDoc();
    void NewPage();
    void NewSection(uint8_t orientation, bool startSection);
    void EndDoc();
    void Abort();

    // The display list of the documents (made for the first document that
    // counts its pages, kept for later ones); null while there is none.
    TCustomVumDocument* Recorder() const { return recorder_.get(); }
    void CreateRecorder();
    // The second pass of a document that counts its pages: the display list
    // is run again, writing the file.
    void Replay();
    bool Replaying() const { return replaySource_ != nullptr; }
    // Set by Abort during a replay: the run stops after the record it is in.
    bool ReplayStopped() const { return replayStopped_; }
    // The first pass of a counted document has ended: its totals are final.
    bool FirstPassDone() const { return firstPassDone_; }

    // Passwords for the next document: BeginDoc takes them over for that one
    // document. Refused while a document is open, and when a character has no
    // code in PDFDocEncoding (readers hash what they are typed in it).
    void SetOwnerPassword(const std::string& password);
    void SetUserPassword(const std::string& password, bool canPrint, bool canCopy, bool canAnnotate,
                         bool canModify);
    // The passwords (PDFDocEncoding bytes) and permissions in effect for the
    // open document.
    const std::string& OwnerPassword() const { return ownerPassword_; }
    const std::string& UserPassword() const { return userPassword_; }
    const Permissions& DocumentPermissions() const { return permissions_; }
    // A password was given, or permissions were withheld: without encryption
    // a reader would not know of them. Empty passwords then open the file.
    bool EncryptionWanted() const;

    // The finished file.
    void Show();
    void PrintDoc(const std::string& printerName);
    bool EMail(const std::string& recipients, const std::string& subject,
               const std::string& text, bool showDialog);
    // Fetches an http/https/ftp address into the temporary folder; the file
    // is deleted with the component.
    std::string DownloadToTempFile(const std::string& url);

    // Aborts the open document (errors of the abort swallowed), then throws.
    [[noreturn]] void RaiseDocumentError(const std::string& message, const std::string& context = {});

    // Counters and their text forms.
    int32_t CounterValue(int kind) const;
    std::string CounterText(int kind) const;
    void SetPageNumberFormat(uint8_t pageFormat, uint8_t sectionFormat);
    void CountClosedPage();
    void CountOpenedPage();

    std::string MakeOutputFileName(const std::string& folder, const std::string& name,
                                   const std::string& ownExtensions, const std::string& defaultExtension);

    // Property setters with their checks.
    void SetAuthor(const std::string& v) { CheckIdle("Author"); author_ = v; }
    void SetEmbedFonts(uint8_t v) { CheckIdle("EmbedFonts"); embedFonts_ = v; }
    void SetFileName(const std::string& v) { CheckIdle("FileName"); fileName_ = v; }
    void SetKeywords(const std::string& v) { CheckIdle("Keywords"); keywords_ = v; }
    void SetProducer(const std::string& v) { CheckIdle("Producer"); producer_ = v; }
    void SetSubject(const std::string& v) { CheckIdle("Subject"); subject_ = v; }
    void SetTitle(const std::string& v) { CheckIdle("Title"); title_ = v; }
    void SetWantPageCount(uint8_t v) { CheckIdle("WantPageCount"); wantPageCount_ = v; }
    void SetLengthUnit(uint8_t unit);
    void SetOrientation(uint8_t orientation);
    void SetPageWidth(int32_t width);
    void SetPageHeight(int32_t height);
    void SetPaperSize(int index);
    void SetPaperSizeName(const std::string& name);
    void SetJpegQuality(int32_t quality);
    void SetImageCompressMode(uint8_t mode);
    void SetSmartStretchDraw(uint8_t v);
    void SetWantShow(uint8_t v) { wantShow_ = v; }
    void SetNonEmbeddedFonts(std::vector<std::string> fonts) { nonEmbeddedFonts_ = std::move(fonts); }
    void SetTempFolder(const std::string& folder) { tempFolder_ = folder; }

    const std::string& Author() const { return author_; }
    uint8_t EmbedFonts() const { return embedFonts_; }
    const std::string& FileName() const { return fileName_; }
    const std::string& Keywords() const { return keywords_; }
    const std::string& Producer() const { return producer_; }
    const std::string& Subject() const { return subject_; }
    const std::string& Title() const { return title_; }
    uint8_t WantPageCount() const { return wantPageCount_; }
    uint8_t WantShow() const { return wantShow_; }
    uint8_t LengthUnit() const { return lengthUnit_; }
    uint8_t Orientation() const { return orientation_; }
    int32_t PageWidth() const { return pageWidth_; }
    int32_t PageHeight() const { return pageHeight_; }
    int PaperSize() const { return paperSize_; }
    const std::string& PaperSizeName() const { return paperSizeName_; }
    int32_t JpegQuality() const { return jpegQuality_; }
    uint8_t ImageCompressMode() const { return imageCompressMode_; }
    uint8_t SmartStretchDraw() const { return smartStretchDraw_; }
    const std::vector<std::string>& NonEmbeddedFonts() const { return nonEmbeddedFonts_; }
    // Names of fonts whose characters are symbols, not letters: this
    // document's own list (sorted, each name once).
    std::vector<std::string>& SymbolicFonts() { return symbolicFonts_; }
    // The stored folder, or the system's temporary folder; always ends in "/".
    std::string TempFolder() const;
    double PointsPerUnit() const { return pointsPerUnit_; }
    double UnitsPerTenth() const { return unitsPerTenth_; }

    bool Aborted() const { return aborted_; }
    bool Printing() const { return printing_; }
    int32_t PageNumber() const { return pageNumber_; }
    int32_t PageCount() const { return pageCount_; }
    int32_t SectionNumber() const { return sectionNumber_; }
    int32_t SectionPageNumber() const { return sectionPageNumber_; }
    const std::string& OutputFileName() const { return outputFileName_; }

    // Pictures stored for the open document, in the order they were made.
    std::vector<std::unique_ptr<VumStoredPicture>> Images;
    // Their encoded streams between the two passes of a counted document;
    // closed when the document ends, however it ends.
    PictureSpool& Spool() { return spool_; }

    // Events, raised synchronously by the document's life.
    std::function<void()> OnAbort, OnEnd, OnNewPage, OnStart;

protected:
    void SetCanvas(std::unique_ptr<TCustomVumCanvas> canvas);

private:
    friend class TCustomVumDocument;

    // Whether a page side of `size` length units lies within what a PDF page
    // may measure (3 to 14400 points).
    bool PageSizeFits(int32_t size) const;

    std::vector<std::string> symbolicFonts_ = {"Symbol", "Webdings", "Wingdings"};

    void CheckIdle(const std::string& property);
    void CheckPageIdle(const std::string& property);
    void StartPage(uint8_t orientation, int32_t width, int32_t height, bool newSection);
    void RecordPageStart(uint8_t orientation, int32_t width, int32_t height, bool newSection);
    void RaiseNewPageEvent();
    // Runs a handler; while an ending event (abort, end) runs, no document
    // may begin.
    void RaiseEvent(const std::function<void()>& handler, bool ending);
    void DeleteTempFiles();

    std::unique_ptr<TCustomVumCanvas> canvas_;
    PictureSpool spool_;
    std::unique_ptr<TCustomVumDocument> recorder_;
    TCustomVumDocument* replaySource_ = nullptr; // owned by Replay while it runs
    bool replayStopped_ = false;
    bool firstPassDone_ = false;
    int endingEvents_ = 0;
    bool aborted_ = false;
    bool printing_ = false;
    std::string author_, fileName_, keywords_, producer_, subject_, title_;
    std::string paperSizeName_;
    std::string pendingOwnerPassword_, pendingUserPassword_, ownerPassword_, userPassword_;
    Permissions permissions_;
    // SetUserPassword was called for the next document, and for the open one.
    bool pendingPermissionsGiven_ = false, permissionsGiven_ = false;
    std::string tempFolder_;
    std::string outputFileName_;
    std::vector<std::string> nonEmbeddedFonts_;
    std::vector<std::string> tempFiles_;
    std::vector<int32_t> sectionPageCounts_;
    // Booleans keep the byte they were set with (a property reads it back).
    uint8_t embedFonts_ = 0;
    uint8_t wantPageCount_ = 0;
    uint8_t wantShow_ = 0;
    uint8_t smartStretchDraw_ = 1;
    uint8_t lengthUnit_ = 0;
    uint8_t orientation_ = 0;
    uint8_t startOrientation_ = 0;
    uint8_t imageCompressMode_ = 2;
    uint8_t pageNumberFormat_ = 0;
    uint8_t sectionNumberFormat_ = 0;
    int paperSize_ = 0;
    int32_t jpegQuality_ = 90;
    int32_t pageWidth_ = 0;
    int32_t pageHeight_ = 0;
    int32_t pageNumber_ = 0;
    int32_t pageCount_ = 0;
    int32_t sectionNumber_ = 1;
    int32_t sectionPageNumber_ = 0;
    double pointsPerUnit_ = 72.0 / 254;
    double unitsPerTenth_ = 1;
};

} // namespace vum
