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
#include "settings/PreviewServices.h"

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
class NewsPage;
class NewsTicker;
struct AppState;
class SettingsStore;
class Prompter;
class Shell;
class BatchRun;
class frmDlg;
class MenuCommands;
class SettingsPanel;
class frmPic;
class frmCopySrc;
class ScreenGrabber;
class CameraSource;
class ViewerHost;
class Wallpaper;

// The main window: the picture list, the live preview and the run buttons,
// with the settings panel (its own class) in the frames along the top.
// Handlers keep the design's names; they set state and call the core, which
// does the work. The panel reaches the window through PreviewServices.
class frmMain : public QMainWindow, public PreviewServices {
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
    // Opens the picture viewer with iPicSource, iPicMode and bCutMode as the
    // program state holds them; the viewer open before is closed first.
    // Returns the viewer, or null when it could not show its picture.
    frmPic* openViewer();
    // The open viewer; null when none is open.
    frmPic* viewer() const;
    // The desktop's wallpaper setter; tests put a recording one here.
    std::shared_ptr<Wallpaper> wallpaper;

    // --- screen grab and webcam (frmMain_capture.cpp)
    // Hides the window and opens the screen grab, which shows it again when
    // it closes; the grab already open when there is one.
    frmCopySrc* openScreenGrab();
    // The webcam window, modal; returns its dialog result.
    int openWebcam();
    // What reads the screen and the camera; tests put fakes here.
    std::shared_ptr<ScreenGrabber> screenGrabber;
    std::function<std::unique_ptr<CameraSource>()> makeCamera;
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
    void txtPicTxt_GotFocus();
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

    // --- run
    void cmdDone_Click();
    void cmdStop_Click();
    bool running() const { return running_; }
    // Called when a run ends, for callers that wait for it (tests, scripts).
    std::function<void()> onRunFinished;
    // The run behind the buttons, made on first use with the window's hooks.
    BatchRun& batchRun();

    // --- what the settings panel asks of the window
    int selectedIndex() const override { return listIndex(); }
    bool previewShown() const override;
    bool redrawPreview() override
    {
        lstFile_Click();
        return preview_.troubleSaid();
    }
    void focusList() override;
    void showTip(const QString& text) override;
    void showPictureTip() override;
    void positionChosen(bool picture, bool freePosition) override;
    void popupPrefixMenu(QPoint global) override;
    void popupEffectsMenu(QPoint global) override;

    // The window's geometry in the design's twips, as the resize rules see it.
    MainLayout currentLayout() const;
    void applyLayout(const MainLayout& layout);
    void Form_Resize();

    // --- news line and web panel
    void Timer1_Timer();
    void lblNew_Click();
    void Web_DocumentComplete();
    void Web_NavigateError();
    // Loads the news page again when the panel is on and an address is set.
    void navigateNews();
    // Where the web panel's page comes from (HTTP by default).
    void setNewsPage(std::shared_ptr<NewsPage> page);

    // Where the list's chooser is opened, so that tests can drive it; the
    // panel's choosers go through the same hook.
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
    QTimer* Timer1 = nullptr;
    QScrollBar* hscSY;
    // The settings panel: size, border, format, watermarks, output, colours.
    SettingsPanel* panel = nullptr;
    // Run.
    QPushButton *cmdDone, *cmdStop;
    // The menu bar and the context menus, with their commands.
    MenuCommands* menus = nullptr;

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
    void buildMenus();
    void connectHandlers();
    void installFilters();

    // Load steps.
    void addCommandLinePictures();
    void createSurfaces();
    void Form_Unload();

    bool lstFile_KeyDown(int key);
    void lstFile_MouseDown(Qt::MouseButton button, QPoint pos);
    bool filterPreviewEvent(QObject* watched, QEvent* event);
    bool filterDropEvent(QObject* watched, QEvent* event);
    bool filterWheel(QEvent* event);
    void showNotice();
    void showEmptyList();
    void connectMarker();
    void chooseFreePosition(MarkHit hit);
    PanelPlaces panelPlaces() const;
    void showHoverPanels(const HoverPanels& h);
    void setRunButtons(int state);
    void startNews();
    void newsAfterResize(bool navigate);

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
    std::shared_ptr<NewsPage> newsPage_;
    std::shared_ptr<NewsTicker> ticker_;
    bool newsLoaded_ = false;  // the news page has been received at least once
    // What the menus may do with the window (frmMain_menus.cpp).
    struct MenuLink;
    std::shared_ptr<MenuLink> menuLink_;
    struct ViewerBridge;
    std::shared_ptr<ViewerBridge> viewerBridge_;
    QPointer<frmPic> viewer_;
    QPointer<frmCopySrc> grab_;
    // What the picture windows see of this window.
    ViewerHost& viewerHost();
};
