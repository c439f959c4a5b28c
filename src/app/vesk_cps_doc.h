#pragma once

// The desktop program's document for one open profile: the profile itself (model, file, save) is
// the core's CProfileDocument; this class adds what needs the user: the save dialog, the
// save-modified question, the title its window shows and the recent-file list.

#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "editor/page_navigator.h"
#include "model/profile_csv.h"

class CProfileDocument;
struct SEditPlace;
class CVeskCPSApp;
class CVirtualCP;
class QWidget;

class CVeskCPSDoc : public QObject {
    Q_OBJECT

public:
    static constexpr int kMsgSaveChanges = 610;
    static constexpr int kTextUntitled = 611;
    static constexpr int kTextFiles = 331;
    static constexpr int kTextAllFiles = 337;

    explicit CVeskCPSDoc(CVeskCPSApp& app);
    ~CVeskCPSDoc() override;

    // A new profile from an admitted template; no path, not modified.
    bool OnNewDocument(const QString& templatePath);
    // A new profile from a radio's image; modified, since it exists nowhere on disk.
    bool OnNewDocumentFromImage(CVirtualCP& image);
    bool OnOpenDocument(const QString& path);

    // Save: to the document's own file when it exists and may be written, else as Save As.
    bool DoFileSave();
    bool DoSaveAs();
    // The save operation; an empty `path` asks for one. False when anything refused or failed
    // (its message shown) or the user cancelled; the file on disk is then as it was.
    bool DoSave(const QString& path, bool replace = true);
    // Closing a changed document: Yes saves (and closes only when that worked), No closes,
    // Cancel keeps it open. True when the document may close.
    bool SaveModified();

    // The document's name as its window shows it: the file's name, or the name given at New.
    QString Title() const;
    const QString& PathName() const;
    bool IsModified() const;
    void SetModifiedFlag(bool modified);
    // Tells the windows that the profile has changed as a whole (a read replaced it).
    void ProfileReplaced();

    // Undo and redo of the profile's last change. After one, Replaced() tells every window to
    // fetch its data items again (those taken before are retired), and Restored() says where
    // the step happened so that the tree and the page can go there. False when nothing changed.
    bool Undo();
    bool Redo();

    // The frequency table or the channels from or to a spreadsheet file the user chooses. An
    // import is all or nothing and one undo step; its problems are listed, line by line. False
    // when nothing was imported or written (cancelled, refused or failed, the user told why).
    bool ImportTable(profile_csv::ETable table);
    bool ExportTable(profile_csv::ETable table);

    CProfileDocument& Profile() { return *m_profile; }
    const CProfileDocument& Profile() const { return *m_profile; }
    CVeskCPSApp& App() const { return m_app; }
    // The page switch of the window that shows this profile.
    CPageNavigator& Navigator() { return m_navigator; }

Q_SIGNALS:
    void TitleChanged();
    void Replaced();
    // The undo history changed: a step, an undo or redo, a save or a load.
    void HistoryChanged();
    // After an undo or redo, following Replaced(): the profile's top-level element the step
    // changed ("channels", "frequencies", "setting", ...) and the entry in it, -1 for none.
    void Restored(const QString& section, int index);
    // A message for the main window's status bar.
    void StatusMessage(const QString& text);

private:
    bool AfterHistoryStep(const std::optional<SEditPlace>& place);
    QWidget* DialogParent() const;
    QString AskSavePath() const;
    QString AskTablePath(profile_csv::ETable table, bool save) const;

    CVeskCPSApp& m_app;
    std::unique_ptr<CProfileDocument> m_profile;
    CPageNavigator m_navigator;
};
