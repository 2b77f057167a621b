#include "processing/pdf/PdfLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <dlfcn.h>
#include <utility>

#include "platform/folders/ProgramFolders.h"
#include "vumpdf.h"

// The library's functions, typed as its C interface declares them.
struct PdfLibrary::Functions {
    decltype(&::CreateVum) CreateVum = nullptr;
    decltype(&::SetNumProp) SetNumProp = nullptr;
    decltype(&::SetStrProp) SetStrProp = nullptr;
    decltype(&::BeginDoc) BeginDoc = nullptr;
    decltype(&::NewPage) NewPage = nullptr;
    decltype(&::StretchDrawFromFile) StretchDrawFromFile = nullptr;
    decltype(&::DrawText) DrawText = nullptr;
    decltype(&::EndDoc) EndDoc = nullptr;
    decltype(&::Abort) Abort = nullptr;
    decltype(&::FreeVum) FreeVum = nullptr;
    decltype(&::GetErrorMsg) GetErrorMsg = nullptr;
};

namespace {

// The library writes at most 255 bytes and a zero; the rest is room to spare.
constexpr size_t kMessageBufferSize = 1024;

template <typename Fn>
bool bind(void* lib, const char* name, Fn& fn, QStringList& missing)
{
    fn = reinterpret_cast<Fn>(dlsym(lib, name));
    if (!fn)
        missing << QString::fromLatin1(name);
    return fn != nullptr;
}

QString dlMessage()
{
    const char* e = dlerror();
    return e ? QString::fromLocal8Bit(e) : QString();
}

} // namespace

PdfLibrary::PdfLibrary(QStringList candidates) : candidates_(std::move(candidates)) {}

PdfLibrary::~PdfLibrary()
{
    fn_.reset();
    if (handle_)
        dlclose(handle_);
}

PdfLibrary& PdfLibrary::shared()
{
    static PdfLibrary library(defaultCandidates());
    return library;
}

QStringList PdfLibrary::defaultCandidates()
{
    const QString name = QString::fromLatin1(kFileName);
    if (const QString file = qEnvironmentVariable("VIMO_PDF_LIBRARY"); !file.isEmpty())
        return {file};
    return {QDir(ProgramFolders::executableDir()).filePath(name),
            QDir(QStringLiteral(VIMO_INSTALL_LIBDIR)).filePath(name)};
}

bool PdfLibrary::load()
{
    if (fn_)
        return true;
    QStringList tried, failures;
    for (const QString& file : candidates_) {
        tried << QDir::toNativeSeparators(file);
        if (!QFileInfo::exists(file))
            continue;
        QString why;
        if (tryLoad(file, why)) {
            loadError_.clear();
            loadedFile_ = file;
            return true;
        }
        failures << why;
    }
    if (failures.isEmpty())
        loadError_ = QStringLiteral("找不到PDF库文件 %1（查找过：%2）")
                         .arg(QString::fromLatin1(kFileName), tried.join(QStringLiteral("、")));
    else
        loadError_ = QStringLiteral("无法加载PDF库文件：%1").arg(failures.join(QStringLiteral("；")));
    return false;
}

bool PdfLibrary::tryLoad(const QString& file, QString& why)
{
    // Once bound, the library stays mapped until the process ends: documents it
    // still holds and the font machinery it keeps are released by its own exit
    // code, never pulled away under a caller.
    void* lib = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!lib) {
        why = QStringLiteral("%1（%2）").arg(QDir::toNativeSeparators(file), dlMessage());
        return false;
    }
    auto fn = std::make_unique<Functions>();
    QStringList missing;
    bind(lib, "CreateVum", fn->CreateVum, missing);
    bind(lib, "SetNumProp", fn->SetNumProp, missing);
    bind(lib, "SetStrProp", fn->SetStrProp, missing);
    bind(lib, "BeginDoc", fn->BeginDoc, missing);
    bind(lib, "NewPage", fn->NewPage, missing);
    bind(lib, "StretchDrawFromFile", fn->StretchDrawFromFile, missing);
    bind(lib, "DrawText", fn->DrawText, missing);
    bind(lib, "EndDoc", fn->EndDoc, missing);
    bind(lib, "Abort", fn->Abort, missing);
    bind(lib, "FreeVum", fn->FreeVum, missing);
    bind(lib, "GetErrorMsg", fn->GetErrorMsg, missing);
    if (!missing.isEmpty()) {
        dlclose(lib);
        why = QStringLiteral("%1（缺少函数 %2）")
                  .arg(QDir::toNativeSeparators(file), missing.join(QStringLiteral(", ")));
        return false;
    }
    handle_ = lib;
    fn_ = std::move(fn);
    return true;
}

const PdfLibrary::Functions* PdfLibrary::ready()
{
    if (load())
        return fn_.get();
    pendingError_ = loadError_;
    return nullptr;
}

int32_t PdfLibrary::CreateVum(int32_t wnd, int32_t msgBase)
{
    const Functions* f = ready();
    return f ? f->CreateVum(wnd, msgBase) : -1;
}

int32_t PdfLibrary::SetNumProp(int32_t h, int32_t id, int32_t value)
{
    const Functions* f = ready();
    return f ? f->SetNumProp(h, id, value) : -1;
}

int32_t PdfLibrary::SetStrProp(int32_t h, int32_t id, const QString& value)
{
    const Functions* f = ready();
    return f ? f->SetStrProp(h, id, value.toUtf8().constData()) : -1;
}

int32_t PdfLibrary::BeginDoc(int32_t h)
{
    const Functions* f = ready();
    return f ? f->BeginDoc(h) : -1;
}

int32_t PdfLibrary::NewPage(int32_t h)
{
    const Functions* f = ready();
    return f ? f->NewPage(h) : -1;
}

int32_t PdfLibrary::StretchDrawFromFile(int32_t h, int32_t left, int32_t top, int32_t right,
                                        int32_t bottom, const QString& fileName)
{
    const Functions* f = ready();
    return f ? f->StretchDrawFromFile(h, left, top, right, bottom, fileName.toUtf8().constData()) : -1;
}

int32_t PdfLibrary::DrawText(int32_t h, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t horzAlign, int32_t vertAlign, const QString& text)
{
    const Functions* f = ready();
    return f ? f->DrawText(h, left, top, right, bottom, horzAlign, vertAlign, text.toUtf8().constData())
             : -1;
}

int32_t PdfLibrary::EndDoc(int32_t h)
{
    const Functions* f = ready();
    return f ? f->EndDoc(h) : -1;
}

int32_t PdfLibrary::Abort(int32_t h)
{
    const Functions* f = ready();
    return f ? f->Abort(h) : -1;
}

int32_t PdfLibrary::FreeVum(int32_t h)
{
    const Functions* f = ready();
    return f ? f->FreeVum(h) : -1;
}

QString PdfLibrary::GetErrorMsg()
{
    if (!fn_)
        return std::exchange(pendingError_, QString());
    std::array<char, kMessageBufferSize> buffer{};
    fn_->GetErrorMsg(buffer.data());
    buffer.back() = '\0';
    return QString::fromUtf8(buffer.data());
}
