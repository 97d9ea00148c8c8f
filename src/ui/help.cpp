#include "ui/help.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/keyboard.h"
#include "ui/widgets.h"

// The pages live in the static library: they are registered before the first look.
static void loadHelpPages() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(help_pages);
        return true;
    }();
    (void)loaded;
}

namespace daike {

namespace {

const QString kFolder = QStringLiteral(":/help/");

std::function<void(QWidget&)>& placement() {
    static std::function<void(QWidget&)> place;
    return place;
}

QUrl pageUrl(const QString& name) {
    return QUrl(QStringLiteral("qrc:/help/") + name + QStringLiteral(".html"));
}

// The window that holds the program modal, if the asking window is it or lies inside it.
QWidget* modalOwner(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (w->isWindow() && w->windowModality() != Qt::NonModal) return w;
    return nullptr;
}

QWidget* rootWindow(QWidget* w) {
    QWidget* top = w->window();
    while (top->parentWidget()) top = top->parentWidget()->window();
    return top;
}

class HelpKey : public QObject {
  public:
    HelpKey(QWidget* window, std::function<QString()> page)
        : QObject(window), window_(window), page_(std::move(page)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        openHelp(window_, page_ ? page_() : window_->objectName());
        return true;
    }

  private:
    QWidget* window_;
    std::function<QString()> page_;
};

}  // namespace

QStringList helpPages() {
    loadHelpPages();
    QStringList names;
    for (const QString& file : QDir(kFolder).entryList({QStringLiteral("*.html")}, QDir::Files))
        names << file.chopped(5);
    names.sort();
    return names;
}

bool hasHelpPage(const QString& name) {
    loadHelpPages();
    return !name.isEmpty() && QFile::exists(kFolder + name + QStringLiteral(".html"));
}

HelpWindow::HelpWindow(QWidget* owner) {
    makeToolWindow(this, owner, QStringLiteral("FormHelp"), QStringLiteral("帮助"));
    resize(620, 460);

    text_ = new QTextBrowser(this);
    text_->setObjectName("Text1");
    text_->setAccessibleName(QStringLiteral("帮助内容"));
    // Only the compiled-in pages: a link elsewhere is not followed.
    text_->setOpenExternalLinks(false);
    text_->setOpenLinks(false);
    connect(text_, &QTextBrowser::anchorClicked, this, &HelpWindow::followed);

    auto* contents = makeButton(this, "Command1", QStringLiteral("目录"));
    back_ = makeButton(this, "Command2", QStringLiteral("返回"));
    auto* close = makeButton(this, "Command3", QStringLiteral("关闭"));
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index")); });
    connect(back_, &QPushButton::clicked, this, [this] {
        text_->backward();
        page_ = QFileInfo(text_->source().path()).completeBaseName();
        back_->setEnabled(text_->isBackwardAvailable());
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    back_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    setMainButton(this, close);
}

void HelpWindow::showPage(const QString& name) {
    page_ = hasHelpPage(name) ? name : QStringLiteral("index");
    text_->setSource(pageUrl(page_));
    back_->setEnabled(text_->isBackwardAvailable());
}

void HelpWindow::followed(const QUrl& url) {
    // Pages link one another by file name ("Form1.html"); anything else stays where it is.
    if (!url.scheme().isEmpty() && url.scheme() != QStringLiteral("qrc")) return;
    showPage(QFileInfo(url.path()).completeBaseName());
}

HelpWindow* openHelp(QWidget* asking, const QString& page) {
    QWidget* owner = modalOwner(asking);
    if (!owner) owner = rootWindow(asking);
    HelpWindow* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible() && !help) help = h;
    if (help && help->parentWidget() != owner) {
        // One help window: it moves to the window that holds the program now.
        const QRect at = help->geometry();
        help->setParent(owner, Qt::Window);
        help->setGeometry(at);
    }
    if (!help) {
        help = new HelpWindow(owner);
        if (placement()) placement()(*help);
    }
    help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void installHelpKey(QWidget* window, std::function<QString()> page) {
    window->installEventFilter(new HelpKey(window, std::move(page)));
}

void setHelpPlacement(std::function<void(QWidget&)> place) {
    placement() = std::move(place);
}

}  // namespace daike
