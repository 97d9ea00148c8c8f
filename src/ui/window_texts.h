// Which texts of a window an operator reads that are not Chinese: the office works in Chinese,
// and Qt's own dialogs follow once their translations are loaded.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace daike {

// A text reads as Chinese when it has a Chinese character, or no Latin letters once the names
// the office uses as they stand (PDF, Excel, Word, CSV, xlsx, docx, A4) and file names and paths
// are left out. Digits and punctuation alone pass; rich text is read as the plain text it shows.
bool readsAsChinese(const QString& text);

// The visible texts of a window and its controls that do not read as Chinese, each as
// `NAME what "text"`: the title, labels, buttons, group titles, tooltips, menus and actions
// (their tooltips too), tabs, placeholders, the items of drop-down lists and table headers.
QStringList textsWithoutChinese(QWidget& window);

}  // namespace daike
