#include "editor/help_view.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QMouseEvent>

#include "platform/string_table.h"

CHelpView::CHelpView(const QString& collectionPath, QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpPane"));
    constexpr int kTextHelpPane = 399;
    setAccessibleName(CStringTable::Instance().Text(kTextHelpPane).remove(u'&'));
    setOpenLinks(true);
    if (!collectionPath.isEmpty() && QFileInfo(collectionPath).isFile()) {
        m_engine = std::make_unique<QHelpEngineCore>(QFileInfo(collectionPath).absoluteFilePath());
        // The installation is never written to, whoever runs the program.
        m_engine->setReadOnly(true);
        if (m_engine->setupData() && !m_engine->registeredDocumentations().isEmpty()) {
            m_namespace = m_engine->registeredDocumentations().constFirst();
        } else {
            m_engine.reset();
        }
    }
}

CHelpView::~CHelpView() = default;

void CHelpView::ShowTopic(const QString& topic) {
    if (topic == m_topic) {
        return;
    }
    m_topic = topic;
    if (m_engine == nullptr || topic.isEmpty()) {
        clear();
        return;
    }
    for (const QUrl& file : m_engine->files(m_namespace, QString(), QStringLiteral("html"))) {
        if (file.fileName() == topic) {
            setSource(file);
            return;
        }
    }
    clear();
}

QVariant CHelpView::loadResource(int type, const QUrl& name) {
    if (m_engine != nullptr && name.scheme() == QLatin1String("qthelp")) {
        return m_engine->fileData(name);
    }
    return QTextBrowser::loadResource(type, name);
}

void CHelpView::focusInEvent(QFocusEvent* event) {
    QTextBrowser::focusInEvent(event);
    if (m_onFocus) {
        m_onFocus();
    }
}

void CHelpView::contextMenuEvent(QContextMenuEvent* event) {
    // The pane is for reading: no menu of its own, whichever button or key asks for one.
    event->accept();
}

void CHelpView::mouseReleaseEvent(QMouseEvent* event) {
    // A right-button release is swallowed whole. The pane is never disabled while the mouse is
    // away from it: it does not take the focus by itself, and a disabled pane would drop out of
    // the keyboard's reach and grey its text for a screen reader.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTextBrowser::mouseReleaseEvent(event);
}
