// The record viewer on the main window ("代课查看"): the cover recorded since the assignment
// screen was opened, six notice sentences to a page, with paging, printing and closing. It is a
// panel of Form2, hidden until opened.
#pragma once

#include <QWidget>
#include <vector>

#include "documents/notices.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace daike {

struct RunContext;

class RecordViewer : public QWidget {
    Q_OBJECT
  public:
    // `parent` is the main window's centre, where the panel lies.
    RecordViewer(RunContext& ctx, QWidget* parent);

    // Reads the records again and shows page 1; with no record says so and stays closed.
    void open();
    // Hides the panel (退出查看).
    void closeView();

    int currentPage() const { return page_; }
    // 本次 (the default) or 今天全部: the notices printed from the viewer are of the same cover.
    NoticeScope scope() const { return scope_; }
    int pageCount() const { return pages_; }

  signals:
    // The buttons that make notices: print, preview, save as PDF.
    void printRequested();
    void previewRequested();
    void pdfRequested();

  private:
    void nextPage();
    void previousPage();
    void showPage();
    void setPartsVisible(bool visible);
    void showScope(NoticeScope scope);

    RunContext& ctx_;
    NoticeScope scope_ = NoticeScope::Session;
    std::vector<CoverRecord> records_;
    int page_ = 0;  // 0 before the first page is shown
    int pages_ = 0;
    std::vector<QLabel*> cells_;       // Label2_0 … Label2_95
    std::vector<QLabel*> rowNumbers_;  // Label3_0 … Label3_5
    QLabel* heading_;
    QRadioButton* session_;
    QRadioButton* today_;
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* print_;
    QPushButton* exit_;
};

}  // namespace daike
