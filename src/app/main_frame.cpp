#include "app/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "app/command_ids.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"

namespace {

constexpr int kMsgRestartNeeded = 330;

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

}  // namespace

CMainFrame::CMainFrame(const CConfiguration& config, IUserPrompt& prompt, QWidget* parent)
    : QMainWindow(parent),
      m_config(config),
      m_prompt(prompt),
      m_language(config.GetCurrentLanguage()) {
    setWindowTitle(kApplicationName);
    auto* area = new QMdiArea(this);
    area->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(area);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
}

QAction* CMainFrame::AddCommand(QMenu* menu, int commandId, int textId) {
    auto* action = new QAction(T(textId), this);
    action->setObjectName(QStringLiteral("cmd%1").arg(commandId));
    action->setData(commandId);
    // The commands come to life with the parts of the program that carry them out.
    action->setEnabled(false);
    menu->addAction(action);
    m_commands.insert(commandId, action);
    return action;
}

QMenu* CMainFrame::TopMenu(int position) const {
    const QList<QAction*> tops = menuBar()->actions();
    if (position < 0 || position >= tops.size()) {
        return nullptr;
    }
    return tops.at(position)->menu();
}

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu(T(menu_text::kFile));
    AddCommand(file, cmd::kNew, menu_text::kNew);
    AddCommand(file, cmd::kOpen, menu_text::kOpen);
    file->addSeparator();
    AddCommand(file, cmd::kSave, menu_text::kSave);
    AddCommand(file, cmd::kSaveAs, menu_text::kSaveAs);
    file->addSeparator();
    AddCommand(file, cmd::kRecentFirst, menu_text::kRecentFile);
    file->addSeparator();
    QAction* exit = AddCommand(file, cmd::kExit, menu_text::kExit);
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(T(menu_text::kEdit));
    AddCommand(edit, cmd::kAdd, menu_text::kAdd);
    edit->addSeparator();
    AddCommand(edit, cmd::kCut, menu_text::kCut);
    AddCommand(edit, cmd::kCopy, menu_text::kCopy);
    AddCommand(edit, cmd::kPaste, menu_text::kPaste);
    AddCommand(edit, cmd::kDelete, menu_text::kDelete);
    AddCommand(edit, cmd::kRename, menu_text::kRename);
    edit->addSeparator();
    AddCommand(edit, cmd::kDealerInfo, menu_text::kDealerInfo);
    QMenu* languages = edit->addMenu(T(menu_text::kLanguage));
    languages->setObjectName(QStringLiteral("languageMenu"));
    m_languages = new QActionGroup(this);
    for (const SLanguageItem& item : kLanguageItems) {
        auto* action = languages->addAction(QString::fromLatin1(item.label));
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

    QMenu* device = menuBar()->addMenu(T(menu_text::kDevice));
    AddCommand(device, cmd::kRead, menu_text::kRead);
    AddCommand(device, cmd::kWrite, menu_text::kWrite);
    AddCommand(device, cmd::kReset, menu_text::kReset);

    QMenu* help = menuBar()->addMenu(T(menu_text::kHelp));
    AddCommand(help, cmd::kContentAndIndex, menu_text::kContentAndIndex);
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
    };
    // Captions are the toolbar's own short texts; a zero command is a separator.
    constexpr SButton kButtons[] = {
        {cmd::kNew, 249},
        {cmd::kOpen, 250},
        {cmd::kSave, 251},
        {0, 0},
        {cmd::kAdd, 252},
        {cmd::kDelete, 253},
        {0, 0},
        {cmd::kCut, 254},
        {cmd::kCopy, 255},
        {cmd::kPaste, 256},
        {0, 0},
        {cmd::kRead, 257},
        {cmd::kWrite, 258},
        {0, 0},
        {cmd::kReport, 259},
        {cmd::kAbout, 260},
    };
    for (const SButton& button : kButtons) {
        if (button.command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = Command(button.command);
        if (!action) {
            // Report lives in the menu of an open profile; the toolbar carries it from the start.
            action = new QAction(this);
            action->setObjectName(QStringLiteral("cmd%1").arg(button.command));
            action->setData(button.command);
            action->setEnabled(false);
            m_commands.insert(button.command, action);
        }
        action->setIconText(T(button.caption));
        bar->addAction(action);
    }
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(Command(cmd::kToolbar), &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::BuildStatusBar() {
    // Five panes; the second carries the cable and transfer state.
    for (int pane = 0; pane < 5; ++pane) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("statusPane%1").arg(pane));
        if (pane == 0) {
            statusBar()->addWidget(label, 1);
        } else {
            statusBar()->addPermanentWidget(label);
        }
    }
}

void CMainFrame::ChooseLanguage(const QString& name) {
    const QString stored = m_config.GetCurrentLanguage();
    m_config.SetCurrentLanguage(name);
    m_language = name;
    for (const SLanguageItem& item : kLanguageItems) {
        Command(item.command)->setChecked(QString::fromLatin1(item.name) == name);
    }
    if (name != stored) {
        m_prompt.Show(kMsgRestartNeeded, PromptStyle::Information);
    }
}
