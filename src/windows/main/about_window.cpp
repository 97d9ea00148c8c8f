#include "windows/main/about_window.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include "store/program_version.h"
#include "store/schema.h"
#include "store/store.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

QString AboutWindow::facts(RunContext& ctx) {
    return QStringLiteral("版本：%1\n数据目录：%2\n数据库：%3（数据格式第 %4 版）")
        .arg(qs(programVersion()), qpath(ctx.store.directory()), qpath(ctx.store.file().filename()),
             QString::number(schema::kVersion));
}

QString AboutWindow::licences() {
    QString html =
        QStringLiteral("<p>代课程序由以下自由软件组成部分构建，感谢它们的作者：</p><ul>");
    auto line = [&html](const QString& name, const QString& version, const QString& use,
                        const QString& licence) {
        html += QStringLiteral("<li><b>%1</b> %2：%3（%4）</li>")
                    .arg(name.toHtmlEscaped(), version.toHtmlEscaped(), use.toHtmlEscaped(),
                         licence.toHtmlEscaped());
    };
    line(QStringLiteral("Qt"), QString::fromLatin1(qVersion()), QStringLiteral("窗口、打印和预览"),
         QStringLiteral("GNU LGPL 3"));
    for (const auto& l : logicLibraries())
        line(qs(l.name), qs(l.version), qs(l.use), qs(l.licence));
    line(QStringLiteral("Noto Sans CJK"), QString(), QStringLiteral("界面和通知中的汉字字体"),
         QStringLiteral("SIL 开放字体许可 1.1"));
    html += QStringLiteral(
        "</ul><p>各组成部分的许可全文随系统中相应的软件包提供"
        "（Debian 中在 /usr/share/doc/软件包名/copyright）。</p>");
    return html;
}

AboutWindow::AboutWindow(RunContext& ctx, QWidget* owner) {
    makeToolWindow(this, owner, "FormAbout", QStringLiteral("关于代课"));
    setFixedSize(520, 420);
    auto* title = makeLabel(this, "Label1", QStringLiteral("代课 %1").arg(qs(programVersion())),
                            {20, 14, 480, 30});
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    auto* facts = makeLabel(this, "Label2", AboutWindow::facts(ctx), {20, 48, 480, 66});
    facts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    facts->setWordWrap(true);
    facts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* text = new QTextBrowser(this);
    text->setObjectName("Text1");
    text->setGeometry(20, 120, 480, 240);
    text->setOpenLinks(false);
    text->setHtml(licences());
    text->setAccessibleName(QStringLiteral("所用软件及其许可"));
    auto* close = makeButton(this, "Command1", QStringLiteral("关闭"), {210, 372, 100, 32});
    setMainButton(this, close);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    placeWindow(*this, ctx.platform.screen, {140, 80});
}

}  // namespace daike
