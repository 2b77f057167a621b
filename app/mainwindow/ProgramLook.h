#pragma once

class QApplication;
class QCoreApplication;
class QFont;

// The program is Chinese by design and its windows are laid out for one text
// size. These set up what Qt itself draws to match, before the first window.
namespace programlook {

// The design's text size: 9 points at 96 dots per inch, given in pixels so that
// a screen of another resolution or a wider Linux font does not outgrow the
// controls.
constexpr int kDesignFontPixels = 12;

// Qt's own texts (standard buttons, file and input dialogs) in Chinese, from
// Qt's zh_CN translations, whatever the system's locale. False when they are
// not installed; Qt then keeps its English texts. Installs them once.
bool installChineseQtTexts(QCoreApplication& app);

// The application's font at the design's text size, its family left to the system.
QFont designFont();

// Both of the above, for every window the program opens.
void apply(QApplication& app);

} // namespace programlook
