#include "app/main_frame.h"

#include <optional>
#include <type_traits>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include "app/about_dlg.h"
#include "app/ask_pwd_dlg.h"
#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/dealer_info_dialog.h"
#include "app/help_window.h"
#include "app/read_write_dialog.h"
#include "app/report_command.h"
#include "app/vesk_cps_app.h"
#include "app/vesk_cps_doc.h"
#include "model/profile_document.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "radio/document_image.h"
#include "radio/radio_backup.h"
#include "radio/radio_checks.h"

namespace {

struct SLanguageItem {
    const char* label;
    const char* name;
    int command;
};

// Menu order; the labels are the menu's own until the installed languages name them.
constexpr SLanguageItem kLanguageItems[] = {
    {"Canada French", "CaFrench", cmd::kLanguageCaFrench},
    {"Chinese", "Chinese", cmd::kLanguageChinese},
    {"Dutch", "Dutch", cmd::kLanguageDutch},
    {"English", "English", cmd::kLanguageEnglish},
    {"French", "French", cmd::kLanguageFrench},
    {"German", "German", cmd::kLanguageGerman},
    {"Italian", "Italian", cmd::kLanguageItalian},
    {"LA Portuguese", "LaPortuguese", cmd::kLanguageLaPortuguese},
    {"LA Spanlish", "LaSpanish", cmd::kLanguageLaSpanish},
    {"Polish", "Polish", cmd::kLanguagePolish},
    {"Portuguese", "Portuguese", cmd::kLanguagePortuguese},
    {"Russian", "Russian", cmd::kLanguageRussian},
    {"Spanish", "Spanish", cmd::kLanguageSpanish},
};

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

// The text field that has the focus, and whether it may be edited.
struct STextFocus {
    QLineEdit* line = nullptr;
    QTextEdit* text = nullptr;
    QPlainTextEdit* plain = nullptr;

    bool Any() const { return line || text || plain; }
    bool Editable() const {
        return (line && !line->isReadOnly()) || (text && !text->isReadOnly()) ||
               (plain && !plain->isReadOnly());
    }
    bool HasSelection() const {
        return (line && line->hasSelectedText()) || (text && text->textCursor().hasSelection()) ||
               (plain && plain->textCursor().hasSelection());
    }
    // Passwords never leave their field and never come from the clipboard.
    bool IsPassword() const {
        return line &&
               (line->echoMode() != QLineEdit::Normal || line->property("vesk_password").toBool());
    }
};

template <class TEdit>
void RunEditCommand(TEdit* edit, int commandId) {
    switch (commandId) {
        case cmd::kCut:
            edit->cut();
            break;
        case cmd::kCopy:
            edit->copy();
            break;
        case cmd::kPaste:
            edit->paste();
            break;
        case cmd::kDelete:
            if constexpr (std::is_same_v<TEdit, QLineEdit>) {
                edit->del();
            } else {
                edit->textCursor().removeSelectedText();
            }
            break;
        default:
            break;
    }
}

STextFocus FocusedTextField() {
    STextFocus focus;
    QWidget* widget = QApplication::focusWidget();
    if (widget == nullptr) {
        return focus;
    }
    focus.line = qobject_cast<QLineEdit*>(widget);
    focus.text = qobject_cast<QTextEdit*>(widget);
    focus.plain = qobject_cast<QPlainTextEdit*>(widget);
    if (!focus.Any()) {
        // Spin boxes and editable lists carry their text in a line edit of their own.
        const QList<QLineEdit*> inner =
            widget->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
        if (inner.size() == 1) {
            focus.line = inner.constFirst();
        }
    }
    return focus;
}

}  // namespace

CMainFrame::CMainFrame(CVeskCPSApp& app, QWidget* parent)
    : QMainWindow(parent),
      m_app(app),
      m_language(app.Config().GetCurrentLanguage()),
      m_contextHelp(app.Config().GetShowContextHelp() == 1),
      m_watch(std::make_unique<CCableWatch>()),
      m_operations(std::make_unique<CRadioOperations>(*m_watch)),
      m_relay(std::make_unique<CDialogRelay>(this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(kApplicationName);
    setWindowIcon(QIcon(QStringLiteral(":/icons/veskcps.svg")));
    setAcceptDrops(true);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setAccessibleName(kApplicationName);
    setCentralWidget(m_mdi);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    ConnectCommands();

    // A write first keeps what the radio holds, and reads back what it wrote.
    m_backup = std::make_shared<CRadioBackup>(app.Config(), app.Settings());
    m_operations->SetWriteSafety(SWriteSafety{m_backup, true});

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        if (m_closing) {
            return;
        }
        UpdateTitle();
        UpdateDocumentMenus();
        UpdateCommandStates();
    });
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::UpdateCommandStates);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CMainFrame::UpdateCommandStates);
    // Selections change without a signal the window could hear from every field; a light poll
    // keeps Cut, Copy and Delete honest, as an idle-time update would.
    auto* poll = new QTimer(this);
    poll->setInterval(250);
    connect(poll, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    poll->start();

    UpdateDocumentMenus();
    UpdateCommandStates();
    SetStatusText(kTextCableNotConnected);
    RestoreLayout();
    m_watch->Start(*this);
}

namespace {

QString LayoutKey() {
    return kApplicationName + QStringLiteral("/Settings");
}

}  // namespace

void CMainFrame::RestoreLayout() {
    // Where the user docked the toolbar, and whether toolbar and status bar are shown.
    const std::optional<QString> state =
        m_app.Config().UserHive().ReadText(LayoutKey(), QStringLiteral("WindowState"));
    if (state && restoreState(QByteArray::fromBase64(state->toLatin1()))) {
        Command(cmd::kToolbar)->setChecked(findChild<QToolBar*>()->isVisibleTo(this));
    }
    const std::optional<qint32> statusBarShown =
        m_app.Config().UserHive().ReadNumber(LayoutKey(), QStringLiteral("StatusBar"));
    if (statusBarShown) {
        Command(cmd::kStatusBar)->setChecked(*statusBarShown != 0);
    }
}

void CMainFrame::SaveLayout() const {
    m_app.Config().UserHive().WriteText(LayoutKey(), QStringLiteral("WindowState"),
                                        QString::fromLatin1(saveState().toBase64()));
    m_app.Config().UserHive().WriteNumber(LayoutKey(), QStringLiteral("StatusBar"),
                                          Command(cmd::kStatusBar)->isChecked() ? 1 : 0);
}

CMainFrame::~CMainFrame() {
    // The base class still moves the focus while it goes; this part must not hear of it.
    m_closing = true;
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    // The profile windows go while this is still a main window: their going is reported to it.
    qDeleteAll(m_mdi->subWindowList());
    disconnect(m_mdi, nullptr, this, nullptr);
    // The workers and the status thread post to this window: they end before it goes.
    m_watch->Shutdown();
    m_operations->Wait();
    m_app.Config().SetShowContextHelp(m_contextHelp);
}

QAction* CMainFrame::AddCommand(QMenu* menu, int commandId, int textId) {
    auto* action = new QAction(T(textId), this);
    action->setObjectName(QStringLiteral("cmd%1").arg(commandId));
    action->setData(commandId);
    action->setEnabled(false);
    if (menu != nullptr) {
        menu->addAction(action);
    }
    m_commands.insert(commandId, action);
    return action;
}

QMenu* CMainFrame::TopMenu(int position) const {
    int shown = 0;
    for (QAction* top : menuBar()->actions()) {
        if (!top->isVisible()) {
            continue;
        }
        if (shown++ == position) {
            return top->menu();
        }
    }
    return nullptr;
}

void CMainFrame::BuildMenus() {
    m_fileMenu = menuBar()->addMenu(T(menu_text::kFile));
    QMenu* file = m_fileMenu;
    AddCommand(file, cmd::kNew, menu_text::kNew)->setShortcut(QKeySequence::New);
    AddCommand(file, cmd::kOpen, menu_text::kOpen)->setShortcut(QKeySequence::Open);
    AddCommand(file, cmd::kClose, menu_text::kClose);
    file->addSeparator();
    AddCommand(file, cmd::kSave, menu_text::kSave)->setShortcut(QKeySequence::Save);
    AddCommand(file, cmd::kSaveAs, menu_text::kSaveAs);
    file->addSeparator();
    AddCommand(file, cmd::kImportFrequencies, menu_text::kImportFrequencies);
    AddCommand(file, cmd::kImportChannels, menu_text::kImportChannels);
    AddCommand(file, cmd::kExportFrequencies, menu_text::kExportFrequencies);
    AddCommand(file, cmd::kExportChannels, menu_text::kExportChannels);
    file->addSeparator();
    AddCommand(file, cmd::kRecentFirst, menu_text::kRecentFile);
    for (int i = 0; i < CRecentFileList::kSize; ++i) {
        auto* recent = new QAction(this);
        recent->setObjectName(QStringLiteral("cmd%1").arg(cmd::kRecentFirst + i));
        recent->setVisible(false);
        file->addAction(recent);
        connect(recent, &QAction::triggered, this, [this, i] { m_app.OnRecentFile(i); });
        m_recentActions.append(recent);
    }
    file->addSeparator();
    AddCommand(file, cmd::kExit, menu_text::kExit);
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFiles);

    QMenu* edit = menuBar()->addMenu(T(menu_text::kEdit));
    BuildUndoCommands(edit);
    AddCommand(edit, cmd::kAdd, menu_text::kAdd)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    AddCommand(edit, cmd::kCut, menu_text::kCut)->setShortcut(QKeySequence::Cut);
    AddCommand(edit, cmd::kCopy, menu_text::kCopy)->setShortcut(QKeySequence::Copy);
    AddCommand(edit, cmd::kPaste, menu_text::kPaste)->setShortcut(QKeySequence::Paste);
    AddCommand(edit, cmd::kDelete, menu_text::kDelete)->setShortcut(QKeySequence(Qt::Key_Delete));
    AddCommand(edit, cmd::kRename, menu_text::kRename)->setShortcut(QKeySequence(Qt::Key_F2));
    edit->addSeparator();
    AddCommand(edit, cmd::kDealerInfo, menu_text::kDealerInfo);
    m_languageMenu = edit->addMenu(T(menu_text::kLanguage));
    m_languageMenu->setObjectName(QStringLiteral("languageMenu"));
    m_languages = new QActionGroup(this);
    for (const SLanguageItem& item : kLanguageItems) {
        auto* action = m_languageMenu->addAction(QString::fromLatin1(item.label));
        const QString name = QString::fromLatin1(item.name);
        action->setObjectName(QStringLiteral("cmd%1").arg(item.command));
        action->setData(item.command);
        action->setCheckable(true);
        action->setChecked(name == m_language);
        m_languages->addAction(action);
        m_commands.insert(item.command, action);
        connect(action, &QAction::triggered, this, [this, name] { ChooseLanguage(name); });
    }

    QMenu* view = menuBar()->addMenu(T(menu_text::kView));
    QAction* toolbar = AddCommand(view, cmd::kToolbar, menu_text::kToolbar);
    QAction* statusbar = AddCommand(view, cmd::kStatusBar, menu_text::kStatusBar);
    for (QAction* a : {toolbar, statusbar}) {
        a->setEnabled(true);
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(statusbar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    QAction* helpPane = AddCommand(view, cmd::kHelpPane, menu_text::kHelpPane);
    helpPane->setCheckable(true);
    helpPane->setChecked(m_contextHelp);

    QMenu* device = menuBar()->addMenu(T(menu_text::kDevice));
    AddCommand(device, cmd::kRead, menu_text::kRead)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    AddCommand(device, cmd::kWrite, menu_text::kWrite)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    AddCommand(device, cmd::kReset, menu_text::kReset)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    // The report menu is a command of its own; the window menu lists the profile windows.
    m_reportMenu = menuBar()->addMenu(T(menu_text::kReport));
    m_reportMenu->setObjectName(QStringLiteral("reportMenu"));
    QAction* report = AddCommand(nullptr, cmd::kReport, menu_text::kReport);
    m_reportMenu->addAction(report);
    m_windowMenu = menuBar()->addMenu(T(menu_text::kWindow));
    m_windowMenu->setObjectName(QStringLiteral("windowMenu"));
    AddCommand(m_windowMenu, cmd::kCascade, menu_text::kCascade);
    AddCommand(m_windowMenu, cmd::kTile, menu_text::kTile);

    QMenu* help = menuBar()->addMenu(T(menu_text::kHelp));
    AddCommand(help, cmd::kContentAndIndex, menu_text::kContentAndIndex)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    QAction* about = AddCommand(help, cmd::kAbout, menu_text::kAbout);
    about->setText(CStringTable::FormatText(T(menu_text::kAbout) + QStringLiteral(" %s%s"),
                                            {kApplicationName, QStringLiteral("...")}));
}

void CMainFrame::BuildToolBar() {
    QToolBar* bar = addToolBar(T(menu_text::kToolbar).remove(u'&'));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    struct SButton {
        int command;
        int caption;
        const char* icon;
    };
    // Captions are the toolbar's own short texts; a zero command is a separator.
    constexpr SButton kButtons[] = {
        {cmd::kNew, 249, "new"},
        {cmd::kOpen, 250, "open"},
        {cmd::kSave, 251, "save"},
        {0, 0, nullptr},
        {cmd::kAdd, 252, "add"},
        {cmd::kDelete, 253, "delete"},
        {0, 0, nullptr},
        {cmd::kCut, 254, "cut"},
        {cmd::kCopy, 255, "copy"},
        {cmd::kPaste, 256, "paste"},
        {0, 0, nullptr},
        {cmd::kRead, 257, "read"},
        {cmd::kWrite, 258, "write"},
        {0, 0, nullptr},
        {cmd::kReport, 259, "report"},
        {cmd::kAbout, 260, "about"},
    };
    for (const SButton& button : kButtons) {
        if (button.command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = Command(button.command);
        action->setIconText(T(button.caption));
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(button.icon))));
        bar->addAction(action);
    }
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    connect(Command(cmd::kToolbar), &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::BuildStatusBar() {
    // Five panes; the second carries the cable and transfer state.
    for (int pane = 0; pane < 5; ++pane) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("statusPane%1").arg(pane));
        m_statusPanes[pane] = label;
        if (pane == 0) {
            statusBar()->addWidget(label, 1);
        } else {
            statusBar()->addPermanentWidget(label);
        }
    }
}

void CMainFrame::ConnectCommands() {
    auto on = [this](int id, auto slot) { connect(Command(id), &QAction::triggered, this, slot); };
    on(cmd::kNew, [this] { m_app.OnFileNew(); });
    on(cmd::kOpen, [this] { m_app.OnFileOpen(); });
    on(cmd::kClose, [this] {
        if (QMdiSubWindow* window = m_mdi->currentSubWindow()) {
            window->close();
        }
    });
    // A channel name still being typed into the tree is committed first; a refused one stops
    // the command.
    on(cmd::kSave, [this] {
        CChildFrame* frame = ActiveChildFrame();
        if (frame != nullptr && frame->Tree().CommitPendingRename()) {
            frame->Document().DoFileSave();
        }
    });
    on(cmd::kSaveAs, [this] {
        CChildFrame* frame = ActiveChildFrame();
        if (frame != nullptr && frame->Tree().CommitPendingRename()) {
            frame->Document().DoSaveAs();
        }
    });
    // A channel name still being typed into the tree goes into the profile first.
    const struct {
        int command;
        profile_csv::ETable table;
        bool import;
    } kTableCommands[] = {
        {cmd::kImportFrequencies, profile_csv::ETable::Frequencies, true},
        {cmd::kImportChannels, profile_csv::ETable::Channels, true},
        {cmd::kExportFrequencies, profile_csv::ETable::Frequencies, false},
        {cmd::kExportChannels, profile_csv::ETable::Channels, false},
    };
    for (const auto& command : kTableCommands) {
        on(command.command, [this, table = command.table, import = command.import] {
            CChildFrame* frame = ActiveChildFrame();
            if (frame == nullptr || !frame->Tree().CommitPendingRename()) {
                return;
            }
            if (import) {
                frame->Document().ImportTable(table);
            } else {
                frame->Document().ExportTable(table);
            }
        });
    }
    on(cmd::kAdd, [this] {
        if (CChildFrame* frame = ActiveChildFrame()) {
            frame->Tree().AddNewItem(frame->Tree().SelectedData());
        }
    });
    on(cmd::kRename, [this] {
        if (CChildFrame* frame = ActiveChildFrame()) {
            frame->Tree().StartRename();
        }
    });
    on(cmd::kExit, [this] { close(); });
    on(cmd::kCut, [this] { EditCommand(cmd::kCut); });
    on(cmd::kCopy, [this] { EditCommand(cmd::kCopy); });
    on(cmd::kPaste, [this] { EditCommand(cmd::kPaste); });
    on(cmd::kDelete, [this] { EditCommand(cmd::kDelete); });
    on(cmd::kDealerInfo,
       [this] { CDealerInfoDialog::Run(m_app.Config(), m_app.Language(), m_app.Prompt(), this); });
    // The page and the tree hand over their edits first; a refusal means no report.
    on(cmd::kReport, [this] {
        CChildFrame* frame = ActiveChildFrame();
        if (frame != nullptr && frame->Tree().CommitPendingRename() &&
            frame->Document().Navigator().CanLeaveCurrentPage()) {
            RunReportCommand(m_app, frame->Document(), this);
        }
    });
    on(cmd::kRead, [this] { OnRead(); });
    on(cmd::kWrite, [this] { OnWrite(); });
    on(cmd::kReset, [this] { OnReset(); });
    on(cmd::kContentAndIndex, [this] { OnHelpContents(); });
    on(cmd::kAbout, [this] { CAboutDlg::Run(m_app.Settings(), this); });
    on(cmd::kHelpPane, [this] {
        if (CChildFrame* frame = ActiveChildFrame()) {
            frame->SetHelpPaneShown(!frame->HelpPaneShown());
            m_contextHelp = frame->HelpPaneShown();
        }
        UpdateCommandStates();
    });
    on(cmd::kCascade, [this] { m_mdi->cascadeSubWindows(); });
    on(cmd::kTile, [this] { m_mdi->tileSubWindows(); });
    for (int id : {cmd::kNew, cmd::kOpen, cmd::kExit, cmd::kDealerInfo, cmd::kContentAndIndex,
                   cmd::kAbout}) {
        Command(id)->setEnabled(true);
    }
}

void CMainFrame::RebuildRecentFiles() {
    const QStringList& entries = m_app.RecentFiles().Entries();
    // The placeholder stands in for an empty list, as a disabled "Recent File" entry.
    Command(cmd::kRecentFirst)->setVisible(entries.isEmpty());
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        action->setVisible(i < entries.size());
        if (i < entries.size()) {
            action->setText(m_app.RecentFiles().MenuText(i));
            action->setStatusTip(entries[i]);
        }
    }
}

void CMainFrame::ApplyLanguageMenu(const QStringList& supported) {
    if (supported == QStringList{QStringLiteral("English")}) {
        if (m_languageMenu != nullptr) {
            m_languageMenu->menuAction()->setVisible(false);
            m_languageMenu->menuAction()->setEnabled(false);
        }
        return;
    }
    for (const SLanguageItem& item : kLanguageItems) {
        const QString name = QString::fromLatin1(item.name);
        QAction* action = Command(item.command);
        if (!supported.contains(name) && name != QLatin1String("English")) {
            m_languageMenu->removeAction(action);
            action->setVisible(false);
            continue;
        }
        action->setText(m_app.Settings().LanguageDisplayName(name));
    }
}

void CMainFrame::ChooseLanguage(const QString& name) {
    const QString stored = m_app.Config().GetCurrentLanguage();
    m_app.Config().SetCurrentLanguage(name);
    m_language = name;
    for (const SLanguageItem& item : kLanguageItems) {
        Command(item.command)->setChecked(QString::fromLatin1(item.name) == name);
    }
    if (name != stored) {
        m_app.Prompt().Show(kMsgRestartNeeded, PromptStyle::Information);
    }
}

namespace {
// How long a passing message (an import's row count) stays in the status bar.
constexpr int kStatusMessageMs = 8000;
}  // namespace

CVeskCPSDoc* CMainFrame::AddDocumentWindow(std::unique_ptr<CVeskCPSDoc> document) {
    CVeskCPSDoc* added = document.get();
    auto* frame = new CChildFrame(std::move(document));
    m_mdi->addSubWindow(frame);
    connect(added, &CVeskCPSDoc::TitleChanged, this, &CMainFrame::UpdateTitle);
    connect(added, &CVeskCPSDoc::HistoryChanged, this, &CMainFrame::UpdateCommandStates);
    connect(added, &CVeskCPSDoc::StatusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, kStatusMessageMs); });
    // Looked at once the window is wholly gone, not while it is being taken apart.
    connect(frame, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            UpdateTitle();
            UpdateDocumentMenus();
            UpdateCommandStates();
        });
    });
    frame->showMaximized();
    // A new window starts as the user last left the help pane.
    frame->SetHelpPaneShown(m_contextHelp);
    m_mdi->setActiveSubWindow(frame);
    UpdateTitle();
    UpdateDocumentMenus();
    UpdateCommandStates();
    return added;
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(window)) {
            frames.append(frame);
        }
    }
    return frames;
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    // The current window, even while another top-level window (a dialog) has the focus.
    auto* frame = qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
    if (frame == nullptr) {
        frame = qobject_cast<CChildFrame*>(m_mdi->activeSubWindow());
    }
    return frame;
}

CVeskCPSDoc* CMainFrame::ActiveDocument() const {
    CChildFrame* frame = ActiveChildFrame();
    return frame != nullptr ? &frame->Document() : nullptr;
}

CVeskCPSDoc* CMainFrame::FindDocument(const QString& absolutePath) const {
    for (CChildFrame* frame : ChildFrames()) {
        const QString path = frame->Document().PathName();
        if (!path.isEmpty() && QFileInfo(path).absoluteFilePath() == absolutePath) {
            return &frame->Document();
        }
    }
    return nullptr;
}

void CMainFrame::ActivateDocument(CVeskCPSDoc* document) {
    for (CChildFrame* frame : ChildFrames()) {
        if (&frame->Document() == document) {
            m_mdi->setActiveSubWindow(frame);
        }
    }
}

void CMainFrame::UpdateTitle() {
    // A maximised profile window adds its own title to the main window's, as " - [title]"; a
    // window that is not maximised shows it on its own frame.
    setWindowTitle(kApplicationName);
}

void CMainFrame::UpdateDocumentMenus() {
    const bool open = !m_mdi->subWindowList().isEmpty();
    m_reportMenu->menuAction()->setVisible(open);
    m_windowMenu->menuAction()->setVisible(open);
    Command(cmd::kHelpPane)->setVisible(open);
}

void CMainFrame::SetTreeCommandFlags(bool add, bool remove, bool rename) {
    m_treeAdd = add;
    m_treeDelete = remove;
    m_treeRename = rename;
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    if (m_closing) {
        return;
    }
    const bool open = !m_mdi->subWindowList().isEmpty();
    const bool read = m_readFlag && !m_resetPause;
    Command(cmd::kRead)->setEnabled(read);
    Command(cmd::kWrite)->setEnabled(read && open);
    Command(cmd::kReset)->setEnabled(m_resetFlag && !m_resetPause);
    for (int id : {cmd::kClose, cmd::kSave, cmd::kSaveAs, cmd::kCascade, cmd::kTile, cmd::kHelpPane,
                   cmd::kImportFrequencies, cmd::kImportChannels, cmd::kExportFrequencies,
                   cmd::kExportChannels, cmd::kReport}) {
        Command(id)->setEnabled(open);
    }
    if (const CChildFrame* frame = ActiveChildFrame()) {
        Command(cmd::kHelpPane)->setChecked(frame->HelpPaneShown());
    }
    Command(cmd::kAdd)->setEnabled(m_treeAdd);
    Command(cmd::kRename)->setEnabled(m_treeRename);

    const STextFocus focus = FocusedTextField();
    const bool clipboardText = !QApplication::clipboard()->text().isEmpty();
    const bool textCommands = focus.Any() && !focus.IsPassword();
    Command(cmd::kCut)->setEnabled(textCommands && focus.Editable() && focus.HasSelection());
    Command(cmd::kCopy)->setEnabled(textCommands && focus.HasSelection());
    Command(cmd::kPaste)->setEnabled(textCommands && focus.Editable() && clipboardText);
    Command(cmd::kDelete)
        ->setEnabled(focus.Any() ? focus.Editable() && focus.HasSelection() : m_treeDelete);
    UpdateUndoCommands();
}

void CMainFrame::EditCommand(int commandId) {
    const STextFocus focus = FocusedTextField();
    if (!focus.Any()) {
        // Outside a text field, Delete belongs to the navigation tree of the profile window.
        CChildFrame* frame = ActiveChildFrame();
        if (commandId == cmd::kDelete && frame != nullptr) {
            frame->Tree().DelItem(frame->Tree().SelectedData());
        }
        return;
    }
    if (focus.IsPassword()) {
        return;
    }
    if (focus.line != nullptr) {
        RunEditCommand(focus.line, commandId);
    } else if (focus.text != nullptr) {
        RunEditCommand(focus.text, commandId);
    } else if (focus.plain != nullptr) {
        RunEditCommand(focus.plain, commandId);
    }
    UpdateCommandStates();
}

void CMainFrame::SetStatusText(int textId) {
    m_statusTextId = textId;
    m_statusPanes[1]->setText(T(textId));
}

QString CMainFrame::StatusText() const {
    return m_statusPanes[1]->text();
}

void CMainFrame::PostCableStatus(bool ready, int cableCount) {
    QMetaObject::invokeMethod(
        this, [this, ready, cableCount] { OnCableStatus(ready, cableCount); },
        Qt::QueuedConnection);
}

void CMainFrame::OnCableStatus(bool ready, int cableCount) {
    if (m_closing) {
        return;
    }
    if (cableCount > 1 && !m_manyCablesShown) {
        // Status posts go on arriving while the message is on screen; one box is enough.
        m_manyCablesShown = true;
        m_app.Prompt().Ask(
            kMsgManyCables,
            CStringTable::Instance().Format(kMsgManyCables, {QString::number(cableCount)}),
            PromptStyle::Warning);
        m_manyCablesShown = false;
    }
    const bool busy = m_watch->Busy();
    if (!ready) {
        m_readFlag = m_resetFlag = false;
        if (!busy) {
            SetStatusText(kTextCableNotConnected);
        }
    } else if (busy) {
        m_readFlag = m_resetFlag = false;
    } else {
        m_readFlag = m_resetFlag = true;
        SetStatusText(kTextCableConnected);
    }
    UpdateCommandStates();
}

void CMainFrame::PostOperation(int kind, int value) {
    QMetaObject::invokeMethod(
        this, [this, kind, value] { OnOperation(kind, value); }, Qt::QueuedConnection);
}

void CMainFrame::OnRead() {
    if (!Command(cmd::kRead)->isEnabled()) {
        return;
    }
    m_readFlag = m_resetFlag = false;
    UpdateCommandStates();
    if (!m_operations->StartIdentification(OperationCode::ReadIdentification, *this)) {
        Q_EMIT RadioCommandEnded();
    }
}

void CMainFrame::OnWrite() {
    CVeskCPSDoc* document = ActiveDocument();
    if (!Command(cmd::kWrite)->isEnabled() || document == nullptr) {
        return;
    }
    if (!ActiveChildFrame()->Tree().CommitPendingRename()) {
        return;
    }
    // The page hands over its edits, and no channel may lie outside the band (511).
    if (!document->Profile().PrepareSave()) {
        return;
    }
    m_readFlag = m_resetFlag = false;
    UpdateCommandStates();
    if (!m_operations->StartIdentification(OperationCode::WriteIdentification, *this)) {
        Q_EMIT RadioCommandEnded();
    }
}

void CMainFrame::OnReset() {
    if (!Command(cmd::kReset)->isEnabled()) {
        return;
    }
    m_readFlag = m_resetFlag = false;
    UpdateCommandStates();
    if (!m_operations->StartReset(*this)) {
        Q_EMIT RadioCommandEnded();
    }
}

void CMainFrame::OnOperation(int kind, int value) {
    if (m_closing) {
        return;
    }
    const SMainWindowReaction reaction = m_operations->OnMainWindowMessage(kind, value);
    if (kind == op::kProgress) {
        return;
    }
    if (reaction.pause) {
        // After a reset the radio restarts: Read and Reset wait a second before they are offered
        // again, without holding up the window.
        m_resetPause = true;
        QTimer::singleShot(op::kAfterResetPause, this, [this] {
            m_resetPause = false;
            UpdateCommandStates();
        });
    }
    if (!reaction.notice.IsEmpty()) {
        m_app.Prompt().Ask(reaction.notice.messageId, reaction.notice.text, reaction.notice.style);
    }
    if (reaction.runChecks) {
        RunChecksAfterIdentification();
        return;
    }
    UpdateCommandStates();
    Q_EMIT RadioCommandEnded();
}

void CMainFrame::RunChecksAfterIdentification() {
    // The identification worker has posted its last message; it only lets go of the cable now.
    m_operations->Wait();
    CAskPwdDlg passwordPrompt(radio_checks::RadioPassword(m_operations->RadioInfo()),
                              m_app.Prompt(), this);
    const radio_checks::SCheckInputs inputs{m_operations->RadioInfo(),
                                            m_app.Settings(),
                                            m_app.Prompt(),
                                            passwordPrompt,
                                            m_operations->RememberedPassword(),
                                            [this] { m_operations->Cleanup(); }};
    if (m_operations->Code() == OperationCode::ReadIdentification) {
        if (radio_checks::CheckRadioForRead(inputs)) {
            RunTransfer(DialogMode::Read);
        }
    } else {
        CVeskCPSDoc* document = ActiveDocument();
        const bool go = radio_checks::CheckRadioForWrite(
            inputs, document != nullptr ? &document->Profile() : nullptr, m_operations->Image());
        if (document != nullptr) {
            // A model without repeater feature has just had its transmit settings made equal to
            // its receive settings.
            Q_EMIT document->TitleChanged();
        }
        if (go) {
            RunTransfer(DialogMode::Write);
        }
    }
    UpdateCommandStates();
    Q_EMIT RadioCommandEnded();
}

void CMainFrame::RunTransfer(DialogMode mode) {
    CReadWriteDialog dialog(*m_operations, mode, m_app.Prompt(), *m_relay, this);
    if (mode == DialogMode::Write) {
        const SWriteSafety safety = m_operations->WriteSafety();
        dialog.SetSuccessDetail([this, safety] {
            QStringList lines;
            const QString backup = m_backup->LastSaved();
            if (safety.backup && !backup.isEmpty()) {
                lines << CStringTable::Instance().Format(ReadWriteText::kBackupSaved, {backup});
            }
            if (safety.verify) {
                lines << T(ReadWriteText::kVerified);
            }
            return lines.join(u'\n');
        });
    }
    m_relay->SetTarget(&dialog);
    SetStatusText(kTextTransferring);
    const bool succeeded = dialog.exec() == QDialog::Accepted && dialog.Succeeded();
    m_relay->SetTarget(nullptr);
    if (mode == DialogMode::Read && succeeded) {
        AfterRead();
    }
}

void CMainFrame::AfterRead() {
    // The worker ends with the radio's reset; the image is the window's once it has.
    m_operations->Wait();
    CVeskCPSDoc* active = ActiveDocument();
    PromptAnswer answer = PromptAnswer::Yes;
    if (active != nullptr) {
        answer =
            m_app.Prompt().Ask(kMsgNewOrOverwrite, T(kMsgNewOrOverwrite), PromptStyle::YesNoCancel);
    }
    if (answer == PromptAnswer::Yes) {
        m_app.SetWaitingImage(std::make_unique<CVirtualCP>(m_operations->Image()));
        m_app.OnFileNew();
    } else if (answer == PromptAnswer::No && active != nullptr) {
        CVirtualCP image = m_operations->Image();
        bool replaced = false;
        try {
            replaced = SetVirtualCPData(active->Profile(), image);
        } catch (const CVeskCPSException& error) {
            ShowModelException(m_app.Prompt(), error);
        }
        if (replaced) {
            // The profile no longer matches its file: closing it must offer to save.
            active->SetModifiedFlag(true);
            active->ProfileReplaced();
        }
    }
}

void CMainFrame::OnHelpContents() {
    const QString path = m_app.Config().GetHelpFilePath(m_app.Language());
    if (path.isEmpty()) {
        m_app.Prompt().Show(kMsgNoHelpInformation);
        return;
    }
    if (!QFileInfo(path).isFile()) {
        m_app.Prompt().Show(kMsgNoHelpFile);
        return;
    }
    if (!CHelpWindow::Open(path, this)) {
        m_app.Prompt().Show(kMsgHelpFormat);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    for (CChildFrame* frame : ChildFrames()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    SaveLayout();
    m_closing = true;
    CHelpWindow::CloseAll();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    // Opened after the drop has ended, so that a message box never holds the other program's
    // drag.
    QTimer::singleShot(0, this, [this, paths] {
        for (const QString& path : paths) {
            m_app.OpenDocumentFile(path);
        }
    });
}

// --- Undo and redo ---------------------------------------------------------------------------
// The history is the active document's; the commands only name its steps and move along them.

void CMainFrame::BuildUndoCommands(QMenu* edit) {
    AddCommand(edit, cmd::kUndo, menu_text::kUndo)->setShortcut(QKeySequence::Undo);
    AddCommand(edit, cmd::kRedo, menu_text::kRedo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    connect(Command(cmd::kUndo), &QAction::triggered, this, [this] { OnUndoRedo(false); });
    connect(Command(cmd::kRedo), &QAction::triggered, this, [this] { OnUndoRedo(true); });
}

void CMainFrame::UpdateUndoCommands() {
    const CVeskCPSDoc* document = ActiveDocument();
    const CEditHistory* history = document != nullptr ? &document->Profile().History() : nullptr;
    const auto show = [](QAction* action, bool enabled, const QString& label, int stepText,
                         int plainText) {
        action->setEnabled(enabled);
        // A label is the program's or a page's text, never a mnemonic of the menu's.
        QString escaped = label;
        escaped.replace(u'&', QStringLiteral("&&"));
        action->setText(enabled ? CStringTable::Instance().Format(stepText, {escaped})
                                : T(plainText));
    };
    show(Command(cmd::kUndo), history != nullptr && history->CanUndo(),
         history != nullptr ? history->UndoLabel() : QString(), menu_text::kUndoStep,
         menu_text::kUndo);
    show(Command(cmd::kRedo), history != nullptr && history->CanRedo(),
         history != nullptr ? history->RedoLabel() : QString(), menu_text::kRedoStep,
         menu_text::kRedo);
}

void CMainFrame::OnUndoRedo(bool redo) {
    CVeskCPSDoc* document = ActiveDocument();
    if (document == nullptr) {
        return;
    }
    if (redo) {
        document->Redo();
    } else {
        document->Undo();
    }
    UpdateCommandStates();
}
