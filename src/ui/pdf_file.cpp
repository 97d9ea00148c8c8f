#include "ui/pdf_file.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <filesystem>

#include "store/safe_file.h"

namespace daike {

void writePdfFile(const QString& path, const QString& title, const QPageLayout& layout,
                  const PagePainter& paint) {
    safefile::write(
        std::filesystem::path(path.toStdU16String()),
        [&](const std::filesystem::path& temp) {
            QPdfWriter pdf(QString::fromStdU16String(temp.u16string()));
            pdf.setPageLayout(layout);
            pdf.setResolution(300);
            pdf.setTitle(title);
            paint(pdf);
        },
        safefile::Content::Pdf);
}

}  // namespace daike
