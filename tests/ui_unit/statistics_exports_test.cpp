// The export buttons of 代课统计 come from the table of exports: each row is a button with its
// caption, in the table's order before 关闭, and a click writes a whole file of the row's kind
// where the file dialog says, the extension added to a name typed without it.
#include "windows/statistics/statistics_exports.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>

#include "../unit/test_support.h"
#include "platform/scripted_platform.h"
#include "ui/run_context.h"
#include "ui_test_support.h"
#include "windows/statistics/statistics_window.h"

namespace daike {
namespace {

using testing::TempStore;

// The first bytes every file of the kind starts with.
QByteArray signatureOf(const QString& extension) {
    if (extension == "xlsx") return "PK";           // a zip package
    if (extension == "pdf") return "%PDF";          // a PDF header
    if (extension == "csv") return "\xEF\xBB\xBF";  // UTF-8 with its byte-order mark
    return {};
}

TEST(StatisticsExports, EveryRowIsAButtonThatWritesAFileOfItsKind) {
    TempStore db;
    db->execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('王五');"
        "INSERT INTO 代课节数 VALUES ('张三',0,1),('王五',0,0);"
        "INSERT INTO 代课记录 VALUES ('王五','病假','张三','1',1,'一(1)','语文',1);");
    ScriptedPlatform desk;
    RunContext ctx{*db, desk.platform(), {}, db.dir()};
    auto* window = new StatisticsWindow(ctx, nullptr);

    // The bottom row: one button per export in the table's order, then 公平性…, 发放表… and
    // 关闭.
    QStringList expected;
    for (const auto& e : statisticsExports()) expected << e.objectName;
    expected << "Command9"
             << "Command10"
             << "Command5";
    QStringList shown;
    for (auto* b : window->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        shown << b->objectName();
    EXPECT_EQ(shown, expected);

    std::size_t dialogs = 0;
    for (const auto& e : statisticsExports()) {
        SCOPED_TRACE(e.objectName);
        auto* b = window->findChild<QPushButton*>(e.objectName);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(e.label));
        EXPECT_TRUE(b->isEnabled());

        const QString typed = QString::fromStdU16String((db.dir() / e.objectName).u16string());
        const QString file = typed + "." + e.extension;
        desk.files.queue(typed);
        b->click();
        ASSERT_EQ(desk.files.shown().size(), ++dialogs);
        const auto& dialog = desk.files.shown().back();
        EXPECT_TRUE(dialog.save);
        EXPECT_EQ(dialog.caption, QString::fromUtf8(e.caption));
        EXPECT_TRUE(dialog.suggested.endsWith(QStringLiteral("代课统计-本学期.") + e.extension))
            << dialog.suggested.toStdString();

        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << file.toStdString();
        const QByteArray content = written.readAll();
        EXPECT_GT(content.size(), 0);
        EXPECT_TRUE(content.startsWith(signatureOf(e.extension)));
        ASSERT_FALSE(desk.boxes.shown().empty());
        EXPECT_EQ(desk.boxes.shown().back().text, QStringLiteral("已保存：%1").arg(file));
    }
    delete window;
}

}  // namespace
}  // namespace daike
