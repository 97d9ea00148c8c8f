#pragma once

#include <string>

#include "store/failure.h"

namespace daike {

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
