// The one failure type of the program: every real failure (the database, a document, an export
// file) is a Failure. what() is a message in Chinese, phrased in the logic, that can be shown to
// the operator as it stands; runAction (ui/widgets.h) shows it. A rule's refusal of the
// operator's input is not a failure: see store/refusal.h.
#pragma once

#include <stdexcept>
#include <string>

namespace daike {

class Failure : public std::runtime_error {
  public:
    enum class Kind {
        // the store
        AlreadyRunning,  // another copy of the program holds the database
        NoAccess,        // the program directory or the file cannot be read or written
        NotOurFile,      // damaged, or encrypted with another key, or not a database at all
        EmptyFile,       // 代课.db is there but holds nothing (zero bytes)
        NewerVersion,    // written by a later release of the program
        Query,           // a statement failed
        Usage,           // the program asked for something the store does not have
        DiskFull,        // no room left on the disk: the file is sound, nothing was changed
        // documents and exports
        NotFound,      // no file by that name
        NotADocument,  // not a .docx at all (not a zip, or no document part in it)
        Damaged,       // a .docx whose content cannot be read
        NoSuchCell,    // the table, row or column is not in the document
        CannotWrite,   // a file (document, export) could not be written
        TooLarge,      // beyond what the program reads: too big, too deep, too many parts
        Encrypted,     // a document with a password
    };
    Failure(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

}  // namespace daike
