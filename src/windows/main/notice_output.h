// The cover notices on paper: "代课打印" (print on the default printer after asking), "打印预览"
// (the toolkit's preview, from which any printer can be chosen) and "另存为PDF". Each builds the
// notices from the cover recorded since the assignment screen was opened, fills the office's
// template (输出文件.docx) and keeps the filled copy as 输出文件-已填.docx beside the program.
#pragma once

#include <QString>
#include <vector>

class QLabel;
class QWidget;

#include "documents/notices.h"

namespace daike {

struct RunContext;

enum class NoticeOutput { Print, Preview, Pdf };

// `busy` is the main window's label "正在处理打印数据，请稍侯……", shown while the notices are
// made. Messages go to the operator; nothing is printed when anything fails.
// `scope` says which cover: this visit of the assignment screen (the default) or the whole day.
void outputNotices(RunContext& ctx, QWidget* parent, QLabel* busy, NoticeOutput how,
                   NoticeScope scope = NoticeScope::Session);
// The notices of these records (one reprinted cover, say); `whenNone` is said when there are
// none, `nameSuffix` goes into the suggested PDF name ("代课通知-赵晶超-20260916.pdf").
void outputNoticesOf(RunContext& ctx, QWidget* parent, QLabel* busy, NoticeOutput how,
                     const std::vector<CoverRecord>& records, const QString& whenNone,
                     const QString& nameSuffix = {});

}  // namespace daike
