// Browse menu "浏览(&B)": the viewer on the sources (one picture, with the
// list's thumbnails, or as a slide show) or on the processed preview. Each
// command sets the fields the viewer reads when it opens.
#include <QImage>
#include <optional>

#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "processing/SaveResult.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"
#include "widgets/BusyCursor.h"

namespace {

// The processed preview as a 24-bit bitmap for the viewer; a list entry of
// that name is never overwritten. The reason when it was not written.
std::optional<QString> saveProcessedPreview(const AppState& app, const QImage& picture)
{
    const QString path = ProgramFolders::userDir() + QStringLiteral("/tempBZ.bmp");
    if (SourceGuard(app.list).isSource(path))
        return QStringLiteral("该文件是要处理的图片");
    const imaging::WriteResult written = imaging::writePicture(picture, path, imaging::Encoder::Bmp, 0);
    if (!written.ok)
        return written.error;
    return std::nullopt;
}

} // namespace

void MenuCommands::openViewer()
{
    if (!showViewer) {
        app.status.show(QStringLiteral("【提示】本版本尚未提供图片浏览窗口。"));
        return;
    }
    showViewer();
}

void MenuCommands::mLBBrows_Click()
{
    app.status.show(QStringLiteral("【提示】正在启动多图浏览模式，请稍后……"));
    const BusyCursor busy;
    // A viewer opened after a processed-preview view would look for the
    // temporary picture it deleted on closing; these commands show sources.
    app.ps.iPicSource = 0;
    app.ps.iPicMode = 1;
    openViewer();
}

void MenuCommands::mLSBrows_Click()
{
    app.ps.iPicSource = 0;
    app.ps.iPicMode = 2;
    openViewer();
}

void MenuCommands::mFBrows_Click()
{
    if (app.list.empty()) {
        app.status.show(QStringLiteral("【操作错误】当前没有图片可以浏览。"));
        return;
    }
    app.ps.iPicSource = 0;
    openViewer();
}

void MenuCommands::mFBrows2_Click()
{
    const int mode = app.ps.iSizeMode;
    if (app.panel.txtW == QLatin1String("0") && app.panel.txtH == QLatin1String("0") && mode != 1 && mode != 2) {
        prompter_.message(QStringLiteral("图片尺寸不能同时为0！"), QString(), PromptIcon::Critical);
        host_.focusWidthBox();
        return;
    }
    if (!host_.previewShown()) {
        app.status.show(QStringLiteral("【操作错误】没有可预览的图片。"));
        return;
    }
    {
        const BusyCursor busy;
        app.ps.iPicSource = 1;
        host_.lstFile_Click();
        // Only a viewer reads the file, and it deletes it when it closes.
        if (showViewer) {
            if (const auto error = saveProcessedPreview(app, host_.previewPicture())) {
                app.status.show(QStringLiteral("【操作错误】无法保存预览图片:") + *error);
                return;
            }
        }
    }
    openViewer();
}
