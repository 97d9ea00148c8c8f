#pragma once

#include <stdexcept>
#include <string>

namespace daike {

// Every failure of the store. what() is a message in Chinese that can be shown to the operator
// as it stands.
class StoreError : public std::runtime_error {
  public:
    enum class Kind {
        AlreadyRunning,  // another copy of the program holds the database
        NoAccess,        // the program directory or the file cannot be read or written
        NotOurFile,      // damaged, or encrypted with another key, or not a database at all
        EmptyFile,       // 代课.db is there but holds nothing (zero bytes)
        NewerVersion,    // written by a later release of the program
        Query,           // a statement failed
        Usage,           // the program asked for something the store does not have
    };
    StoreError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

// What the operator is told when a statement fails: what happened in the office's words and what
// to do next, SQLite's own text in brackets after it for whoever gives support.
std::string describeDatabaseError(int sqliteCode, const std::string& sqliteText);

// Why the data directory cannot be used, named as precisely as the facts allow: a directory
// that is read-only, a lock file of another user account (and how to remove it), or the system's
// own reason.
struct AccessFacts {
    std::string directory;
    bool directoryWritable = true;
    bool lockExists = false;
    bool lockOfAnotherAccount = false;
    long lockOwner = -1;  // user id of the lock file's owner
    int systemError = 0;  // errno of the failed step
};
std::string describeAccessProblem(const AccessFacts& facts);

}  // namespace daike
