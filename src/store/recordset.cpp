#include "store/recordset.h"

#include <cassert>
#include <exception>

#include "store/sql_text.h"
#include "store/store.h"

namespace daike {

namespace {
[[noreturn]] void misuse(const std::string& what) {
    throw Failure(Failure::Kind::Usage, "数据库操作失败：" + what);
}
}  // namespace

Recordset::Recordset(Store& store, std::string table, std::vector<std::string> names)
    : store_(&store), table_(std::move(table)), names_(std::move(names)) {}

Recordset::~Recordset() {
    // While a failure unwinds, unwritten changes are meant to be dropped with the action.
    assert((std::uncaught_exceptions() > 0 || !hasPendingChanges()) &&
           "a recordset was closed with changes not written by update()");
}

const std::string& Recordset::fieldName(int pos) const {
    if (pos < 0 || pos >= fieldCount())
        misuse("表“" + table_ + "”没有第 " + std::to_string(pos) + " 列");
    return names_[static_cast<std::size_t>(pos)];
}

int Recordset::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name) return static_cast<int>(i);
    misuse("表“" + table_ + "”没有列“" + std::string(name) + "”");
}

bool Recordset::live(std::size_t i) const {
    return rows_[i].state != State::Deleted && rows_[i].state != State::Gone;
}

int Recordset::recordCount() const {
    return liveRows_;
}

bool Recordset::bof() const {
    return pos_ < 0 || empty();
}
bool Recordset::eof() const {
    return pos_ >= static_cast<long>(rows_.size()) || empty();
}

void Recordset::moveFirst() {
    pos_ = 0;
    while (pos_ < static_cast<long>(rows_.size()) && !live(static_cast<std::size_t>(pos_))) ++pos_;
}

void Recordset::moveNext() {
    if (pos_ >= static_cast<long>(rows_.size())) misuse("已经在最后一行之后");
    ++pos_;
    while (pos_ < static_cast<long>(rows_.size()) && !live(static_cast<std::size_t>(pos_))) ++pos_;
}

void Recordset::movePrevious() {
    if (pos_ < 0) misuse("已经在第一行之前");
    --pos_;
    while (pos_ >= 0 && !live(static_cast<std::size_t>(pos_))) --pos_;
}

void Recordset::moveLast() {
    pos_ = static_cast<long>(rows_.size()) - 1;
    while (pos_ >= 0 && !live(static_cast<std::size_t>(pos_))) --pos_;
    if (pos_ < 0) pos_ = static_cast<long>(rows_.size());  // no row: EOF as well as BOF
}

bool Recordset::find(std::string_view field, const Value& value) {
    const auto i = static_cast<std::size_t>(fieldIndex(field));
    if (pos_ < 0) moveFirst();
    for (; pos_ < static_cast<long>(rows_.size()); ++pos_) {
        const auto& row = rows_[static_cast<std::size_t>(pos_)];
        if (live(static_cast<std::size_t>(pos_)) && !row.values[i].isNull() &&
            row.values[i] == value)
            return true;
    }
    return false;
}

bool Recordset::findName(std::string_view name) {
    moveFirst();
    return find("姓名", Value(name));
}

Recordset::Row& Recordset::current() {
    if (pos_ < 0 || pos_ >= static_cast<long>(rows_.size()) ||
        !live(static_cast<std::size_t>(pos_)))
        misuse("表“" + table_ + "”的当前行不存在");
    return rows_[static_cast<std::size_t>(pos_)];
}

const Recordset::Row& Recordset::current() const {
    return const_cast<Recordset*>(this)->current();
}

std::vector<Value> Recordset::column(int pos) const {
    if (pos < 0 || pos >= fieldCount()) fieldName(pos);
    std::vector<Value> values;
    values.reserve(static_cast<std::size_t>(liveRows_));
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (live(i)) values.push_back(rows_[i].values[static_cast<std::size_t>(pos)]);
    return values;
}

std::vector<std::string> Recordset::columnText(int pos) const {
    std::vector<std::string> texts;
    for (const auto& v : column(pos)) texts.push_back(v.text());
    return texts;
}

const Value& Recordset::operator[](int pos) const {
    const auto& row = current();
    if (pos < 0 || pos >= fieldCount()) fieldName(pos);
    return row.values[static_cast<std::size_t>(pos)];
}

const Value& Recordset::operator[](std::string_view name) const {
    return current().values[static_cast<std::size_t>(fieldIndex(name))];
}

void Recordset::set(int pos, Value v) {
    auto& row = current();
    fieldName(pos);
    const auto i = static_cast<std::size_t>(pos);
    row.values[i] = std::move(v);
    row.changed[i] = true;
    if (row.state == State::Clean) row.state = State::Changed;
}

void Recordset::set(std::string_view name, Value v) {
    set(fieldIndex(name), std::move(v));
}

void Recordset::addNew() {
    Row row;
    row.values.resize(names_.size());
    row.changed.assign(names_.size(), false);
    row.state = State::Added;
    rows_.push_back(std::move(row));
    ++liveRows_;
    pos_ = static_cast<long>(rows_.size()) - 1;
}

void Recordset::remove() {
    auto& row = current();
    row.state = row.state == State::Added ? State::Gone : State::Deleted;
    --liveRows_;
}

bool Recordset::hasPendingChanges() const {
    for (const auto& r : rows_)
        if (r.state == State::Changed || r.state == State::Added || r.state == State::Deleted)
            return true;
    return false;
}

void Recordset::update() {
    if (!hasPendingChanges()) return;
    const auto tq = quoteIdentifier(table_);
    store_->transaction([&] {
        for (auto& row : rows_) {
            if (row.state == State::Deleted) {
                store_->exec("DELETE FROM " + tq + " WHERE rowid = ?", {row.rowid});
            } else if (row.state == State::Added) {
                std::string cols, marks;
                std::vector<Value> params;
                for (std::size_t i = 0; i < names_.size(); ++i) {
                    if (!row.changed[i]) continue;
                    cols += (cols.empty() ? "" : ", ") + quoteIdentifier(names_[i]);
                    marks += marks.empty() ? "?" : ", ?";
                    params.push_back(row.values[i]);
                }
                if (params.empty()) {
                    store_->exec("INSERT INTO " + tq + " DEFAULT VALUES");
                } else {
                    store_->exec("INSERT INTO " + tq + " (" + cols + ") VALUES (" + marks + ")",
                                 params);
                }
                row.rowid = store_->select("SELECT last_insert_rowid()")[0][0].toInt();
            } else if (row.state == State::Changed) {
                std::string sets;
                std::vector<Value> params;
                for (std::size_t i = 0; i < names_.size(); ++i) {
                    if (!row.changed[i]) continue;
                    sets += (sets.empty() ? "" : ", ") + quoteIdentifier(names_[i]) + " = ?";
                    params.push_back(row.values[i]);
                }
                params.push_back(row.rowid);
                store_->exec("UPDATE " + tq + " SET " + sets + " WHERE rowid = ?", params);
            }
        }
    });
    // Only once everything is written do the rows count as saved.
    for (auto& row : rows_) {
        if (row.state == State::Deleted) row.state = State::Gone;
        if (row.state == State::Added || row.state == State::Changed) row.state = State::Clean;
        row.changed.assign(names_.size(), false);
    }
}

}  // namespace daike
