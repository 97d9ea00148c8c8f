// An open set of rows from one table, walked like the office's forms always walked them: a
// cursor over a static copy of the rows, fields read and set by name or by position, rows
// appended and deleted, and every change written at once by update().
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace daike {

class Store;

class Recordset {
  public:
    Recordset(Recordset&&) noexcept = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    Recordset& operator=(Recordset&&) = delete;
    // Changes not written by update() are a fault of the caller: debug builds stop on them.
    ~Recordset();

    const std::string& table() const { return table_; }
    int fieldCount() const { return static_cast<int>(names_.size()); }
    const std::string& fieldName(int pos) const;
    // Position of a field by name; throws Failure for a name the table does not have.
    int fieldIndex(std::string_view name) const;

    // Rows not deleted.
    int recordCount() const;
    bool empty() const { return recordCount() == 0; }
    // Before the first row / after the last row. Both hold when there is no row.
    bool bof() const;
    bool eof() const;

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    // Searches from the current row onward for the first row whose field equals the value
    // (whole-text comparison); ends at EOF when there is none.
    bool find(std::string_view field, const Value& value);
    // Moves to the first row and finds the row of a teacher by 姓名.
    bool findName(std::string_view name);

    const Value& operator[](int pos) const;
    const Value& operator[](std::string_view name) const;
    const Value& operator[](const char* name) const { return (*this)[std::string_view(name)]; }
    void set(int pos, Value v);
    void set(std::string_view name, Value v);
    void set(const char* name, Value v) { set(std::string_view(name), std::move(v)); }

    // Appends a row of Nulls (unset fields take the column default when written) and moves
    // to it.
    void addNew();
    // Deletes the current row; the cursor stays on it until it moves.
    void remove();
    // Writes every pending change (deletions, new rows, changed fields), all or none.
    void update();
    bool hasPendingChanges() const;

    // The values of one field in every row, in row order; the cursor stays where it is.
    std::vector<Value> column(int pos) const;
    // The same as texts (Null as "").
    std::vector<std::string> columnText(int pos) const;

    // A walk of the rows from the first: `for (auto& row : rs) row["姓名"]…`. The walk moves the
    // cursor; each step gives the recordset standing on that row, so set() and remove() work
    // as in a moveFirst/moveNext loop.
    class Cursor {
      public:
        explicit Cursor(Recordset* rs) : rs_(rs) {}
        Recordset& operator*() const { return *rs_; }
        Cursor& operator++() {
            rs_->moveNext();
            return *this;
        }
        bool operator!=(std::default_sentinel_t) const { return !rs_->eof(); }

      private:
        Recordset* rs_;
    };
    Cursor begin() {
        moveFirst();
        return Cursor(this);
    }
    std::default_sentinel_t end() const { return {}; }

  private:
    friend class Store;
    enum class State { Clean, Changed, Added, Deleted, Gone };
    struct Row {
        std::int64_t rowid = 0;
        std::vector<Value> values;
        std::vector<bool> changed;
        State state = State::Clean;
    };
    Recordset(Store& store, std::string table, std::vector<std::string> names);
    Row& current();
    const Row& current() const;
    bool live(std::size_t i) const;

    Store* store_;
    std::string table_;
    std::vector<std::string> names_;
    std::vector<Row> rows_;
    long pos_ = 0;      // -1 = BOF, rows_.size() = EOF
    int liveRows_ = 0;  // rows not deleted, kept so that eof() and bof() take constant time
};

}  // namespace daike
