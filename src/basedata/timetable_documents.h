// The teachers' timetable documents on disk: 任课表/NAME.docx, read by the program itself, or
// 任课表/NAME.doc, which LibreOffice first turns into .docx (all of them in one run, with a
// profile of its own, into a temporary folder). Also the documents the program writes: a
// teacher's timetable, and the sample that shows a new school what a document should look like.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "basedata/timetable_import.h"

namespace daike {

class WordDocument;
class Store;

namespace timetable_import {

inline constexpr const char* kDocumentFolder = "任课表";
inline constexpr const char* kSampleFolder = "任课表样表";
inline constexpr const char* kSampleFile = "课务表样表.docx";
inline constexpr const char* kDetailsFile = "课务导入明细.txt";

// The 30 cells of the first table of a document, counted by the table's grid: a cell merged
// over several periods or weekdays gives its text to each of them. Throws Failure when
// the document has no table or its first table is not 6 rows by 5 columns (the message names
// the teacher).
CellTexts readFirstTable(const WordDocument& document, const std::string& teacher);

// Turns .doc files into .docx files of the same names in `outDir`. Returns nothing when it ran,
// or why it could not (to be shown after the document's path).
using DocConverter = std::function<std::optional<std::string>(
    const std::vector<std::filesystem::path>& docs, const std::filesystem::path& outDir)>;

// LibreOffice in headless mode (documents/libreoffice.h).
DocConverter libreOfficeConverter();

// The documents of the folder 任课表. The .doc files of all the teachers given are converted
// together, the first time one of them is asked for.
class FolderDocuments : public TimetableDocuments {
  public:
    FolderDocuments(std::filesystem::path folder, std::vector<std::string> teachers,
                    DocConverter convert = libreOfficeConverter());
    ~FolderDocuments() override;
    FolderDocuments(const FolderDocuments&) = delete;
    FolderDocuments& operator=(const FolderDocuments&) = delete;

    TeacherDocument read(const std::string& teacher) override;

  private:
    void convertDocs();

    std::filesystem::path folder_;
    std::vector<std::string> teachers_;
    DocConverter convert_;
    bool converted_ = false;
    std::optional<std::string> conversionFailure_;
    std::filesystem::path outDir_;
};

// Every teacher's document read once, ahead of the passes over them, so that the reading can
// run away from the window (it touches files only, never the store) and be stopped: `stop` is
// looked at before each document, and a reading stopped gives nothing.
class ReadAhead : public TimetableDocuments {
  public:
    static std::optional<ReadAhead> of(TimetableDocuments& source,
                                       const std::vector<std::string>& teachers,
                                       const Progress& progress, const std::atomic<bool>& stop);
    // The document as read ahead; a teacher not read ahead is read now from nowhere (a problem).
    TeacherDocument read(const std::string& teacher) override;

  private:
    std::map<std::string, TeacherDocument> documents_;
};

// A timetable document: a line naming the teacher, then the 6 × 5 table of lessons (no heading
// row or column, so that it reads back as it was written).
WordDocument timetableDocument(const std::string& heading, const CellTexts& cells);

// The sample timetable the panel shows and the sample folder holds; its cells include the four
// samples of the sample test.
const CellTexts& sampleTimetable();

// Writes 任课表样表/课务表样表.docx below the program directory when it is not there. Returns
// false when it could not be written (the office can still import).
bool ensureSampleDocuments(const std::filesystem::path& programDir);

// Writes every teacher's timetable, from 任课情况, as 任课表/NAME.docx below `programDir`
// (the folder made when missing, existing documents replaced). Returns how many were written.
// Names that cannot be a file name are refused with a Failure before anything is written.
int exportTimetableDocuments(Store& store, const std::filesystem::path& programDir);

}  // namespace timetable_import
}  // namespace daike
