#include "shell/main_menu.h"

namespace daike::menu {

const std::vector<Entry>& entries() {
    static const std::vector<Entry> all = {
        {"sbcsh", "数据初始化(&F)", Kind::TopLevel, 0, ""},
        // The term's set-up steps in their order, with what is still to do.
        {"kxzb", "开学准备…", Kind::Item, 1, ""},
        {"sysjqk", "所有数据清空", Kind::Item, 1, ""},
        {"stwrtgwgsd", "-", Kind::Separator, 1, ""},
        {"jbsjlr", "基本数据录入", Kind::Submenu, 1, ""},
        {"xqdyt", "学期首日设定", Kind::Item, 2, ""},
        {"zxsj", "作息时间设定", Kind::Item, 2, ""},
        {"dkgz", "代课规则…", Kind::Item, 2, ""},
        {"bjsr", "班级数目输入", Kind::Item, 2, ""},
        {"jsxmsr", "教师姓名输入", Kind::Item, 2, ""},
        {"jslr", "主课班级输入", Kind::Item, 2, ""},
        {"kcsr", "课程输入", Kind::Item, 2, ""},
        {"sdsr", "手动输入课务情况", Kind::Item, 2, ""},
        {"kmsr", "课务自动导入", Kind::Item, 2, ""},
        // The whole school's timetable from one spreadsheet, and back out to one.
        {"zkbdr", "导入总课表…", Kind::Item, 2, ""},
        {"kbdc", "导出课表…", Kind::Item, 2, ""},
        {"jbmd", "基本免代教师", Kind::Item, 2, ""},
        {"kjdkfjfl", "-", Kind::Separator, 1, ""},
        {"qcjbcz", "期初基本操作", Kind::Submenu, 1, ""},
        {"kkjs", "空课教师初始化", Kind::Item, 2, ""},
        {"mrjs", "每日节数初始化", Kind::Item, 2, ""},
        {"dkjs", "代课节数初始化", Kind::Item, 2, ""},
        {"xqdk", "代课明细清零", Kind::Item, 2, ""},
        {"xdyt", "新的一天", Kind::Item, 1, ""},
        {"opoypyp", "-", Kind::Separator, 1, ""},
        {"mmlr", "密码设定", Kind::Item, 1, ""},
        {"joiujolfs", "-", Kind::Separator, 1, ""},
        {"sjbf", "数据备份", Kind::Item, 1, ""},
        {"sjhf", "数据恢复", Kind::Item, 1, ""},
        {"dkms", "代课模式(&S)", Kind::TopLevel, 0, ""},
        {"drdk", "单人代课", Kind::Item, 1, "Ctrl+A"},
        {"duorendaike", "多人代课", Kind::Item, 1, "Ctrl+B"},
        // Cover of an earlier day recorded afterwards, a reason corrected, and their log.
        {"dkbd", "补登与改事由…", Kind::Item, 1, ""},
        // 调课: a swap recorded (with or without an absence, or afterwards), and the lessons
        // owed by one-way swaps.
        {"tkdj", "调课登记…", Kind::Item, 1, ""},
        {"qkb", "欠课表…", Kind::Item, 1, ""},
        {"dkaf", "输出或打印(&Y)", Kind::TopLevel, 0, ""},
        {"dkck", "代课查看", Kind::Item, 1, "Ctrl+D"},
        {"scdk", "代课打印", Kind::Item, 1, "Ctrl+E"},
        // For an office without a printer at hand: look at the notices, or keep them as a PDF.
        {"dkyl", "打印预览", Kind::Item, 1, ""},
        {"dkpdf", "另存为PDF", Kind::Item, 1, ""},
        // Every notice of the working day, not only this visit's: after a late absence the
        // morning's can still be printed.
        {"jtqb", "今天全部代课通知", Kind::Submenu, 1, ""},
        {"jtqbdy", "打印", Kind::Item, 2, ""},
        {"jtqbyl", "打印预览", Kind::Item, 2, ""},
        {"jtqbpdf", "另存为PDF", Kind::Item, 2, ""},
        // A slip for each substitute with all his lessons of the day, several to an A4 page.
        {"mrdkd", "每人一张代课单", Kind::Submenu, 1, ""},
        {"mrdkddy", "打印", Kind::Item, 2, ""},
        {"mrdkdyl", "打印预览", Kind::Item, 2, ""},
        {"mrdkdpdf", "另存为PDF", Kind::Item, 2, ""},
        {"dkapb", "当日代课安排表", Kind::Submenu, 1, ""},
        {"dkapdy", "打印", Kind::Item, 2, ""},
        {"dkapyl", "打印预览", Kind::Item, 2, ""},
        {"dkappdf", "另存为PDF", Kind::Item, 2, ""},
        // For the teachers' chat group: the sheet as a picture sized for a phone.
        {"dkaptp", "保存为图片…", Kind::Item, 2, ""},
        // The timetables for the classroom doors and the teachers: one A4 page each.
        {"bjkb", "班级课表", Kind::Submenu, 1, ""},
        {"bjkbdy", "打印", Kind::Item, 2, ""},
        {"bjkbyl", "打印预览", Kind::Item, 2, ""},
        {"bjkbpdf", "另存为PDF", Kind::Item, 2, ""},
        {"jskb", "教师课表", Kind::Submenu, 1, ""},
        {"jskbdy", "打印", Kind::Item, 2, ""},
        {"jskbyl", "打印预览", Kind::Item, 2, ""},
        {"jskbpdf", "另存为PDF", Kind::Item, 2, ""},
        {"dktj", "代课统计", Kind::Item, 1, "Ctrl+T"},
        {"cz", "查找(&C)", Kind::TopLevel, 0, ""},
        {"abcz", "按班查找", Kind::Item, 1, "Ctrl+F"},
        {"jscz", "教师查找", Kind::Item, 1, "Ctrl+G"},
        {"dkxg", "修改(&G)", Kind::Item, 0, ""},
        // Beside the office's menus: the help pages (F1 in any window opens its own) and which
        // version this is.
        {"bz", "帮助(&H)", Kind::TopLevel, 0, ""},
        {"sysm", "使用说明", Kind::Item, 1, ""},
        {"gydk", "关于代课", Kind::Item, 1, ""},
    };
    return all;
}

}  // namespace daike::menu
