#pragma once

#include <memory>

#include <QMdiSubWindow>

class CVeskCPSDoc;
class QLabel;

// The window of one open profile inside the main window. It owns its document: closing the
// window closes the profile, after the save-modified question.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit CChildFrame(std::unique_ptr<CVeskCPSDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVeskCPSDoc& Document() const { return *m_document; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateTitle();
    void ShowProfile();

    std::unique_ptr<CVeskCPSDoc> m_document;
    QLabel* m_summary = nullptr;
};
