#pragma once

#include <functional>
#include <memory>

#include <QTextBrowser>

class QHelpEngineCore;

// The help pane of a profile window: the help topic of the control that has the focus, read from
// the installed help collection.
class CHelpView : public QTextBrowser {
    Q_OBJECT

public:
    // `collectionPath` may be empty or name no collection: the pane then stays blank.
    explicit CHelpView(const QString& collectionPath, QWidget* parent = nullptr);
    ~CHelpView() override;

    // Shows a topic by its file name ("channel.html"); an empty name or an unknown one blanks
    // the pane. Nothing happens when that is already shown.
    void ShowTopic(const QString& topic);
    const QString& Topic() const { return m_topic; }

    // Called when the pane takes the focus (the tree's Add, Delete and Rename no longer apply).
    void SetFocusHandler(std::function<void()> handler) { m_onFocus = std::move(handler); }

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<QHelpEngineCore> m_engine;
    QString m_namespace;
    QString m_topic;
    std::function<void()> m_onFocus;
};
