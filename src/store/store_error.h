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
        NewerVersion,    // written by a later release of the program
        Query,           // a statement failed
        Usage,           // the program asked for something the store does not have
    };
    StoreError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

}  // namespace daike
