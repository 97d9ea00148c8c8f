#include "store/schema.h"

#include "store/sql_text.h"
#include "store/week.h"

namespace daike::schema {

namespace {

Column text(std::string n) {
    return {std::move(n), "TEXT", false};
}
Column zh(std::string n) {
    return {std::move(n), "TEXT", true};
}
Column integer(std::string n) {
    return {std::move(n), "INTEGER", false};
}
Column number(std::string n) {
    return {std::move(n), "NUMERIC", false};
}

std::vector<Column> coverRecord() {
    return {zh("被代"),     text("性质"), zh("代者"),   text("周次"),
            number("星期"), text("班级"), text("课目"), integer("节次")};
}

std::vector<Table> build() {
    std::vector<Table> t;
    t.push_back(
        {教师姓名,
         {zh("姓名"), text("班主任"), text("语文"), text("数学"), text("英语"), text("科学")}});
    t.push_back({班级, {text("班级")}});
    t.push_back({开设课程,
                 {text("课程"), text("一年级"), text("二年级"), text("三年级"), text("四年级"),
                  text("五年级"), text("六年级")}});
    t.push_back({任课情况,
                 {text("姓名"), integer("星期"), text("班级"), integer("节次"), text("课目"),
                  number("标记"), number("已代标记")}});
    t.push_back({开学第一天, {text("日期")}});
    t.push_back({公出表, {zh("姓名")}});
    t.push_back({注册码, {text("单位"), text("注册号"), text("密码")}});
    t.push_back({代课节数, {zh("姓名"), number("当日代课"), number("学期代课")}});
    {
        Table d{每日节数表, {zh("姓名")}};
        for (int w = 1; w <= week::kDays; ++w) d.columns.push_back(number(weekdayColumn(w)));
        d.columns.push_back(number("总和"));
        t.push_back(d);
    }
    {
        Table f{空课教师表, {}};
        for (int w = 1; w <= week::kDays; ++w)
            for (int p = 1; p <= week::kPeriods; ++p) f.columns.push_back(text(slotColumn(w, p)));
        t.push_back(f);
    }
    t.push_back({当天代课记录, coverRecord()});
    {
        Table a{代课教师, {}};
        for (int p = 1; p <= week::kPeriods; ++p) a.columns.push_back(text(periodColumn(p)));
        for (int p = 1; p <= week::kPeriods; ++p) a.columns.push_back(text(leaveFlagColumn(p)));
        t.push_back(a);
    }
    t.push_back({需代课目情况,
                 {text("姓名"), integer("星期"), text("班级"), integer("节次"), text("课目")}});
    t.push_back({代课记录, coverRecord()});
    t.push_back({临时代课记录, coverRecord()});
    t.push_back({临时运算表,
                 {zh("姓名"), zh("任课情况"), number("本日节数"), number("本日代课"),
                  zh("连课情况"), number("总节数"), number("班幅标记")}});
    t.push_back({可代教师, {zh("姓名")}});
    // Added in layout 2: the pay per covered lesson in 元, one row, or none when not paid.
    t.push_back({代课酬金, {number("每节金额")}});
    // Added in layout 3: the clock times of the periods, one row ("8:00", "8:40"; blank when
    // not set), and the cover the substitutes were told of (a copied text, printed slips),
    // laid out as the cover records.
    {
        Table times{作息时间, {}};
        for (int p = 1; p <= week::kPeriods; ++p) {
            times.columns.push_back(text(periodStartColumn(p)));
            times.columns.push_back(text(periodEndColumn(p)));
        }
        t.push_back(times);
    }
    t.push_back({已通知代课, coverRecord()});
    // Added in layout 4: the rules on cover, one row at most (none: no limits, two in a row
    // allowed, no balancing). A limit left Null is 不限; the two flags are 1 or 0.
    t.push_back(
        {代课规则,
         {number("每日上限"), number("每周上限"), integer("允许连堂"), integer("均衡安排")}});
    // Added in layout 5: the version of the program that last opened the file ("1.0.0"), one
    // row. Every backup copies it, so a restore can say which version made the backup.
    t.push_back({程序版本, {text("版本")}});
    // Added in layout 6: the cover records of past terms. 代课明细清零 and 所有数据清空 copy the
    // term's 代课记录 here first: the term's name ("2024年春季学期") and its first day as stored,
    // the record's eight columns, and its calendar date (YYYY-MM-DD; Null when the first day
    // of term was not set).
    {
        Table archive{代课存档, {text("学期"), text("学期首日")}};
        for (auto& c : coverRecord()) archive.columns.push_back(c);
        archive.columns.push_back(text("日期"));
        t.push_back(archive);
    }
    // Also layout 6: the pay per covered lesson of each kind of period a school pays apart
    // (正课, 早读, 午管, 课后服务), one row per kind set; a kind without a row is paid 代课酬金.
    t.push_back({代课费标准, {text("类别"), number("每节金额")}});
    // Also layout 6: what was corrected after the fact, one row per correction: when
    // ("2026-12-09 08:15"), what ("补登", "改事由"), the record before and after as the office
    // reads it.
    t.push_back({修改记录, {text("时间"), text("操作"), text("之前"), text("之后")}});
    // Added in layout 7: the lessons exchanged between two teachers of one class (调课), one row
    // per swap: the term it belongs to (its first day as stored), the slot given up and the
    // return slot (Null while the return is to be fixed), the class, the first teacher and his
    // subject, the colleague and his, the reason (empty for a swap agreed between them),
    // whether the lesson was paid back (1/0) and when it was recorded.
    t.push_back(
        {调课记录,
         {text("学期首日"), integer("周次1"), integer("星期1"), integer("节次1"), integer("周次2"),
          integer("星期2"), integer("节次2"), text("班级"), zh("教师1"), text("课目1"), zh("教师2"),
          text("课目2"), text("事由"), integer("已还"), text("记录时间")}});
    // Also layout 7: how many school days ahead a return slot is sought, and 短假优先调课 (1/0),
    // one row at most (none: 5 days, off).
    t.push_back({调课设置, {integer("天数"), integer("短假优先调课")}});
    // Also layout 7: the swaps of a day as its teachers were told of them (the group's text
    // copied, the slips printed): the day, both teachers' names, the class and the swap in words.
    t.push_back(
        {已通知调课, {integer("周次"), integer("星期"), text("教师"), text("班级"), text("文字")}});
    return t;
}

}  // namespace

std::string weekdayColumn(int weekday) {
    return std::to_string(weekday);
}
std::string slotColumn(int weekday, int period) {
    return std::to_string(weekday) + std::to_string(period);
}
std::string periodColumn(int period) {
    return std::to_string(period);
}
std::string leaveFlagColumn(int period) {
    return std::to_string(period) + std::to_string(period);
}
std::string periodStartColumn(int period) {
    return std::to_string(period) + "开始";
}
std::string periodEndColumn(int period) {
    return std::to_string(period) + "结束";
}

const std::vector<Table>& tables() {
    static const std::vector<Table> all = build();
    return all;
}

const Table* find(std::string_view name) {
    for (const auto& t : tables())
        if (t.name == name) return &t;
    return nullptr;
}

std::vector<std::string> createStatements() {
    std::vector<std::string> out;
    for (const auto& t : tables()) {
        std::string sql = "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(t.name) + " (";
        for (std::size_t i = 0; i < t.columns.size(); ++i) {
            const auto& c = t.columns[i];
            if (i) sql += ", ";
            sql += quoteIdentifier(c.name) + " " + c.type;
            if (c.chinese) sql += " COLLATE ZH";
        }
        sql += ")";
        out.push_back(sql);
    }
    // The timetable is searched by teacher and weekday, and by weekday and period.
    out.push_back(
        "CREATE INDEX IF NOT EXISTS \"任课情况_教师\" ON \"任课情况\" (\"姓名\", \"星期\", "
        "\"节次\")");
    out.push_back(
        "CREATE INDEX IF NOT EXISTS \"任课情况_时段\" ON \"任课情况\" (\"星期\", \"节次\")");
    return out;
}

std::optional<Change> changeOf(std::string_view table) {
    static const std::pair<std::string_view, Change> families[] = {
        {临时代课记录, Change::Cover},  {代课记录, Change::Cover},
        {当天代课记录, Change::Cover},  {代课节数, Change::Cover},
        {代课教师, Change::Absences},   {需代课目情况, Change::Absences},
        {任课情况, Change::Absences},  // the marks; a new timetable is announced as both
        {教师姓名, Change::BaseData},   {开设课程, Change::BaseData},
        {班级, Change::BaseData},       {开学第一天, Change::BaseData},
        {公出表, Change::BaseData},     {空课教师表, Change::BaseData},
        {每日节数表, Change::BaseData}, {代课酬金, Change::BaseData},
        {作息时间, Change::BaseData},   {已通知代课, Change::Cover},
        {代课规则, Change::BaseData},   {代课存档, Change::Cover},
        {代课费标准, Change::BaseData}, {修改记录, Change::Cover},
        {调课记录, Change::Cover},      {调课设置, Change::BaseData},
        {已通知调课, Change::Cover},
    };
    for (const auto& [name, change] : families)
        if (name == table) return change;
    return std::nullopt;
}

}  // namespace daike::schema
