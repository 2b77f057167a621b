#include "mainwindow/ProgramLook.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace programlook {

bool installChineseQtTexts(QCoreApplication& app)
{
    // Gone with the application that owned it, so a later application loads it again.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto* translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

QFont designFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(kDesignFontPixels);
    return font;
}

void apply(QApplication& app)
{
    installChineseQtTexts(app);
    QApplication::setFont(designFont());
}

} // namespace programlook
