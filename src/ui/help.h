// Help on F1: the help browser FormHelp and its pages. The pages are short HTML files compiled
// into the program under :/help, one per window named by the window's objectName, and
// index.html, the list of windows and the order of a term's work.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QTextBrowser;
class QPushButton;
class QUrl;

namespace daike {

// The names of the compiled-in pages, without ".html", sorted ("index" among them).
QStringList helpPages();
bool hasHelpPage(const QString& name);

// The help browser: one page at a time, links between pages followed, 目录 back to the list.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* owner);
    // Shows the page of that window, or the list of windows when it has none.
    void showPage(const QString& name);
    // The page shown, as its name without ".html".
    const QString& page() const { return page_; }

  private:
    void followed(const QUrl& url);
    QTextBrowser* text_;
    QPushButton* back_;
    QString page_;
};

// Opens FormHelp on that page for the asking window. There is one help window: it belongs to the
// main window, or to the asking window when that one holds the program modal.
HelpWindow* openHelp(QWidget* asking, const QString& page);

// F1 in the window opens its help page: by default the one named like the window, or what
// `page` names at the moment of asking (a window whose working area shows several panels).
void installHelpKey(QWidget* window, std::function<QString()> page = {});

// Where a new help window goes on the desktop; the program sets it at start (the toolkit does
// not know the screen).
void setHelpPlacement(std::function<void(QWidget&)> place);

}  // namespace daike
