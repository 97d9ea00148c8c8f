// The seventeen tables of the database, the pay per covered lesson, the periods' clock times,
// the cover the substitutes were told of and the rules on cover, with their columns in stored
// order. Several tables are
// read and written by column position, so the order here is part of the file format.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/changes.h"

namespace daike::schema {

struct Column {
    std::string name;
    std::string type;      // declared SQLite type: TEXT, INTEGER, NUMERIC
    bool chinese = false;  // sorted in Chinese (pinyin) order instead of by code point
};

struct Table {
    std::string name;
    std::vector<Column> columns;
};

// Version of the layout below, kept in PRAGMA user_version so later releases can migrate a
// school's file.
// 2: 代课酬金 (the pay per covered lesson) added; older files gain the table when opened.
// 3: 作息时间 (the periods' clock times) and 已通知代课 (the cover the substitutes were told
//    of) added, the same way.
// 4: 代课规则 (the limits on one teacher's cover, two in a row, balancing) added, the same way.
// 5: 程序版本 (the version of the program that last opened the file, so that a backup says
//    which version made it) added, the same way.
// 6: 代课存档 (the cover records of past terms, kept when a term's records are cleared) and
//    代课费标准 (the pay per covered lesson by kind of period) and 修改记录 (the log of the
//    corrections made after the fact: 补登, 改事由) added, the same way.
// 7: 调课记录 (the lessons two teachers of a class exchanged), 调课设置 (how far ahead a
//    return is sought, and whether the day's proposal tries a swap first) and 已通知调课 (the
//    day's swaps as their teachers were told of them) added, the same way.
inline constexpr int kVersion = 7;

const std::vector<Table>& tables();
const Table* find(std::string_view name);

// What a write to the table changes, for the announcements (store/changes.h); nothing for the
// tables that only the ranking works in.
std::optional<Change> changeOf(std::string_view table);

// Column names of the tables laid out by the week: 每日节数表 has one per weekday ("3"),
// 空课教师表 one per slot ("35": weekday 3, period 5), 代课教师 one per period ("5") and a
// free-period leave flag beside it ("55").
std::string weekdayColumn(int weekday);
std::string slotColumn(int weekday, int period);
std::string periodColumn(int period);
std::string leaveFlagColumn(int period);
// 作息时间 has a start and an end column per period: "3开始", "3结束".
std::string periodStartColumn(int period);
std::string periodEndColumn(int period);

// The statements that create every table and index of a new database.
std::vector<std::string> createStatements();

// Table names, as the rest of the program spells them.
inline constexpr const char* 教师姓名 = "教师姓名";
inline constexpr const char* 班级 = "班级";
inline constexpr const char* 开设课程 = "开设课程";
inline constexpr const char* 任课情况 = "任课情况";
inline constexpr const char* 开学第一天 = "开学第一天";
inline constexpr const char* 公出表 = "公出表";
inline constexpr const char* 注册码 = "注册码";
inline constexpr const char* 代课节数 = "代课节数";
inline constexpr const char* 每日节数表 = "每日节数表";
inline constexpr const char* 空课教师表 = "空课教师表";
inline constexpr const char* 当天代课记录 = "当天代课记录";
inline constexpr const char* 代课教师 = "代课教师";
inline constexpr const char* 需代课目情况 = "需代课目情况";
inline constexpr const char* 代课记录 = "代课记录";
inline constexpr const char* 临时代课记录 = "临时代课记录";
inline constexpr const char* 临时运算表 = "临时运算表";
inline constexpr const char* 可代教师 = "可代教师";
inline constexpr const char* 代课酬金 = "代课酬金";
inline constexpr const char* 作息时间 = "作息时间";
inline constexpr const char* 已通知代课 = "已通知代课";
inline constexpr const char* 代课规则 = "代课规则";
inline constexpr const char* 程序版本 = "程序版本";
inline constexpr const char* 代课存档 = "代课存档";
inline constexpr const char* 代课费标准 = "代课费标准";
inline constexpr const char* 修改记录 = "修改记录";
inline constexpr const char* 调课记录 = "调课记录";
inline constexpr const char* 调课设置 = "调课设置";
inline constexpr const char* 已通知调课 = "已通知调课";

// The administrator password a new database starts with.
inline constexpr const char* kInitialPassword = "580417";

}  // namespace daike::schema
