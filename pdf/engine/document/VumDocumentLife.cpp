#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfDocEncoding.h"
#include "engine/util/VumError.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace vum {

namespace {

// The password's bytes as readers hash them; a character PDFDocEncoding
// lacks could never be typed to open the file.
std::string EncodedPassword(const std::string& password, const char* method)
{
    std::optional<std::string> bytes = PdfDocEncodedPassword(password);
    if (!bytes)
        RaiseContextError("Password character not in PDFDocEncoding", method);
    return *bytes;
}

// A file name that names no file: empty after its last "/", or "." or "..".
bool HasNoBaseName(const std::string& name)
{
    const size_t slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return base.empty() || base == "." || base == "..";
}

} // namespace

void TCustomVum::RaiseEvent(const std::function<void()>& handler, bool ending)
{
    if (!handler)
        return;
    if (ending)
        ++endingEvents_;
    struct Leave {
        int& depth;
        bool ending;
        ~Leave()
        {
            if (ending)
                --depth;
        }
    } leave{endingEvents_, ending};
    handler();
}

void TCustomVum::BeginDoc()
{
    // A document begun by the handler of the previous one's end or abort
    // would run inside that event, and again at each of its own.
    if (endingEvents_ > 0)
        RaiseContextError("Can't edit document now", "BeginDoc");
    if (printing_)
        RaiseDocumentError("Document already open");
    if (!PageSizeFits(pageHeight_))
        RaiseDocumentError("Invalid property value", "PageHeight");
    if (!PageSizeFits(pageWidth_))
        RaiseDocumentError("Invalid property value", "PageWidth");
    const bool replaying = Replaying();
    const std::string extension = canvas_->GetDefaultExtension();
    if (!extension.empty()) {
        if (!fileName_.empty() && HasNoBaseName(fileName_))
            RaiseDocumentError("Invalid property value", "FileName");
        if (!replaying)
            outputFileName_.clear();
        const std::string name = MakeOutputFileName({}, {}, canvas_->GetFileExtension(), extension);
        std::error_code error;
        // Only a file is replaced: a folder of that name is never removed.
        if (std::filesystem::is_directory(name, error)) {
            outputFileName_.clear();
            RaiseDocumentError("Invalid property value", "FileName");
        }
        if (std::filesystem::exists(std::filesystem::symlink_status(name, error)) &&
            !std::filesystem::remove(name, error))
            RaiseDocumentError("File locked", name);
    }
    aborted_ = false;
    if (!replaying) {
        // A replay keeps the first pass's pictures, counts and passwords.
        firstPassDone_ = false;
        Images.clear();
        spool_.Close();
        sectionPageCounts_.assign(1, 0);
        sectionNumber_ = 1;
        pageCount_ = 0;
        if (recorder_)
            recorder_->Reset();
        ownerPassword_ = std::exchange(pendingOwnerPassword_, {});
        userPassword_ = std::exchange(pendingUserPassword_, {});
        permissionsGiven_ = std::exchange(pendingPermissionsGiven_, false);
    }
    startOrientation_ = orientation_;
    if (wantPageCount_ && !recorder_ && !replaySource_)
        CreateRecorder();
    // The first pass of a counted document lays out and counts, writing nothing.
    canvas_->CountingPass = wantPageCount_ && !firstPassDone_;
    canvas_->OpenDocument();
    pageNumber_ = 0;
    sectionPageNumber_ = 0;
    printing_ = true;
    if (recorder_)
        RecordDocumentStart(*recorder_, *this);
    if (!replaying)
        RaiseEvent(OnStart, false);
    NewPage();
}

void TCustomVum::NewPage()
{
    StartPage(orientation_, pageWidth_, pageHeight_, false);
}

void TCustomVum::NewSection(uint8_t orientation, bool startSection)
{
    if (orientation == orientation_)
        StartPage(orientation, pageWidth_, pageHeight_, startSection);
    else
        StartPage(orientation, pageHeight_, pageWidth_, startSection);
}

void TCustomVum::StartPage(uint8_t orientation, int32_t width, int32_t height, bool newSection)
{
    // A closed document has no page to start: silently after an abort
    // (the caller already had the error), an error otherwise.
    if (!printing_) {
        if (aborted_)
            return;
        RaiseDocumentError("Document not opened");
    }
    // What the caller can still mend keeps the page open.
    if (pageNumber_ > 0)
        canvas_->CheckPageCanClose();
    // A page that cannot be written (a full disk) ends the document, as
    // every other error does.
    try {
        if (pageNumber_ > 0)
            canvas_->ClosePage();
    } catch (const VumError& error) {
        RaiseDocumentError(error.what());
    }
    orientation_ = orientation;
    pageWidth_ = width;
    pageHeight_ = height;
    if (newSection) {
        if (!firstPassDone_)
            sectionPageCounts_.push_back(0);
        ++sectionNumber_;
        sectionPageNumber_ = 0;
    }
    try {
        canvas_->OpenPage();
    } catch (const VumError& error) {
        RaiseDocumentError(error.what());
    }
    if (recorder_ && pageNumber_ > 1)
        RecordPageStart(orientation, width, height, newSection);
    if (!Replaying())
        RaiseNewPageEvent();
}

void TCustomVum::RecordPageStart(uint8_t orientation, int32_t width, int32_t height, bool newSection)
{
    recorder_->WriteOpcode(opNewPage);
    recorder_->WriteByte(orientation);
    recorder_->WriteIntegers({width, height});
    recorder_->WriteBoolean(0);
    recorder_->WriteBoolean(newSection ? 1 : 0);
    recorder_->WriteString(canvas_->CurrentStyleName);
}

void TCustomVum::RaiseNewPageEvent()
{
    if (!OnNewPage)
        return;
    // The handler draws headers and footers in styles of its own: the
    // page's text goes on in the style and with the name it had.
    const std::string style = canvas_->CurrentStyleName;
    const std::string pendingName = std::exchange(Paragraphs(*canvas_).NextParaName, {});
    RaiseEvent(OnNewPage, false);
    if (!printing_)
        return;
    Paragraphs(*canvas_).NextParaName = pendingName;
    for (const auto& known : Paragraphs(*canvas_).Styles)
        if (!style.empty() && known->Name == style)
            SelectStyle(*canvas_, style);
}

void TCustomVum::CountOpenedPage()
{
    ++pageNumber_;
    ++sectionPageNumber_;
}

void TCustomVum::CountClosedPage()
{
    // The totals of a counted document are those of its first pass.
    if (firstPassDone_)
        return;
    ++pageCount_;
    if (sectionNumber_ >= 1 && static_cast<size_t>(sectionNumber_) <= sectionPageCounts_.size())
        ++sectionPageCounts_[static_cast<size_t>(sectionNumber_ - 1)];
}

void TCustomVum::EndDoc()
{
    if (!printing_)
        return;
    canvas_->CheckPageCanClose();
    try {
        canvas_->CloseDocumentGuarded(true);
    } catch (const VumError& error) {
        RaiseDocumentError(error.what());
    }
    printing_ = false;
    if (recorder_)
        recorder_->WriteOpcode(opDocumentEnd);
    firstPassDone_ = true;
    const bool replaying = Replaying();
    if (wantPageCount_ && !replaying)
        Replay();
    if (!replaying)
        RaiseEvent(OnEnd, true);
    SetOrientation(startOrientation_);
    // Shown once, by the outer end of a counted document.
    if (!replaying && wantShow_ && !canvas_->GetDefaultExtension().empty() && canvas_->OutputActive())
        Show();
}

void TCustomVum::Replay()
{
    if (printing_ || !recorder_ || recorder_->Empty() || replaySource_)
        RaiseContextError("Internal error", "TCustomVum.Replay");
    canvas_->CountingPass = false;
    // The list being read belongs to this call, so nothing the replayed
    // operations do (an Abort among them) can free it under the run.
    std::unique_ptr<TCustomVumDocument> source = std::move(recorder_);
    CreateRecorder();
    firstPassDone_ = true;
    replaySource_ = source.get();
    replayStopped_ = false;
    struct Leave {
        TCustomVum& document;
        ~Leave()
        {
            document.replaySource_ = nullptr;
            document.replayStopped_ = false;
            // The second pass has placed every kept picture, or has failed.
            document.spool_.Close();
        }
    } leave{*this};
    try {
        source->Run();
    } catch (...) {
        // No partial file is left behind by a failed second pass.
        try {
            Abort();
        } catch (...) {
        }
        throw;
    }
    if (printing_) {
        try {
            Abort();
        } catch (...) {
        }
        RaiseContextError("Internal error", "TCustomVum.Replay");
    }
}

void TCustomVum::Abort()
{
    if (!printing_)
        return;
    try {
        canvas_->CloseDocumentGuarded(false);
    } catch (...) {
        // The file is deleted below either way.
    }
    if (!outputFileName_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(outputFileName_, ignored);
    }
    aborted_ = true;
    printing_ = false;
    spool_.Close();
    if (replaySource_)
        replayStopped_ = true;
    else
        RaiseEvent(OnAbort, true);
    SetOrientation(startOrientation_);
}

void TCustomVum::SetOwnerPassword(const std::string& password)
{
    if (printing_)
        RaiseDocumentError("Can't invoke this method when active", "SetOwnerPassword");
    pendingOwnerPassword_ = EncodedPassword(password, "SetOwnerPassword");
}

void TCustomVum::SetUserPassword(const std::string& password, bool canPrint, bool canCopy, bool canAnnotate,
                                 bool canModify)
{
    if (printing_)
        RaiseDocumentError("Can't invoke this method when active", "SetUserPassword");
    pendingUserPassword_ = EncodedPassword(password, "SetUserPassword");
    permissions_ = Permissions{canPrint, canModify, canCopy, canAnnotate};
    pendingPermissionsGiven_ = true;
}

bool TCustomVum::EncryptionWanted() const
{
    const Permissions& p = permissions_;
    const bool withheld = !(p.canPrint && p.canModify && p.canCopy && p.canAnnotate);
    return !ownerPassword_.empty() || !userPassword_.empty() || (permissionsGiven_ && withheld);
}

} // namespace vum
