#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "mainwindow/CommandLine.h"
#include "mainwindow/DroppedPicture.h"
#include "mainwindow/FolderPictures.h"
#include "mainwindow/ListRemoval.h"
#include "settings/NewFolder.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

TEST(CommandLine, EachArgumentIsOnePicturePathMadeAbsolute)
{
    const QStringList args = {QStringLiteral("a.JPG"), QStringLiteral("dir with space/b.png"), QStringLiteral("c.jpeg"),
                              QStringLiteral("/abs/d.Tiff"), QStringLiteral("e.tif"), QStringLiteral("./a.JPG"),
                              QString()};
    EXPECT_EQ(commandLinePictures(args, QStringLiteral("/start")),
              (QStringList{QStringLiteral("/start/a.JPG"), QStringLiteral("/start/dir with space/b.png"),
                           QStringLiteral("/start/c.jpeg"), QStringLiteral("/abs/d.Tiff"),
                           QStringLiteral("/start/e.tif")}));
}

TEST(FolderPictures, OneFolderInAnyLetterCase)
{
    TempDir dir;
    for (const char* name : {"A.JPG", "b.Png", "c.tiff", "d.tif", "e.jpeg", "f.txt", "g.JPEG", "h.jpe", "i.TIFF",
                             ".hidden.jpg", "sub/g.jpg"})
        writeFile(dir.path() / name, "x");
    const QString folder = q(dir.path().string());
    EXPECT_EQ(folderPictures(folder),
              (QStringList{folder + "/A.JPG", folder + "/b.Png", folder + "/c.tiff", folder + "/d.tif",
                           folder + "/e.jpeg", folder + "/g.JPEG", folder + "/h.jpe", folder + "/i.TIFF"}));
    EXPECT_TRUE(folderPictures(folder + "/missing").isEmpty());
}

TEST(DroppedPicture, SavedUnderAUniqueNameEveryTime)
{
    TempDir dir;
    QImage picture(30, 20, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    const QDateTime now(QDate(2026, 3, 7), QTime(9, 5, 4));
    const QString user = q(dir.file("user"));
    const QString first = saveDroppedPicture(picture, user, now);
    const QString second = saveDroppedPicture(picture, user, now);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("tempWL07090504.bmp"));
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("tempWL07090504_1.bmp"));
    const QImage back(second);
    EXPECT_EQ(back.size(), QSize(30, 20));
    EXPECT_EQ(back.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_TRUE(saveDroppedPicture(QImage(), user, now).isEmpty());
    writeFile(dir.path() / "file", "x");  // a user "folder" that is a file
    EXPECT_TRUE(saveDroppedPicture(picture, q(dir.file("file")), now).isEmpty());
}

TEST(NewFolder, TakesTheFirstFreeName)
{
    TempDir dir;
    const QString base = q(dir.path().string());
    EXPECT_EQ(makeNewFolder(base), base + QStringLiteral("/新建文件夹"));
    EXPECT_EQ(makeNewFolder(base), base + QStringLiteral("/新建文件夹( 2)"));
    writeFile(dir.path() / "新建文件夹( 3)", "a file takes the name too");
    EXPECT_EQ(makeNewFolder(base), base + QStringLiteral("/新建文件夹( 4)"));
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("/新建文件夹( 4)")).isDir());
    EXPECT_TRUE(makeNewFolder(base + QStringLiteral("/missing/deeper")).isEmpty());
}

TEST(ListRemoval, UndoRestoresTheOrderWithDescriptions)
{
    PictureList list;
    for (int i = 0; i < 7; ++i)
        list.append(QStringLiteral("/p/%1.jpg").arg(i));
    list.at(2).description = QStringLiteral("two");
    std::vector<RemovedEntry> undo;
    EXPECT_EQ(removeEntries(list, undo, {2, 5}), (std::vector<int>{5, 2}));
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(removeEntries(list, undo, {0}), (std::vector<int>{0}));
    EXPECT_EQ(undoRemovals(list, undo), (std::vector<int>{0, 2, 5}));
    ASSERT_EQ(list.count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.at(i).path, QStringLiteral("/p/%1.jpg").arg(i));
    EXPECT_EQ(list.at(2).description, QStringLiteral("two"));
    EXPECT_TRUE(undo.empty());
    EXPECT_TRUE(undoRemovals(list, undo).empty());
    EXPECT_TRUE(removeEntries(list, undo, {-1, 7}).empty());
}

} // namespace
