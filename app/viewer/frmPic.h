#pragma once

#include <QDateTime>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <array>
#include <functional>

#include "viewer/ViewerLayout.h"

class CropFrame;
class PictureDisplay;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class ViewerHost;
class frmBox;
struct ProgramState;

// The picture viewer over the whole screen: one picture fitted or at its own
// size, the thumbnail grid, the slide show, the crop tool, background colours
// and wallpaper. Opened by the main window with iPicSource, iPicMode and
// bCutMode set; hides the main window while it is open and shows it again
// when it closes. Deletes itself when closed.
class frmPic : public QWidget {
    Q_OBJECT
public:
    frmPic(ProgramState& ps, ViewerHost& host, Prompter& prompter, QWidget* parent = nullptr);
    ~frmPic() override;

    // Reads the settings, shows the picture by source and mode, hides the
    // host. False when the picture cannot be shown: the viewer is closed again.
    bool Form_Load();

    // Shows a picture file; false when it cannot be read (nothing changes).
    bool ShowPic(const QString& path);
    // Lays the shown picture out from its own size: fitted or natural.
    void ShowAll();

    // --- keys and wheel
    void Form_KeyDown(int key);
    // One notch towards the user is the next picture, away the previous;
    // anything with keys or buttons held, or more than one notch, nothing.
    void wheel(int deltaY, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

    // --- thumbnail grid
    void mLB_Click();
    void Command1_Click();  // "<"
    void Command2_Click();  // ">"
    void imgL_MouseDown(int index, Qt::MouseButton button);
    void mRemove_Click();

    // --- picture menu
    void mImgSA_Click();
    void mImgSB_Click();
    void mCut_Click();
    void mImgCopy_Click();
    void setWallpaper(int style);
    void mSLD_Click();
    void mSLDP_Click();
    void mSetBGCLRS_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();

    // --- crop tool (positions relative to imgMain)
    void imgMain_MouseDown(Qt::MouseButton button, QPointF pos);
    void imgMain_MouseMove(Qt::MouseButtons buttons, QPointF pos);
    void imgMain_MouseUp(Qt::MouseButton button, QPointF pos);
    void imgMain_DblClick(QPointF pos);
    void Image2_Click(int index);

    // The region of the real picture the frame selects, as last cut.
    const QImage& cutPicture() const { return cut_; }
    // The picture shown, at its own size.
    const QImage& shownPicture() const { return picture_; }
    QRectF pictureRect() const { return shown_; }
    int page() const { return iPage_; }
    int backColorIndex() const { return backIndex_; }

    // Hooks that tests replace: the screen the viewer covers, the beep,
    // how the confirmation box is asked, and the clock for crop names.
    std::function<QRect()> screenRect;
    std::function<void()> beep;
    std::function<void(frmBox&)> execBox;
    std::function<QDateTime()> now;

    // Controls, named as in the design.
    PictureDisplay* imgMain;
    std::array<QLabel*, viewerlayout::kThumbsPerPage> imgL{};
    QWidget* picBox;
    QPushButton *Command1, *Command2, *Command3, *Command4;
    QLabel* lblTip;
    CropFrame* crop;
    QWidget* Picture1;
    std::array<QToolButton*, 4> Image2{};
    QLabel* lblInfo;
    QTimer *Timer1, *Timer2;
    QMenu *mImg2, *mImgF, *mImgSetD, *mSetBGCLR;
    QAction *mImgSA, *mImgSB, *mCut, *mImgCopy, *mImgSetD0, *mImgSetD1, *mImgSetD2;
    QAction *mLB, *mSLD, *mSLDP, *mImgClose, *mRemove;
    std::array<QAction*, 7> mSetBGCLRS{};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildCropToolbar();
    QSizeF screenSize() const;
    void placePicture(const QRectF& rect);
    void showPicture(const QImage& picture, const QString& path, int entry);
    void step(int delta);
    // Says that the picture stepped to cannot be shown.
    void cannotShow(const QString& path);
    // Forgets the framed region and hides the frame and the crop toolbar;
    // the crop tool stays on.
    void dropSelection();
    void showThumbPage();
    void clearThumbs();
    void SetViewBackColor(int index);
    void Form_Unload();
    bool leaveCropMode();
    void setCropCursor();
    // The picture a crop is cut from, at its own size.
    const QImage& cropSource();
    // Cuts the framed region out of it; false when the region is empty.
    bool cutSelection();
    void showToolbar();
    void confirmCrop();
    void restoreAfterCrop(const QImage& source);
    bool filterPictureEvent(QEvent* event);
    bool filterThumbEvent(int index, QEvent* event);

    ProgramState& ps_;
    ViewerHost& host_;
    Prompter& prompter_;
    QImage picture_;        // the shown picture at its own size
    QString shownPath_;     // its file
    int shownEntry_ = -1;   // its list entry; -1 when it is none
    QRectF shown_;          // where it is shown
    QImage cut_;            // the framed region of the real picture
    QImage source_;         // the source file behind a processed preview
    int sourceEntry_ = -1;  // its list entry
    int iPage_ = 0;
    int iThumbIndex_ = -1;
    int iTipTick_ = 0;
    int backIndex_ = 0;
    bool bCanPan_ = false;
    bool bHasSel_ = false;
    bool bMoveSel_ = false;
    bool drawing_ = false;
    bool closed_ = false;
    bool thumbJustPressed_ = false;  // the next double click ends a thumbnail's press
    QPointF anchor_;        // press point of a new selection, on the picture
    QPointF pressPos_;      // press point of a move or pan, on the picture
    QRectF moveStart_;      // the selection when a move began
    QPointF lastPress_;     // last press on the picture
};
