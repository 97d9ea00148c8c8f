// Puts a word-processor document on paper: lays out the page model (documents/page_model.h)
// with the fonts of this machine and paints the pages on any paged device (the printer, the
// print preview, a PDF file). Chinese text is set in Simplified Chinese faces: the office's
// 宋体/仿宋/楷体 in Noto Serif CJK SC, 黑体/微软雅黑 in Noto Sans CJK SC, when the named face
// is not installed.
#pragma once

#include <QPageLayout>
#include <QString>

#include "documents/page_model.h"

class QPagedPaintDevice;

namespace daike {

class DocumentRenderer {
  public:
    explicit DocumentRenderer(page::Document document);

    // The document's paper, for the printer or the PDF: the whole sheet is painted (the
    // document's own margins are kept by the layout).
    QPageLayout pageLayout() const;

    // Paints the pages up to the one where the body's table `lastTable` (from 1) ends, every
    // page when 0 or when the body has fewer tables, calling newPage() between pages. Returns
    // the number of pages painted; 0 when the device could not be painted or a new page could
    // not be started.
    int paint(QPagedPaintDevice& device, int lastTable = 0) const;

    // Writes the same pages to a PDF file, replacing an older one only when the new one is
    // whole. False when the file cannot be written; `why` then says why, in Chinese.
    bool writePdf(const QString& path, const QString& title, int lastTable = 0,
                  QString* why = nullptr) const;

  private:
    page::Document doc_;
};

// The face used on this machine for a face named in a document.
QString screenFamily(const std::string& documentFamily, bool eastAsia);

}  // namespace daike
