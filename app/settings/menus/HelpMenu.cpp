// Help menu "帮助(&H)": the read-me in the desktop's text editor, the
// publisher's pages in the browser, and the about box.
#include "services/ShellHelpers.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/prompter/Prompter.h"
#include "settings/menus/AboutText.h"
#include "settings/menus/MenuCommands.h"
#include "settings/menus/WebAddresses.h"

void MenuCommands::mReadMe_Click()
{
    RunWinApp(shell_, QStringLiteral("NotePad.exe"), ProgramFolders::resourceDir() + QStringLiteral("/ReadMe.txt"));
}

void MenuCommands::mHWeb_Click()
{
    OpenURL(shell_, QString::fromLatin1(web::kHomePage));
}

void MenuCommands::mBBS_Click()
{
    OpenURL(shell_, QString::fromLatin1(web::kForum));
}

void MenuCommands::mDownZY_Click()
{
    OpenURL(shell_, QString::fromLatin1(web::kMaterials));
}

void MenuCommands::mAbout_Click()
{
    prompter_.message(aboutText(QStringLiteral(VIMO_VERSION), QString::fromLatin1(web::kReleaseDate)), QString(),
                      PromptIcon::Information);
}
