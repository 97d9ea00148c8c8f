#include "ui/name_completion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <memory>

#include "school/name_search.h"
#include "school/names.h"
#include "store/tables/teachers.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

QCompleter* attachNameCompletion(QLineEdit* box, std::function<std::vector<std::string>()> names) {
    auto* model = new QStringListModel(box);
    auto* completer = new QCompleter(model, box);
    completer->setObjectName("nameCompleter");
    // The list is ours: Qt's own filter knows no pinyin.
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setMaxVisibleItems(10);
    box->setCompleter(completer);

    // An entry put into the box is passed on as an edit, without filling the list again.
    auto passing = std::make_shared<bool>(false);
    QObject::connect(box, &QLineEdit::textEdited, completer,
                     [model, names, passing](const QString& text) {
                         if (*passing) return;
                         const auto stored = names();
                         QStringList entries;
                         if (!names::match(stored, ss(text)))
                             for (const auto& n : names::completions(stored, ss(text)))
                                 entries << qs(n);
                         model->setStringList(entries);
                     });
    auto pass = [box, passing](const QString& name) {
        if (name.isEmpty() || *passing) return;
        *passing = true;
        if (box->text() != name) box->setText(name);
        emit box->textEdited(name);
        *passing = false;
    };
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), box, pass);
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::highlighted), box, pass);
    return completer;
}

QCompleter* attachTeacherCompletion(RunContext& ctx, QLineEdit* box) {
    return attachNameCompletion(box, [&ctx] {
        std::vector<std::string> names;
        runAction(ctx, [&] { names = teachers::namesInChineseOrder(ctx.store); });
        return names;
    });
}

std::vector<std::string> offeredNames(const QLineEdit* box) {
    std::vector<std::string> out;
    const auto* completer = box->completer();
    if (!completer || !completer->model()) return out;
    const auto* model = completer->model();
    for (int r = 0; r < model->rowCount(); ++r)
        out.push_back(ss(model->index(r, 0).data().toString()));
    return out;
}

}  // namespace daike
