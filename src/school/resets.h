// The operations that put the working tables into a known state at the start of a day or a
// term. Each runs as one transaction: it changes everything or nothing. They ask nothing and
// show nothing; the menu wiring asks the questions and shows the messages.
#pragma once

#include <optional>
#include <string>

namespace daike {

class Store;

// New day (xdyt): empties the day's tables (代课教师, 临时代课记录, 需代课目情况, 当天代课记录),
// sets every 当日代课 back to 0 and clears both marks of every lesson. The term's tallies and
// records stay.
void newDay(Store& store);

// What a new day clears, in the words every question about it starts with:
// "将清除今天已安排的N节代课（学期记录保留）".
std::string newDayClears(int todaysCovers);

// The question to ask before 新的一天 is run by hand, naming how many of today's covers go:
// "将清除今天已安排的N节代课（学期记录保留），是否开始新的一天？". None when the day holds
// nothing to clear (no cover today or being entered, no booking, no lesson waiting or held
// back): then it may run without asking.
std::optional<std::string> newDayQuestion(Store& store);

// Free-teacher table (kkjs): rebuilds 空课教师表. Column "wp" lists from the top, in 教师姓名
// order, the teachers with no lesson at weekday w, period p; the table ends with one empty row.
// Rows of 教师姓名 without a name are left out: an empty cell would end the slot's list early.
void buildFreeTeachers(Store& store);

// Daily period counts (mrjs): rebuilds 每日节数表 with one row per 教师姓名 row, in that order:
// the teacher's lessons on each weekday in columns "1" to "5" and their sum in 总和.
void countDailyLessons(Store& store);

// Cover counts (dkjscx): rebuilds 代课节数 with one row per 教师姓名 row, both counts 0.
void resetCoverCounts(Store& store);

// Term cover records (dkmxqlcx): empties 代课记录, after copying its records into 代课存档
// with the term's name and their dates (school/term_archive.h), in the same transaction: the
// term's history is kept, and 代课记录 is empty as before.
void clearTermRecords(Store& store);

// What 所有数据清空 does with the past terms of 代课存档: keeps them, with this term's records
// added (the office's default), or empties them with everything else.
enum class PastTerms { Keep, Drop };

// Empty all data (数据清空): empties every table except 开学第一天, 公出表, 注册码 and the
// settings (the pay, the periods' times, the rules on cover); 代课存档 as `past` says.
void emptyAllData(Store& store, PastTerms past = PastTerms::Keep);

}  // namespace daike
