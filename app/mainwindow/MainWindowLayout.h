#pragma once

// Where the main window's stretching controls go for a window size and state.
// All values are twips (15 to a pixel), the unit the window's design uses; the
// window converts to pixels when it applies the result.

struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    bool operator==(const TwipRect&) const = default;
};

enum class WindowShape { Normal, Maximised, Minimised };

// The controls the layout moves, with their current geometry. Positions of
// controls inside picImg are relative to picImg; the others to the window.
struct MainLayout {
    TwipRect niceContainr5, niceContainr6;
    TwipRect frame1, frame2, lstFile, picSmall, picImg;
    TwipRect frame3, frame4, txtPicTxt, frmTZ;
    TwipRect lInfo, lblNew;
    bool niceContainr6Visible = false;
    bool webVisible = false;
    bool lblNewVisible = false;
    bool operator==(const MainLayout&) const = default;
};

struct LayoutInput {
    int windowWidth = 0, windowHeight = 0;  // outer size, frame and title bar included
    WindowShape shape = WindowShape::Normal;
    bool showToday = false;  // the news panel is switched on
    bool listEmpty = true;
};

struct LayoutResult {
    MainLayout layout;
    bool navigateNews = false;  // the news page is to be loaded again and shown
};

// Applies the resize rules to the current geometry. A rule that would give a
// negative width or height leaves that value as it was.
LayoutResult layoutMainWindow(const MainLayout& current, const LayoutInput& in);
