#include "app/help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QSplitter>
#include <QTextBrowser>

#include "platform/string_table.h"

namespace {

// Topics come out of the help collection, not from the disk.
class CHelpBrowser : public QTextBrowser {
public:
    CHelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine) {}

    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp")) {
            return m_engine->fileData(name);
        }
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine* m_engine;
};

QPointer<CHelpWindow> g_window;

constexpr int kTextContentAndIndex = 369;

}  // namespace

CHelpWindow::CHelpWindow(QHelpEngine* engine) : m_engine(engine) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("%1 - %2").arg(
        kApplicationName,
        CStringTable::Instance().Text(kTextContentAndIndex).remove(u'&').section(u'\t', 0, 0)));
    m_engine->setParent(this);
    auto* splitter = new QSplitter(this);
    QHelpContentWidget* contents = m_engine->contentWidget();
    contents->setObjectName(QStringLiteral("helpContents"));
    contents->setAccessibleName(
        CStringTable::Instance().Text(kTextContentAndIndex).remove(u'&').section(u'\t', 0, 0));
    m_browser = new CHelpBrowser(m_engine, splitter);
    m_browser->setObjectName(QStringLiteral("helpTopic"));
    m_browser->setAccessibleName(windowTitle());
    splitter->addWidget(contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(contents, &QHelpContentWidget::linkActivated, m_browser,
            [this](const QUrl& link) { m_browser->setSource(link); });
    // The topics show at once, not folded under the book's title.
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(0); });
    contents->expandToDepth(0);
    resize(900, 640);
}

bool CHelpWindow::Open(const QString& collectionPath, QWidget* owner) {
    Q_UNUSED(owner);
    if (g_window) {
        g_window->show();
        g_window->raise();
        g_window->activateWindow();
        return true;
    }
    auto* engine = new QHelpEngine(QFileInfo(collectionPath).absoluteFilePath());
    engine->setReadOnly(true);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
        delete engine;
        return false;
    }
    const QString space = engine->registeredDocumentations().constFirst();
    auto* window = new CHelpWindow(engine);
    window->m_namespace = space;
    g_window = window;
    // The contents page is the documentation's first file.
    const QList<QUrl> files = engine->files(space, QString(), QStringLiteral("html"));
    QUrl start;
    for (const QUrl& file : files) {
        if (file.path().endsWith(QLatin1String("/index.html"))) {
            start = file;
        }
    }
    if (start.isEmpty() && !files.isEmpty()) {
        start = files.constFirst();
    }
    if (start.isEmpty()) {
        window->deleteLater();
        return false;
    }
    window->m_browser->setSource(start);
    window->show();
    return true;
}

void CHelpWindow::ShowTopic(const QString& topic) {
    for (const QUrl& file : m_engine->files(m_namespace, QString(), QStringLiteral("html"))) {
        if (file.fileName() == topic) {
            m_browser->setSource(file);
            return;
        }
    }
}

QString CHelpWindow::CurrentTopic() const {
    return m_browser->source().fileName();
}

CHelpWindow* CHelpWindow::Current() {
    return g_window;
}

void CHelpWindow::CloseAll() {
    if (g_window) {
        g_window->close();
    }
}
