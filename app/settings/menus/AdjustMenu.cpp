// Adjust menu "调整(&P)": rotation and mirroring, colour channels, the colour
// matrix and brightness panels, cropping in the viewer, and the picture's
// start point (moved on the preview, typed in, or back to the origin).
#include <QAction>

#include "platform/prompter/Prompter.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "settings/menus/StartPointAnswer.h"
#include "state/AppState.h"
#include "state/NumberText.h"

void MenuCommands::mPRT_Click(int index)
{
    // Index 1 is the separator between "取消旋转" and the turns.
    if (index < 0 || index >= int(mPRT.size()) || index == 1)
        return;
    if (!host_.previewShown())
        return;
    app.rot.iRotateMode = index;
    host_.lstFile_Click();
    for (QAction* a : mPRT)
        a->setChecked(false);
    mPRT[size_t(index)]->setChecked(true);
}

void MenuCommands::mPCR_Click(int index)
{
    if (index < 0 || index >= int(mPCR.size()))
        return;
    QAction* channel = mPCR[size_t(index)];
    channel->setChecked(!channel->isChecked());
    // The factor box's change handler puts the factor into the colour matrix
    // and redraws.
    host_.setChannelText(index, channel->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void MenuCommands::mPPro_Click()
{
    // The panel shows the matrix transposed: box 5·r + c holds m[c][r]. Each
    // box's change handler stores its value back, which leaves it as it was.
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            host_.setMatrixCellText(5 * r + c, numtext::fromSingle(app.pic.cmPic.m[size_t(c)][size_t(r)]));
    host_.showMatrixPanel();
}

void MenuCommands::mPLD_Click()
{
    host_.showBrightnessPanel();
}

void MenuCommands::mPCutImg_Click()
{
    app.ps.bCutMode = true;
    // The crop works on a source; the processed preview's temporary file is
    // gone once an earlier viewer closed.
    app.ps.iPicSource = 0;
    openViewer();
}

void MenuCommands::mTRect_Click()
{
    host_.enterMoveMode();
    mXYPos->setEnabled(true);
}

void MenuCommands::mT0_Click()
{
    host_.setStartPointTexts(QStringLiteral("0"), QStringLiteral("0"));
}

void MenuCommands::mXYPos_Click()
{
    const auto answer = prompter_.input(
        QStringLiteral("请输入主图起始点坐标，格式为X,Y。\n\n如:要定点于左100像素、上120像素，请输入100,120"),
        QStringLiteral("起始点坐标"), startPointText(app.pic.sngXp, app.pic.sngYp));
    if (!answer)
        return;
    const auto point = parseStartPoint(*answer);
    if (!point)
        return;
    app.pic.sngXp = float(point->x());
    app.pic.sngYp = float(point->y());
    host_.setStartPointTexts(numtext::fromSingle(app.pic.sngXp), numtext::fromSingle(app.pic.sngYp));
}
