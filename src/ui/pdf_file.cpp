#include "ui/pdf_file.h"

#include <QFont>
#include <QPageLayout>
#include <QPdfWriter>
#include <filesystem>

#include "store/failure.h"
#include "store/safe_file.h"
#include "ui/path_text.h"

namespace daike {

QFont pageFont(double points, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                   QStringLiteral("SimSun")});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void writePdfFile(const QString& path, const QString& title, const QPageLayout& layout,
                  const PagePainter& paint) {
    safefile::write(
        fspath(path),
        [&](const std::filesystem::path& temp) {
            QPdfWriter pdf(qpath(temp));
            pdf.setPageLayout(layout);
            pdf.setResolution(300);
            pdf.setTitle(title);
            paint(pdf);
        },
        safefile::Content::Pdf);
}

std::optional<QString> savePagesAsPdf(Platform& platform, const QString& suggested,
                                      const QString& title, const QPageLayout& layout,
                                      const PagePainter& paint) {
    auto path = platform.files.saveFile(QStringLiteral("另存为PDF"), suggested,
                                        QStringLiteral("PDF 文件 (*.pdf)"));
    if (!path || path->trimmed().isEmpty()) return std::nullopt;
    if (!path->endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        *path += QStringLiteral(".pdf");
    // Put in place only when whole, so a full disk leaves an older file as it was.
    try {
        writePdfFile(*path, title, layout, paint);
    } catch (const Failure& e) {
        platform.boxes.ok(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
    return path;
}

}  // namespace daike
