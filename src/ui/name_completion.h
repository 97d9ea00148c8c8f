// The completer of a teacher-name box: while the operator types, a list of the stored names
// that fit (by start, piece or pinyin, names::completions) drops down under the box; choosing
// one puts the stored name into the box.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QCompleter;
class QLineEdit;

namespace daike {

struct RunContext;

// Gives the box a completer whose list is refilled from `names` on each edit. A name typed in
// full drops nothing down (Return then goes to the box as before). An entry highlighted or
// chosen is put into the box as if typed: textEdited carries it, so a window that follows the
// box's edits keeps the name it holds in step with what the box shows.
QCompleter* attachNameCompletion(QLineEdit* box, std::function<std::vector<std::string>()> names);

// The same over the teachers of 教师姓名 in Chinese order, read at each edit.
QCompleter* attachTeacherCompletion(RunContext& ctx, QLineEdit* box);

// The entries the box's completer offers now (empty without a completer).
std::vector<std::string> offeredNames(const QLineEdit* box);

}  // namespace daike
