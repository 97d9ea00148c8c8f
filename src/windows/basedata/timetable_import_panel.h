// Frame1 "课务自动输入文档格式说明": the panel of the main window from which the office reads
// every teacher's timetable document into 任课情况. The three key positions are tried on the
// samples of the picture and on a text of the office's own, a check pass shows how the first
// lesson is read, and only then does the real import replace the timetable, after a summary.
//
// The progress display (Label4 "完成", Label5, Label1, Line3 … Line10) belongs to the main
// window, beside the panel: the real import runs after the panel is hidden.
#pragma once

#include <QGroupBox>
#include <optional>

#include "basedata/timetable_documents.h"

namespace daike {

struct RunContext;

class TimetableImportPanel : public QGroupBox {
    Q_OBJECT
  public:
    // `parent` is the main window's working area; the panel and the progress display are made
    // in it, both hidden.
    TimetableImportPanel(RunContext& ctx, QWidget* parent);

    // Shows the panel (after the administrator login) and makes the folders 任课表 and
    // 任课表样表, the latter with its sample document, when they are missing.
    void open();

    // The import mode of the main window: 0 check pass, 1 real import.
    int mode() const { return mode_; }

  private:
    void sampleTest();
    void customTest();
    void checkPass();
    void confirmImport();
    void abandon();
    // Every teacher's document, read away from the window; nothing when the operator stopped it.
    std::optional<timetable_import::ReadAhead> readAhead();
    void showProgress(int percent);
    void hideProgress();

    RunContext& ctx_;
    QWidget* progress_ = nullptr;
    int mode_ = 0;
};

}  // namespace daike
