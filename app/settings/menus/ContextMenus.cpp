// Items of the context menus that are not forwards to another menu: the
// list's path copy, the preview's picture copy and the file-name prefixes.
#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>

#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "settings/menus/PrefixPreset.h"
#include "state/AppState.h"

void MenuCommands::mCopyFileName_Click()
{
    const int i = host_.listIndex();
    if (i < 0 || i >= app.list.count())
        return;
    const QString path = app.list.at(i).path;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(path);
    app.status.show(QStringLiteral("【提示】文件路径已复制:") + path);
}

void MenuCommands::mCopyPic_Click()
{
    if (!host_.previewShown())
        return;
    const QImage picture = host_.previewPicture();
    if (picture.isNull())
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

void MenuCommands::mFNOpt_Click(int index)
{
    if (index < 0 || index >= int(mFNOpt.size()))
        return;
    host_.setPrefixText(prefixPreset(mFNOpt[size_t(index)]->text(), QDateTime::currentDateTime()));
}
