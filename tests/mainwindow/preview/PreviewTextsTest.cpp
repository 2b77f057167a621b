#include <gtest/gtest.h>

#include "mainwindow/preview/PreviewTexts.h"
#include "state/AppState.h"

TEST(PreviewTexts, InformationLine)
{
    struct Case {
        const char* path;
        std::optional<QSize> size;
        qint64 bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"/pics/a b.jpg", QSize(640, 480), 2048,
         "【图片信息】文件名:a b.jpg  宽:640  高:480  大小:2K   双击文件名可全屏浏览。"},
        {"/pics/small.gif", QSize(1, 1), 1023, "【图片信息】文件名:small.gif  宽:1  高:1  大小:0K   双击文件名可全屏浏览。"},
        {"/pics/photo.png", std::nullopt, 5 * 1024 + 1023,
         "【图片信息】文件名:photo.png  大小:5K   双击文件名可全屏浏览。"},
        {"C:\\old\\x.tiff", std::nullopt, 0, "【图片信息】文件名:x.tiff  大小:0K   双击文件名可全屏浏览。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(previewtext::infoLine(QString::fromUtf8(c.path), c.size, c.bytes), QString::fromUtf8(c.expected))
            << c.path;
}

TEST(PreviewTexts, CaptionAndDescription)
{
    EXPECT_EQ(previewtext::windowCaption("/pics/a.jpg"), QString::fromUtf8("Vimo图片批处理" VIMO_VERSION_SHORT "版 - /pics/a.jpg"));
    EXPECT_EQ(previewtext::descriptionText(""), previewtext::kDescriptionHint);
    EXPECT_EQ(previewtext::descriptionText("海边"), QString::fromUtf8("海边"));
}

TEST(PreviewTexts, EnterStoresTheDescriptionOfTheSelectedEntryOnly)
{
    AppState st;
    st.list.add("/pics/a.jpg");
    st.list.add("/pics/b.jpg");
    EXPECT_TRUE(previewtext::storeDescription(st, 1, "桥"));
    EXPECT_TRUE(previewtext::storeDescription(st, 0, "海边"));
    EXPECT_EQ(st.list.at(0).description, QString::fromUtf8("海边"));
    EXPECT_EQ(st.list.at(1).description, QString::fromUtf8("桥"));

    // Enter on the untouched box must not make the hint a description.
    EXPECT_TRUE(previewtext::storeDescription(st, 1, previewtext::kDescriptionHint));
    EXPECT_TRUE(st.list.at(1).description.isEmpty());

    EXPECT_FALSE(previewtext::storeDescription(st, -1, "x"));
    EXPECT_FALSE(previewtext::storeDescription(st, 2, "x"));
}
