// Effects menu "特效(&X)": one colour effect at a time, or none. The checked
// item is what the picture pipeline applies.
#include <QAction>

#include "settings/menus/MenuCommands.h"
#include "settings/menus/MenuHost.h"
#include "state/AppState.h"

void MenuCommands::mTX_Click(int index)
{
    if (index < 0 || index >= int(mTX.size()))
        return;
    for (QAction* a : mTX)
        a->setChecked(false);
    mTX[size_t(index)]->setChecked(true);
    mTXUndo->setChecked(false);
    app.panel.mTX = index;
    app.panel.mTXUndo = false;
    host_.lstFile_Click();
}

void MenuCommands::mTXUndo_Click()
{
    mTXUndo->setChecked(true);
    for (QAction* a : mTX)
        a->setChecked(false);
    app.panel.mTXUndo = true;
    app.panel.mTX = -1;
    host_.lstFile_Click();
}
