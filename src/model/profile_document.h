#pragma once

// One open profile, without any window: how it is made (from a template, from a radio's image,
// from a file), how it is turned into a profile file, and how it is saved. The desktop program's
// document wraps it and adds the dialogs; veskctl uses it as it is.

#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>

#include "model/edit_history.h"
#include "model/edit_journal.h"
#include "model/radio_data_model.h"

class CConfiguration;
class CSettingsDocuments;
class IUserPrompt;

// Every accepted change made through the model's data items is a step of the document's undo
// history; pages need do nothing but go through the data items (a page that makes one user action
// out of several calls wraps them in a CEditJournal::CGroup of Model().Journal()).
class CProfileDocument : private IEditObserver {
public:
    static constexpr int kMsgFrequencyOutOfRange = 511;

    // The places a save passes, in order; a fault at any of them leaves the file on disk as it
    // was.
    enum class ESaveStep {
        CommitEdits,     // the active page hands over its edits
        RangeCheck,      // every channel frequency within the band edges (511)
        CopyToTransmit,  // models without repeater feature transmit as they receive
        ResetSubRegion,
        TakeOff,  // the working document becomes the operation document (533)
        Recover,  // re-serialised through a fresh parse
        Verify,   // admitted as opening admits a file (schema, MURS), else 533
        Scramble,
        WriteTemporary,  // the new file is written beside the target
        Replace,         // and renamed over it
    };
    // Called before each step; a test throws from it to interrupt the save there.
    using SaveStepHook = std::function<void(ESaveStep)>;

    // `settings` may be null (no version conversion, no region data); it must outlive the
    // document.
    CProfileDocument(const CConfiguration& config, IUserPrompt& prompt,
                     const CSettingsDocuments* settings);
    ~CProfileDocument() override;
    CProfileDocument(const CProfileDocument&) = delete;
    CProfileDocument& operator=(const CProfileDocument&) = delete;

    // Loads a template as a new, unmodified profile without a path. False after the model's
    // message.
    bool NewFromTemplate(const QString& templatePath);
    // Loads profile text made from a radio's codeplug image: unnamed channels get names, and the
    // profile starts modified, since it exists nowhere on disk. False after the message.
    bool NewFromImageText(QByteArray profileText);
    // Reads a profile file (any form the reader takes) and loads it. False after a message: 135
    // when the file cannot be read, the model's message when it does not load. A profile whose
    // frequency count disagrees with its frequency table (written before the count was kept, or
    // edited by hand) opens with the count corrected, modified, after warning 538.
    bool Open(const QString& path);

    // The active page's "commit your edits"; false refuses the save. Without one, nothing refuses.
    void SetCommitEdits(std::function<bool()> commit) { m_commitEdits = std::move(commit); }

    // What every save checks before a file name is asked for: the active page hands over its
    // edits, and every channel frequency lies within the band edges (otherwise 511).
    bool PrepareSave();
    // Writes the profile file at `path`: the page commits once more, the profile is serialised
    // and the file replaced atomically, so any failure (a refused commit, 533, a write error)
    // leaves what was at `path` untouched and shows its message. On success, when `replace`,
    // the document takes the path and is no longer modified.
    bool SaveTo(const QString& path, bool replace = true);
    // PrepareSave, then SaveTo: a save whose path is already known.
    bool Save(const QString& path, bool replace = true);
    // The name a save dialog proposes: the path, or the title cut at its first ':', '/' or '\'
    // with ".vk4".
    QString ProposedFileName() const;

    // The bytes of the profile file for the current profile (serialisation steps 1-5). Raises 533
    // on XML failures, and with the reason when the text would not be admitted when opened (the
    // schema refuses it, or it holds a MURS frequency), so that no save writes a file this
    // program refuses. It changes the open profile as saving does (transmit settings of models
    // without repeater feature, sub-region).
    QByteArray Serialize();

    // A model without repeater feature transmits as it receives: made true of the open profile
    // before it is saved or sent to a radio.
    void TransmitAsReceiveWithoutRepeater();

    // `text` re-serialised through a fresh parse, as UTF-8 with a declaration saying so; 135
    // ("Desc: <reason>") when it does not parse. The text is already decoded, so an encoding its
    // declaration names no longer applies.
    static QByteArray RecoverXML(const QString& text);

    const QString& Path() const { return m_path; }
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    bool IsModified() const { return m_modified; }
    // False marks the current state as the one the file holds: undoing or redoing back to it
    // clears the flag again, and away from it sets it.
    void SetModified(bool modified);

    // Undo and redo of the user's steps. The active page commits its edits first (its refusal
    // stops the undo, as it stops a save); then the working document is restored, every data item
    // taken before is retired, and the result is where the step happened (the navigation tree and
    // the page go there). Nothing when there is no step, the page refused, or the state could not
    // be restored (its message shown).
    std::optional<SEditPlace> Undo();
    std::optional<SEditPlace> Redo();
    const CEditHistory& History() const { return m_history; }
    // Runs `change`, which edits the profile through its data items, as one step of the history
    // called `label`, kept only when it returns true. When it returns false or raises, the working
    // document is put back exactly as it was (its items retired when anything had changed), with
    // no step recorded and the history and modified flag as they were; a raised failure is raised
    // again. For a change of many entries that is all or nothing, such as an import.
    bool ApplyAsOneStep(const QString& label, const std::function<bool()>& change);
    // Called whenever the history or the modified flag changed (a step, an undo, a redo, a save,
    // a load), for the Edit menu and the window title.
    void SetHistoryChanged(std::function<void()> changed) { m_historyChanged = std::move(changed); }

    IUserPrompt& Prompt() const { return m_prompt; }
    // The installation and user settings the document was opened with.
    const CConfiguration& Configuration() const { return m_config; }
    CRadioDataModel& Model() { return *m_model; }
    const CRadioDataModel& Model() const { return *m_model; }

    void SetSaveStepHook(SaveStepHook hook) { m_saveStepHook = std::move(hook); }

private:
    void Edited(const SEditChange& change) override;
    void Replaced() override;
    // The history begins again at the profile as it is now.
    void ResetHistory();
    std::optional<SEditPlace> MoveInHistory(bool redo);
    void HistoryChanged();

    bool Load(const QByteArray& text, const QString& sourceName);
    void TellCorrectedFrequencyCount();
    void Step(ESaveStep step) const;
    // The serialisation with the hook called at each step.
    QByteArray SerializeSteps();
    // Raises 533 with the reason when `text` would not be admitted when opened.
    void Verify(const QString& text) const;

    const CConfiguration& m_config;
    IUserPrompt& m_prompt;
    const CSettingsDocuments* m_settings;
    std::unique_ptr<CRadioDataModel> m_model;
    std::function<bool()> m_commitEdits;
    SaveStepHook m_saveStepHook;
    QString m_path;
    QString m_title;
    bool m_modified = false;
    CEditHistory m_history;
    std::function<void()> m_historyChanged;
    // While an undo or redo puts a state back, the model's report of it is no new profile.
    bool m_restoring = false;
};

// Shows a model failure as the message of its number, with the failure's own text below it so
// that a dealer can see which file, line and value it was about.
void ShowModelException(IUserPrompt& prompt, const class CVeskCPSException& error);
