#include "ui/window_texts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocumentFragment>
#include <QTreeView>
#include <algorithm>

namespace daike {

namespace {

bool isChinese(QChar c) {
    const auto u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF);
}

// The words of other languages the office's windows may show as they stand, and file names
// and paths.
QString withoutAllowed(QString text) {
    static const QRegularExpression allowed(
        QStringLiteral("\\b(PDF|Excel|Word|CSV|xlsx|docx|A4)\\b|"
                       "[^\\s（）“”]*[/\\\\][^\\s（）“”]*|"
                       "[^\\s（）“”]+\\.(docx|xlsx|xls|csv|pdf|png|db)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return text.remove(allowed);
}

}  // namespace

bool readsAsChinese(const QString& text) {
    QString plain = text;
    if (Qt::mightBeRichText(plain)) plain = QTextDocumentFragment::fromHtml(plain).toPlainText();
    plain.remove('&');
    if (std::any_of(plain.begin(), plain.end(), isChinese)) return true;
    const QString rest = withoutAllowed(plain);
    return !std::any_of(rest.begin(), rest.end(),
                        [](QChar c) { return c.isLetter() && c.unicode() < 0x250; });
}

QStringList textsWithoutChinese(QWidget& window) {
    QWidget* w = &window;
    QStringList found;
    auto check = [&](QObject* o, const QString& what, const QString& text) {
        if (text.isEmpty() || readsAsChinese(text)) return;
        const QString name = o->objectName().isEmpty()
                                 ? QString::fromUtf8(o->metaObject()->className())
                                 : o->objectName();
        found << QStringLiteral("%1 %2 \"%3\"").arg(name, what, text);
    };
    auto checkActions = [&](QWidget* owner) {
        for (QAction* a : owner->actions()) {
            if (a->isSeparator() || !a->isVisible()) continue;
            check(a, "action", a->text());
            if (a->toolTip() != QString(a->text()).remove('&')) check(a, "tooltip", a->toolTip());
        }
    };
    check(w, "title", w->windowTitle());
    checkActions(w);
    QList<QWidget*> all = w->findChildren<QWidget*>();
    for (QWidget* c : all) {
        // The window's menus are windows of their own, its other windows are not its texts.
        if (auto* menu = qobject_cast<QMenu*>(c)) {
            check(menu, "menu", menu->title());
            checkActions(menu);
            continue;
        }
        if (c->isWindow() || !c->isVisibleTo(w)) continue;
        check(c, "tooltip", c->toolTip());
        checkActions(c);
        if (auto* l = qobject_cast<QLabel*>(c)) check(c, "label", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(c)) check(c, "button", b->text());
        if (auto* g = qobject_cast<QGroupBox*>(c)) check(c, "group", g->title());
        if (auto* e = qobject_cast<QLineEdit*>(c)) check(c, "placeholder", e->placeholderText());
        if (auto* t = qobject_cast<QTabWidget*>(c))
            for (int i = 0; i < t->count(); ++i) check(c, "tab", t->tabText(i));
        if (auto* box = qobject_cast<QComboBox*>(c))
            for (int i = 0; i < box->count(); ++i) check(c, "item", box->itemText(i));
        auto* view = qobject_cast<QAbstractItemView*>(c);
        if (view && view->model() && !qobject_cast<QComboBox*>(c->parentWidget())) {
            auto* model = view->model();
            QHeaderView* across = nullptr;
            QHeaderView* down = nullptr;
            if (auto* t = qobject_cast<QTableView*>(view)) {
                across = t->horizontalHeader();
                down = t->verticalHeader();
            } else if (auto* t = qobject_cast<QTreeView*>(view)) {
                across = t->header();
            }
            if (across && !across->isHidden())
                for (int i = 0; i < model->columnCount(); ++i)
                    check(c, "header", model->headerData(i, Qt::Horizontal).toString());
            if (down && !down->isHidden())
                for (int i = 0; i < model->rowCount(); ++i)
                    check(c, "row header", model->headerData(i, Qt::Vertical).toString());
        }
    }
    found.removeDuplicates();
    return found;
}

}  // namespace daike
