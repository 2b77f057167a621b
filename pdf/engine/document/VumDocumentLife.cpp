#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/util/VumError.h"

#include <filesystem>
#include <utility>

namespace vum {

namespace {

// A file name that names no file: empty after its last "/", or "." or "..".
bool HasNoBaseName(const std::string& name)
{
    const size_t slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return base.empty() || base == "." || base == "..";
}

} // namespace

void TCustomVum::BeginDoc()
{
    if (printing_)
        RaiseDocumentError("Document already open");
    if (!PageSizeFits(pageHeight_))
        RaiseDocumentError("Invalid property value", "PageHeight");
    if (!PageSizeFits(pageWidth_))
        RaiseDocumentError("Invalid property value", "PageWidth");
    const std::string extension = canvas_->GetDefaultExtension();
    if (!extension.empty()) {
        if (!fileName_.empty() && HasNoBaseName(fileName_))
            RaiseDocumentError("Invalid property value", "FileName");
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
    Images.clear();
    sectionPageCounts_.assign(1, 0);
    sectionNumber_ = 1;
    pageCount_ = 0;
    startOrientation_ = orientation_;
    ownerPassword_ = std::exchange(pendingOwnerPassword_, {});
    userPassword_ = std::exchange(pendingUserPassword_, {});
    canvas_->OpenDocument();
    pageNumber_ = 0;
    sectionPageNumber_ = 0;
    printing_ = true;
    if (OnStart)
        OnStart();
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
        sectionPageCounts_.push_back(0);
        ++sectionNumber_;
        sectionPageNumber_ = 0;
    }
    try {
        canvas_->OpenPage();
    } catch (const VumError& error) {
        RaiseDocumentError(error.what());
    }
    if (OnNewPage)
        OnNewPage();
}

void TCustomVum::CountOpenedPage()
{
    ++pageNumber_;
    ++sectionPageNumber_;
}

void TCustomVum::CountClosedPage()
{
    ++pageCount_;
    if (sectionNumber_ >= 1 && static_cast<size_t>(sectionNumber_) <= sectionPageCounts_.size())
        ++sectionPageCounts_[static_cast<size_t>(sectionNumber_ - 1)];
}

void TCustomVum::EndDoc()
{
    if (!printing_)
        return;
    try {
        canvas_->CloseDocumentGuarded(true);
    } catch (const VumError& error) {
        RaiseDocumentError(error.what());
    }
    printing_ = false;
    if (OnEnd)
        OnEnd();
    SetOrientation(startOrientation_);
    // Shown once, also for documents that count their pages.
    if (wantShow_ && !canvas_->GetDefaultExtension().empty() && canvas_->OutputActive())
        Show();
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
    if (OnAbort)
        OnAbort();
    SetOrientation(startOrientation_);
}

void TCustomVum::SetOwnerPassword(const std::string& password)
{
    if (printing_)
        RaiseDocumentError("Can't invoke this method when active", "SetOwnerPassword");
    pendingOwnerPassword_ = password;
}

void TCustomVum::SetUserPassword(const std::string& password, bool canPrint, bool canCopy, bool canAnnotate,
                                 bool canModify)
{
    if (printing_)
        RaiseDocumentError("Can't invoke this method when active", "SetUserPassword");
    pendingUserPassword_ = password;
    permissions_ = Permissions{canPrint, canModify, canCopy, canAnnotate};
}

} // namespace vum
