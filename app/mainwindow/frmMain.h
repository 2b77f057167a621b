#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/preview/HoverPanels.h"
#include "mainwindow/preview/LivePreview.h"
#include "mainwindow/preview/WatermarkMarker.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMimeData;
class QPushButton;
class QScrollBar;
class QSlider;
class QTextBrowser;
class QTimer;
struct AppState;
class SettingsStore;
class Prompter;
class Shell;
class BatchRun;
class frmDlg;
class frmPic;
class Wallpaper;

// The main window: the picture list, the settings panel, the live preview
// and the run buttons. Handlers keep the design's names; they set state and
// call the core, which does the work.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(AppState& app, SettingsStore& settings, Prompter& prompter, Shell& shell, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load: choice boxes, settings, command-line pictures, working folders,
    // bitmap surfaces and title, in that order; ends with iReady = 1.
    void Form_Load();

    // --- picture list
    void cmdAdd_Click();
    void cmdAdds_Click();
    void cmdClr_Click();
    void cmdDel_Click();
    void mUndoDel_Click();
    void mFBrows_Click();
    void mFBrows2_Click();
    // Opens the picture viewer with iPicSource, iPicMode and bCutMode as the
    // program state holds them; the viewer open before is closed first.
    // Returns the viewer, or null when it could not show its picture.
    frmPic* openViewer();
    // The open viewer; null when none is open.
    frmPic* viewer() const;
    // The desktop's wallpaper setter; tests put a recording one here.
    std::shared_ptr<Wallpaper> wallpaper;
    // Adds pictures the way every adder does: each path once; selects the last
    // entry when `select` is set; keeps the count and the list commands current.
    int addPictures(const QStringList& paths, bool select);
    // Puts the list's entries into the list box again (after the core changed them).
    void refreshListBox();
    // Keeps the count label and the four list commands in step with the list.
    void updateListControls();
    void setListIndex(int index);
    int listIndex() const;

    // --- drops: the four targets share one handler with their differences
    enum class DropTarget { Form, List, Image, PreviewArea };
    // Returns the drop effect: true for copy.
    bool dropPictures(const QMimeData& data, DropTarget target);

    // --- preview
    void lstFile_Click();
    void imgPre_Click();
    void imgFor_Click();
    void hscSY_Change();
    void txtPicTxt_KeyDown(int key);
    // Returns whether the preview used the key.
    bool picImg_KeyDown(int key);
    bool freePositionMode() const;
    // The picture last rendered, at full size.
    const QImage& renderedPicture() const { return preview_.workPicture(); }
    const WatermarkMarker& marker() const { return *marker_; }

    // --- marker (mouse positions relative to imgM, in pixels)
    void imgM_MouseDown(Qt::MouseButton button, QPointF pos);
    void imgM_MouseMove(Qt::MouseButtons buttons, QPointF pos);
    void imgM_MouseUp(Qt::MouseButton button, QPointF pos);
    void picImg_MouseMove(QPointF pos);
    void cmbPos_Click();
    void cmbPosImg_Click();

    // --- run
    void cmdDone_Click();
    void cmdStop_Click();
    bool running() const { return running_; }
    // Called when a run ends, for callers that wait for it (tests, scripts).
    std::function<void()> onRunFinished;
    // The run behind the buttons, made on first use with the window's hooks.
    BatchRun& batchRun();
    void cmdODir_Click();

    // --- settings panel handlers that the load raises
    void cmbSize_Click();
    void cmbBK_Click();
    void cmbEncode_Click();
    void chkInfoTxt_Click();
    void chkInfoImg_Click();
    void txtAlpha_Change();

    // The window's geometry in the design's twips, as the resize rules see it.
    MainLayout currentLayout() const;
    void applyLayout(const MainLayout& layout);
    void Form_Resize();

    // Where the chooser is opened, so that tests can drive it.
    std::function<int(frmDlg&)> execChooser;

    AppState& app;

    // Controls, named as in the design.
    QFrame *NiceContainr1, *NiceContainr2, *NiceContainr3, *NiceContainr4, *NiceContainr5, *NiceContainr6;
    QPushButton *cmdAdd, *cmdAdds, *cmdDel, *cmdClr;
    QLabel* lFile;
    QGroupBox *Frame1, *Frame2;
    QListWidget* lstFile;
    QFrame* picSmall;
    QLabel *imgSmall, *imgPre, *imgFor;
    QFrame* picImg;
    QLabel* imgM;
    QFrame* lblPos;
    QFrame *Frame3, *Frame4;
    QLineEdit* txtPicTxt;
    QTextBrowser* Web;
    QLabel *lInfo, *lblNew;
    QScrollBar* hscSY;
    // Size, border and format.
    QComboBox *cmbSize, *cmbBK, *cmbEncode;
    QLineEdit *txtW, *txtH;
    // Watermarks and start point.
    QCheckBox *chkInfoTxt, *chkInfoImg;
    QComboBox *cmbPos, *cmbPosImg;
    QLabel *lTxt, *lSY;
    QLineEdit *txtAlpha, *txtSize, *txtXp, *txtYp;
    QPushButton *cmdTSet, *cmdSetP, *cmdSetPos, *cmdSetPX0, *cmdSetPY0;
    // Output.
    QCheckBox *chkFtp, *chkPDF, *chkRM;
    QPushButton *cmdPDFSet, *cmdODir, *cmdOption, *cmdImgCut;
    QLineEdit *txtFileName, *txtNum;
    QLabel* lOut;
    // Colours, rotation, effects.
    QGroupBox* frmeJZ;
    std::array<QLineEdit*, 25> Text1{};
    QPushButton *cmdJZOK, *cmdJZCancel;
    std::array<QLineEdit*, 3> txtRGB{};
    std::array<QPushButton*, 3> cmdRGB{};
    QFrame* frmTZ;
    QSlider* sldLD;
    QPushButton *cmdLD, *cmdCloseTZ, *cmdMR, *cmdTX;
    std::array<QPushButton*, 8> cmdR{};  // no button at index 1
    // Run.
    QPushButton *cmdDone, *cmdStop;
    // Menus.
    QMenu *mF, *mX, *mLst, *mImgOpt, *mFN;
    QAction *mAddDir, *mAddFile, *mDelFile, *mUndoDel, *mClear, *mExit;
    QAction *mDel, *mUndoDelFile, *mClr, *mShowFSrc, *mCopyFileName;
    QAction *mSetTxtSY, *mSetPicSY, *mPCut, *mSetXYPos, *mSet0, *mXYPos, *mCopyPic, *mShowF, *mShowOn;
    QAction* mTXUndo;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction, by area.
    void buildFrames();
    void buildListArea();
    void buildPreviewArea();
    void buildSettingsPanel();
    void buildSizeControls(QWidget* box);
    void buildWatermarkControls(QWidget* box);
    void buildOutputControls(QWidget* box);
    void buildColourControls(QWidget* box);
    void buildMenus();
    void connectHandlers();
    void connectPanel();
    void installFilters();

    // Load steps.
    void fillChoiceBoxes();
    void loadSettings();
    void addCommandLinePictures();
    void createSurfaces();
    void Form_Unload();

    bool lstFile_KeyDown(int key);
    void lstFile_MouseDown(Qt::MouseButton button, QPoint pos);
    bool filterPreviewEvent(QObject* watched, QEvent* event);
    bool filterDropEvent(QObject* watched, QEvent* event);
    bool filterWheel(QEvent* event);
    void showNotice();
    void connectMarker();
    void chooseFreePosition(MarkHit hit);
    PanelPlaces panelPlaces() const;
    void showHoverPanels(const HoverPanels& h);
    void setRunButtons(int state);

    SettingsStore& settings_;
    Prompter& prompter_;
    Shell& shell_;
    LivePreview preview_;
    WatermarkMarker* marker_ = nullptr;
    bool running_ = false;
    bool loaded_ = false;
    QString alphaAtStart_;
    struct RunHolder;
    std::shared_ptr<RunHolder> run_;
    struct ViewerBridge;
    std::shared_ptr<ViewerBridge> viewerBridge_;
    QPointer<frmPic> viewer_;
};
