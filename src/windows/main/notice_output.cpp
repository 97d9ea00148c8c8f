#include "windows/main/notice_output.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <optional>

#include "documents/notice_template.h"
#include "documents/notices.h"
#include "documents/page_model.h"
#include "school/period_times.h"
#include "school/term_start.h"
#include "store/paths.h"
#include "ui/document_renderer.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {

struct Filled {
    DocumentRenderer renderer;
    int lastTable;  // notice i fills tables 2i−1 and 2i: the pages end with table 2n
};

QString pathText(const std::filesystem::path& p) {
    return qpath(p);
}

// Builds the filled document; nothing when there is nothing to print or it failed (the
// operator has been told).
std::optional<Filled> fill(RunContext& ctx, QLabel* busy, const std::vector<CoverRecord>& records,
                           const QString& whenNone) {
    auto& boxes = ctx.platform.boxes;
    if (records.empty()) {
        boxes.ok(whenNone);
        return std::nullopt;
    }
    if (busy) {
        busy->show();
        busy->raise();
        busy->repaint();
    }
    struct HideBusy {
        QLabel* l;
        ~HideBusy() {
            if (l) l->hide();
        }
    } hide{busy};

    const auto termStart = readTermStart(ctx.store);
    const auto times = readPeriodTimes(ctx.store);
    std::vector<Notice> notices;
    for (const auto& r : records) notices.push_back(noticeOf(r, termStart, times));
    try {
        auto tmpl = loadNoticeTemplate(ctx.programDir);
        fillNotices(tmpl.document, notices);
        std::optional<QString> keepFailed;
        try {
            tmpl.document.save(inFolder(ctx.programDir, kFilledNotices));
        } catch (const Failure& e) {
            keepFailed = QString::fromUtf8(e.what());
        }
        Filled out{DocumentRenderer(pageModel(tmpl.document)),
                   2 * static_cast<int>(records.size())};
        hide.l = nullptr;
        if (busy) busy->hide();
        if (keepFailed)
            // The notices still print; only the copy for a word processor is missing.
            boxes.ok(*keepFailed + QStringLiteral("\n（代课通知仍可打印，只是没有保存“") +
                     QString::fromUtf8(kFilledNotices) + QStringLiteral("”。）"));
        return out;
    } catch (const Failure& e) {
        if (busy) busy->hide();
        hide.l = nullptr;
        boxes.ok(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

}  // namespace

void outputNotices(RunContext& ctx, QWidget* parent, QLabel* busy, NoticeOutput how,
                   NoticeScope scope) {
    outputNoticesOf(ctx, parent, busy, how, readCover(ctx.store, scope),
                    scope == NoticeScope::Today
                        ? QString::fromUtf8(kNoCoverToday)
                        : QStringLiteral("您的此次代课没有实在的代课记录！"));
}

void outputNoticesOf(RunContext& ctx, QWidget* parent, QLabel* busy, NoticeOutput how,
                     const std::vector<CoverRecord>& records, const QString& whenNone,
                     const QString& nameSuffix) {
    auto filled = fill(ctx, busy, records, whenNone);
    if (!filled) return;
    auto& boxes = ctx.platform.boxes;
    const int lastTable = filled->lastTable;
    int painted = 0;
    const auto paint = [&](QPagedPaintDevice& device) {
        painted = filled->renderer.paint(device, lastTable);
    };
    const QString job = QStringLiteral("代课通知");
    switch (how) {
        case NoticeOutput::Print:
            if (!boxes.okCancel(QStringLiteral("是否直接进行打印,请确定！"))) return;
            if (ctx.platform.printer.print(job, filled->renderer.pageLayout(), paint) &&
                painted == 0)
                boxes.ok(QStringLiteral("打印机没有接受全部代课通知，请检查打印机后重新打印。"));
            else if (painted == 0)
                boxes.ok(
                    QStringLiteral("没有找到可用的打印机，代课通知没有打印。\n"
                                   "可以用“打印预览”选择打印机，或“另存为PDF”后再打印。"));
            return;
        case NoticeOutput::Preview:
            ctx.platform.printer.preview(parent, job, filled->renderer.pageLayout(), paint);
            return;
        case NoticeOutput::Pdf: {
            const QString name = QStringLiteral("代课通知-%1%2.pdf")
                                     .arg(nameSuffix.isEmpty() ? QString() : nameSuffix + "-",
                                          qs(calendar::stamp(ctx.platform.clock.today())));
            auto path = ctx.platform.files.saveFile(QStringLiteral("另存为PDF"),
                                                    pathText(ctx.programDir / fspath(name)),
                                                    QStringLiteral("PDF 文件 (*.pdf)"));
            if (!path) return;
            if (!path->endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
                *path += QStringLiteral(".pdf");
            QString why;
            if (filled->renderer.writePdf(*path, job, lastTable, &why))
                boxes.ok(
                    QStringLiteral("代课通知已保存为“%1”。").arg(QDir::toNativeSeparators(*path)));
            else
                boxes.ok(why);
            return;
        }
    }
}

}  // namespace daike
