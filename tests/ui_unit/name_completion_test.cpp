// The completer of a name box: its list follows each edit, a name typed in full drops nothing
// down, and an entry chosen reaches the window as an edit of the stored name.
#include "ui/name_completion.h"

#include <gtest/gtest.h>

#include <QCompleter>
#include <QLineEdit>

#include "test_application.h"

namespace daike {
namespace {

using Names = std::vector<std::string>;

TEST(NameCompletion, TheListFollowsEachEditAndAChoiceIsPassedOnAsAnEdit) {
    testing::app();
    QLineEdit box;
    int reads = 0;
    attachNameCompletion(&box, [&reads] {
        ++reads;
        return Names{"孙燕", "宋燕", "王一 "};
    });
    QStringList edits;
    QObject::connect(&box, &QLineEdit::textEdited, &box,
                     [&edits](const QString& t) { edits << t; });

    emit box.textEdited(QStringLiteral("sy"));
    EXPECT_EQ(offeredNames(&box), (Names{"孙燕", "宋燕"}));
    emit box.textEdited(QStringLiteral("王"));
    EXPECT_EQ(offeredNames(&box), (Names{"王一 "}));
    // A stored name typed in full (its blanks aside) needs no list.
    emit box.textEdited(QStringLiteral("王一"));
    EXPECT_TRUE(offeredNames(&box).empty());
    emit box.textEdited(QString());
    EXPECT_TRUE(offeredNames(&box).empty());
    EXPECT_EQ(reads, 4);

    emit box.textEdited(QStringLiteral("wy"));
    edits.clear();
    emit box.completer()->activated(QStringLiteral("王一 "));
    EXPECT_EQ(box.text(), QStringLiteral("王一 "));
    EXPECT_EQ(edits, QStringList{QStringLiteral("王一 ")});
    // Passing the choice on does not fill the list again.
    EXPECT_EQ(reads, 5);
    EXPECT_EQ(offeredNames(&box), (Names{"王一 "}));
}

TEST(NameCompletion, ABoxWithoutACompleterOffersNothing) {
    testing::app();
    QLineEdit box;
    EXPECT_TRUE(offeredNames(&box).empty());
}

}  // namespace
}  // namespace daike
