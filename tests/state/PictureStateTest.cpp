#include <gtest/gtest.h>

#include "state/MainWindowState.h"
#include "state/PictureList.h"
#include "state/PicturePaths.h"

TEST(PicturePaths, PictureNameTest)
{
    struct Case {
        const char* name;
        bool picture;
    };
    const Case cases[] = {
        {"a.jpg", true}, {"A.JPG", true}, {"b.Bmp", true}, {"c.gif", true}, {"d.PNG", true},
        {"e.tiff", true}, {"f.TIFF", true}, {"gpng", true}, {"h.jpeg", true}, {"H.JPEG", true},
        {"i.tif", true}, {"I.Tif", true}, {"k.jpe", true}, {"K.JPE", true}, {"j.txt", false},
        {"jpg.txt", false}, {"", false}, {"pg", false}, {"a.jp", false}, {"a.tifff", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isPictureName(c.name), c.picture) << c.name;
}

TEST(PicturePaths, JoinPutsOneSlashBetween)
{
    EXPECT_EQ(joinPath("/home/u", "a.jpg"), "/home/u/a.jpg");
    EXPECT_EQ(joinPath("/home/u/", "a.jpg"), "/home/u/a.jpg");
    EXPECT_EQ(joinPath("/", "a.jpg"), "/a.jpg");
}

// Removing entries 2 and 5 of seven (highest first) and undoing in reverse
// order restores the list, each description still with its picture.
TEST(PictureList, UndoOfRemovalsRestoresOrderAndDescriptions)
{
    PictureList list;
    for (int i = 0; i < 7; ++i) {
        list.add(QString("/p/%1.jpg").arg(i));
        list.at(i).description = QString("picture %1").arg(i);
    }
    std::vector<RemovedEntry> removed;
    for (int index : {5, 2})
        removed.push_back({list.takeAt(index), index});
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.at(2).path, "/p/3.jpg");
    EXPECT_EQ(list.at(2).description, "picture 3");

    for (auto it = removed.rbegin(); it != removed.rend(); ++it)
        EXPECT_TRUE(list.insertAt(it->position, it->entry));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(list.at(i).path, QString("/p/%1.jpg").arg(i));
        EXPECT_EQ(list.at(i).description, QString("picture %1").arg(i));
    }
    EXPECT_FALSE(list.insertAt(9, PictureEntry{"/p/x.jpg", {}}));
    EXPECT_FALSE(list.add("/p/3.jpg"));
    EXPECT_TRUE(list.add("/p/3.JPG"));
}
