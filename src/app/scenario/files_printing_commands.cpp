// The scenario commands of one group. Files and printing: files in the program directory,
// file-dialog answers, the scripted printer.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <memory>

#include "basedata/timetable_documents.h"
#include "basedata/timetable_export.h"
#include "commands.h"
#include "shell/program.h"
#include "store/store.h"
#include "ui/path_text.h"

namespace daike {

using scenario::cannot;

QString ScenarioRunner::inProgramDir(const QString& path) const {
    if (QFileInfo(path).isAbsolute()) return path;
    return qpath(dir_ / fspath(path));
}

std::vector<PdfPrinter::Job> ScenarioRunner::printedJobs() const {
    std::vector<PdfPrinter::Job> printed;
    for (const auto& j : desktop_.printer.jobs())
        if (!j.preview) printed.push_back(j);
    return printed;
}

void ScenarioRunner::expectPrintedText(const QString& pageArg, const QString& want) {
    bool ok = false;
    const int page = pageArg.toInt(&ok);
    if (!ok || page < 1) cannot("not a page number: " + pageArg);
    const auto jobs = printedJobs();
    if (jobs.empty()) {
        expect(false, "expected printed text \"" + want + "\", nothing printed");
        return;
    }
    const auto& job = jobs.back();
    if (page > job.pages) {
        expect(false, QStringLiteral("expected printed text on page %1, the job has %2 page(s)")
                          .arg(page)
                          .arg(job.pages));
        return;
    }
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", "-f", QString::number(page), "-l",
                                  QString::number(page), job.pdfPath, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        cannot("pdftotext could not read " + job.pdfPath);
    // Full-width and compatibility forms read as their plain letters; line breaks and blanks
    // the layout adds between characters do not count.
    auto plain = [](QString t) {
        t = t.normalized(QString::NormalizationForm_KC);
        t.remove(QRegularExpression("\\s"));
        return t;
    };
    const QString got = QString::fromUtf8(pdftotext.readAllStandardOutput());
    expect(plain(got).contains(plain(want)),
           QStringLiteral("page %1 of %2: \"%3\" not found in \"%4\"")
               .arg(page)
               .arg(job.name, want, got.simplified().left(300)));
}

// export-timetables
void ScenarioRunner::FilesAndPrinting::exportTimetables(ScenarioRunner& r, const QStringList&) {
    std::unique_ptr<Store> own;
    Store& store = r.program_ ? r.program_->store() : *(own = Store::open(r.dir_));
    timetable_import::exportTimetableDocuments(store, r.dir_);
}

// export-timetable-sheet
void ScenarioRunner::FilesAndPrinting::exportTimetableSheet(ScenarioRunner& r,
                                                            const QStringList& a) {
    std::unique_ptr<Store> own;
    Store& store = r.program_ ? r.program_->store() : *(own = Store::open(r.dir_));
    timetable_export::write(store, fspath(r.inProgramDir(a[1])));
}

// write-file
void ScenarioRunner::FilesAndPrinting::writeFile(ScenarioRunner& r, const QStringList& a) {
    QFile f(r.inProgramDir(a[1]));
    if (!f.open(QIODevice::WriteOnly) || f.write(a[2].toUtf8()) < 0)
        cannot("could not write " + a[1]);
}

// answer-file
void ScenarioRunner::FilesAndPrinting::answerFile(ScenarioRunner& r, const QStringList& a) {
    r.desktop_.files.queue(r.inProgramDir(a[1]));
}

// answer-file-cancel
void ScenarioRunner::FilesAndPrinting::answerFileCancel(ScenarioRunner& r, const QStringList&) {
    r.desktop_.files.queue(std::nullopt);
}

// expect-printed
void ScenarioRunner::FilesAndPrinting::expectPrinted(ScenarioRunner& r, const QStringList& a) {
    int pages = 0;
    for (const auto& job : r.printedJobs()) pages += job.pages;
    const QString got = QString::number(pages);
    r.expect(got == a[1], "expected " + a[1] + " printed page(s), got " + got);
}

// expect-file
void ScenarioRunner::FilesAndPrinting::expectFile(ScenarioRunner& r, const QStringList& a) {
    const QFileInfo f(r.inProgramDir(a[1]));
    r.expect(f.exists() && f.size() > 0, "expected a file " + a[1]);
}

// expect-no-file
void ScenarioRunner::FilesAndPrinting::expectNoFile(ScenarioRunner& r, const QStringList& a) {
    r.expect(!QFileInfo::exists(r.inProgramDir(a[1])), "expected no file " + a[1]);
}

// expect-image
void ScenarioRunner::FilesAndPrinting::expectImage(ScenarioRunner& r, const QStringList& a) {
    QImageReader reader(r.inProgramDir(a[1]));
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    const QString got = image.isNull() ? QStringLiteral("no picture (%1)").arg(reader.errorString())
                                       : QStringLiteral("%1 %2x%3")
                                             .arg(QString::fromLatin1(format))
                                             .arg(image.width())
                                             .arg(image.height());
    r.expect(!image.isNull() && image.width() == a[2].toInt() && image.height() > 0,
             a[1] + ": expected a picture " + a[2] + " pixels wide, got " + got);
}

// expect-printed-text
void ScenarioRunner::FilesAndPrinting::expectPrintedText(ScenarioRunner& r, const QStringList& a) {
    r.expectPrintedText(a[1], a[2]);
}

// expect-clipboard
void ScenarioRunner::FilesAndPrinting::expectClipboard(ScenarioRunner& r, const QStringList& a) {
    const auto& texts = r.copiedTexts();
    if (texts.empty()) {
        r.expect(false, "expected a text on the clipboard, nothing was copied");
        return;
    }
    r.expect(texts.back() == a[1],
             "expected the clipboard to hold\n" + a[1] + "\ngot\n" + texts.back());
}

// expect-clipboard-has
void ScenarioRunner::FilesAndPrinting::expectClipboardHas(ScenarioRunner& r, const QStringList& a) {
    const auto& texts = r.copiedTexts();
    if (texts.empty()) {
        r.expect(false, "expected a text on the clipboard, nothing was copied");
        return;
    }
    r.expect(texts.back().contains(a[1]),
             "expected the clipboard to hold “" + a[1] + "”, got\n" + texts.back());
}

}  // namespace daike
