// Every shipped skin keeps every text of the main window readable: each
// text control is rendered as the user sees it (the window grabbed whole,
// with the panels over the preview and a drop-down list open), and the colour
// of its text must stand out from the colour around it.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <cmath>

#include "MainWindowFixture.h"
#include "platform/skin/SkinEngine.h"
#include "settings/menus/MenuCommands.h"

namespace {

double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text in `area` of a rendered picture: the commonest
// colour is the ground, the colour farthest from it the core of the glyphs.
double textContrast(const QImage& shot, QRect area)
{
    area &= shot.rect();
    QMap<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y) | 0xFF000000u];
    if (counts.isEmpty())
        return 0;
    QRgb ground = counts.firstKey();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it.value() > counts[ground])
            ground = it.key();
    double best = 1;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        best = std::max(best, contrast(ground, it.key()));
    return best;
}

// Where a control's own text is drawn, in its own coordinates, without its
// frame, its box to tick or its arrow.
QRect textArea(QWidget* w)
{
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton o;
        o.initFrom(box);
        o.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &o, box);
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox o;
        o.initFrom(combo);
        return combo->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, combo);
    }
    return w->rect().adjusted(4, 4, -4, -4);
}

bool hasText(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w))
        return !l->text().isEmpty();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return !b->text().isEmpty();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return !e->text().isEmpty();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return !c->currentText().isEmpty();
    return false;
}

QStringList shippedSkins()
{
    return QDir(QStringLiteral(VIMO_SKIN_DIR)).entryList({QStringLiteral("*.she")}, QDir::Files, QDir::Name);
}

class SkinReadability : public MainWindowFixture, public ::testing::WithParamInterface<QString> {};

// WCAG's floor for large text; disabled controls are left out, as there.
constexpr double kMinContrast = 3.0;

TEST_P(SkinReadability, EveryTextStandsOutFromItsGround)
{
    const QString skin = GetParam();
    ASSERT_EQ(SkinH_AttachEx(QStringLiteral(VIMO_SKIN_DIR "/") + skin, QString()), 1);
    frmMain& w = open({picture(home + "/p/light.jpg", 800, 600, QColor(250, 250, 250)),
                       picture(home + "/p/dark.jpg", 800, 600, QColor(20, 20, 20))});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.txtPicTxt->show();

    // Every text control of the window, as shown over the picture `entry`
    // with one panel open over the preview.
    const auto checkWindow = [&](int entry, const char* state) {
        w.setListIndex(entry);
        QApplication::processEvents();
        const QImage shot = w.grab().toImage();
        int checked = 0;
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if (!c->isVisible() || !c->isEnabled() || c->window() != &w)
                continue;
            QRect area;
            if (auto* group = qobject_cast<QGroupBox*>(c)) {
                QStyleOptionGroupBox o;
                o.initFrom(group);
                o.text = group->title();
                o.subControls = QStyle::SC_GroupBoxLabel;
                area = group->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, group);
            } else if (hasText(c)) {
                area = textArea(c);
            } else {
                continue;
            }
            if (area.isEmpty())
                continue;  // a frame without a caption
            const double ratio = textContrast(shot, area.translated(c->mapTo(&w, QPoint(0, 0))));
            ++checked;
            EXPECT_GE(ratio, kMinContrast) << skin.toStdString() << ", " << state << ", entry " << entry << ": "
                                           << c->objectName().toStdString() << " contrast " << ratio;
        }
        EXPECT_GT(checked, 30);
        const QRect row = w.lstFile->visualItemRect(w.lstFile->item(1 - entry)).adjusted(2, 1, -2, -1);
        EXPECT_GE(textContrast(shot, row.translated(w.lstFile->viewport()->mapTo(&w, QPoint(0, 0)))), kMinContrast)
            << skin.toStdString() << ": lstFile";
        if (qEnvironmentVariableIsSet("VIMO_SKIN_SHOTS"))
            shot.save(qEnvironmentVariable("VIMO_SKIN_SHOTS") +
                      QStringLiteral("/%1-%2-%3.png").arg(shippedSkins().indexOf(skin)).arg(state).arg(entry));
    };
    for (int entry : {0, 1}) {
        w.menus->mPPro->trigger();
        checkWindow(entry, "matrix");
        w.panel->cmdJZOK->click();
        w.menus->mPLD->trigger();
        checkWindow(entry, "brightness");
        w.panel->cmdCloseTZ->click();
    }

    // An open drop-down list.
    for (QComboBox* combo : {w.panel->cmbSize, w.panel->cmbEncode}) {
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const int other = combo->currentIndex() == 1 ? 2 : 1;
        const QImage list = view->window()->grab().toImage();
        const QRect item =
            (view->visualRect(view->model()->index(other, 0)) & view->viewport()->rect()).adjusted(2, 1, -2, -1);
        EXPECT_GE(textContrast(list, item.translated(view->viewport()->mapTo(view->window(), QPoint(0, 0)))),
                  kMinContrast)
            << skin.toStdString() << ": the drop-down list of " << combo->objectName().toStdString();
        combo->hidePopup();
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, SkinReadability, ::testing::ValuesIn(shippedSkins()), [](const auto& skinInfo) {
    // Test names are ASCII: the skin's place in the folder's order.
    return "skin" + std::to_string(skinInfo.index);
});

} // namespace
