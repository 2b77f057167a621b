#pragma once

#include <QColor>
#include <QString>

// The viewer's background colours, by the index of their menu entry (the
// value of the setting "iBGColor").
namespace viewbackcolor {

constexpr int kCount = 7;

// The colour of entry `index`; black for an index outside 0..6, so a damaged
// setting cannot keep the viewer from opening.
QColor colour(int index);
// `index` when it names an entry, else 0.
int valid(int index);
// The stored text read as an index (invalid text gives 0).
int fromSetting(const QString& text);
// The menu caption of entry `index`.
QString caption(int index);

} // namespace viewbackcolor
