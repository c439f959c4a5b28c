#include "report/window/report_dlg.h"

#include <memory>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/files/atomic_file.h"
#include "platform/mnemonic.h"
#include "platform/settings/config_hive.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "report/report_margins.h"
#include "report/print/report_print.h"

namespace {

constexpr int kTitle = 950;
constexpr int kHandoutName = report::kCustomerHandoutName;
constexpr int kDetailedName = report::kDetailedReportName;
constexpr int kSaveAsPdf = 954;
constexpr int kClose = 955;
constexpr int kHtmlFilter = 956;
constexpr int kPdfFilter = 957;
constexpr int kMsgReadFailed = 959;
constexpr int kPrint = 1098;
constexpr int kMail = 1099;
constexpr int kPrintPreview = 1104;
constexpr int kSaveAs = 1105;

const QString kMailProgram = QStringLiteral("xdg-email");

// A first size that shows a printed page's width of text; the user may make it any size.
// Room for the handout's page column (about 750 pixels) without a horizontal scroll bar.
constexpr int kViewColumns = 140;
constexpr int kViewLines = 44;

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

QString FileError(const QString& path, const QString& reason) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

// Reads `from` whole and writes it as `to`, which is replaced whole or not at all.
bool CopyWhole(const QString& from, const QString& to, QString* error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = FileError(from, source.errorString());
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        *error = FileError(from, source.errorString());
        return false;
    }
    QString reason;
    if (!WriteFileAtomically(to, bytes, &reason)) {
        *error = FileError(to, reason);
        return false;
    }
    return true;
}

bool SameFolder(const QString& a, const QString& b) {
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

}  // namespace

CReportDlg::CReportDlg(SReportPage page, const report::CReportMargins& margins, IUserPrompt& prompt,
                       QWidget* parent)
    : QDialog(parent), m_page(std::move(page)), m_margins(margins), m_prompt(prompt) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(strings.Text(kTitle));
    setSizeGripEnabled(true);

    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("reportView"));
    m_view->setAccessibleName(strings.Text(IsHandout() ? kHandoutName : kDetailedName));
    m_view->setOpenLinks(false);
    m_view->setTabChangesFocus(true);
    m_view->setSource(QUrl::fromLocalFile(QFileInfo(m_page.path).absoluteFilePath()),
                      QTextDocument::HtmlResource);

    QString taken;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto addButton = [this, &taken, buttons, &strings](int text, const char* name) {
        auto* button = new QPushButton(WithMnemonic(strings.Text(text), taken), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        return button;
    };
    connect(addButton(kPrintPreview, "printPreviewButton"), &QPushButton::clicked, this,
            &CReportDlg::PrintPreview);
    connect(addButton(kPrint, "printButton"), &QPushButton::clicked, this, &CReportDlg::Print);
    connect(addButton(kMail, "mailButton"), &QPushButton::clicked, this, &CReportDlg::Mail);
    connect(addButton(kSaveAs, "saveAsButton"), &QPushButton::clicked, this, &CReportDlg::SaveAs);
    connect(addButton(kSaveAsPdf, "savePdfButton"), &QPushButton::clicked, this,
            &CReportDlg::SaveAsPdf);
    connect(addButton(kClose, "closeButton"), &QPushButton::clicked, this, &CReportDlg::reject);

    // The view takes all the room; the buttons stay in their strip at the lower right.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    const QFontMetrics metrics(m_view->font());
    QSize size(metrics.averageCharWidth() * kViewColumns, metrics.lineSpacing() * kViewLines);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(size);
    m_view->setFocus();

    if (IsHandout()) {
        const QStringList found = report::FoundHandoutImages(m_page.folder, m_page.display);
        if (found.size() < report::HandoutImageSet(m_page.display).size()) {
            m_prompt.Show(report::kMsgFilesMissing, PromptStyle::Error);
        }
    }
}

void CReportDlg::Run(const SReportPage& page, const CConfigHive& userHive, IUserPrompt& prompt,
                     QWidget* parent) {
    report::CReportMargins margins(userHive);
    margins.SetReportMargins();
    {
        CReportDlg dialog(page, margins, prompt, parent);
        dialog.exec();
    }
    margins.Restore();
}

void CReportDlg::PrepareForPrinting(QPrinter& printer) const {
    printer.setDocName(QFileInfo(m_page.path).completeBaseName());
    report::SetReportPageMargins(printer, m_margins.Current());
}

void CReportDlg::PrintPreview() {
    QString error;
    const std::unique_ptr<QTextDocument> document = report::LoadReportDocument(m_page.path, &error);
    if (!document) {
        m_prompt.Ask(kMsgReadFailed, CStringTable::Instance().Format(kMsgReadFailed, {error}),
                     PromptStyle::Error);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    PrepareForPrinting(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("printPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&document](QPrinter* target) { report::PrintReportDocument(*document, *target); });
    preview.exec();
}

void CReportDlg::Print() {
    QPrinter printer(QPrinter::HighResolution);
    PrepareForPrinting(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (dialog.exec() != Accepted) {
        return;
    }
    QString error;
    const std::unique_ptr<QTextDocument> document = report::LoadReportDocument(m_page.path, &error);
    if (!document) {
        m_prompt.Ask(kMsgReadFailed, CStringTable::Instance().Format(kMsgReadFailed, {error}),
                     PromptStyle::Error);
        return;
    }
    const CWaitCursor wait;
    report::PrintReportDocument(*document, printer);
}

QString CReportDlg::ChooseFile(const QString& extension, int filterText) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposed =
        QDir(folder).filePath(QFileInfo(m_page.path).completeBaseName() + u'.' + extension);
    const QString filter = CStringTable::Instance().Text(filterText);
    if (m_chooser) {
        return m_chooser(proposed, filter);
    }
    QFileDialog dialog(this, QString(), proposed, filter);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(extension);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void CReportDlg::ShowSaveError(const QString& detail) {
    m_prompt.Ask(kMsgSaveFailed, CStringTable::Instance().Format(kMsgSaveFailed, {detail}),
                 PromptStyle::Error);
}

void CReportDlg::SaveAs() {
    const QString target = ChooseFile(QStringLiteral("htm"), kHtmlFilter);
    if (target.isEmpty()) {
        return;
    }
    QString error;
    if (!CopyWhole(m_page.path, target, &error)) {
        ShowSaveError(error);
        return;
    }
    // The handout names its pictures relative to itself: without copies beside it the saved
    // page would open without them.
    const QString targetFolder = QFileInfo(target).absolutePath();
    if (!IsHandout() || SameFolder(targetFolder, m_page.folder)) {
        return;
    }
    const QDir from(m_page.folder);
    const QDir to(targetFolder);
    for (const QString& name : report::FoundHandoutImages(m_page.folder, m_page.display)) {
        if (!CopyWhole(from.filePath(name), to.filePath(name), &error)) {
            ShowSaveError(error);
            return;
        }
    }
}

void CReportDlg::SaveAsPdf() {
    const QString target = ChooseFile(QStringLiteral("pdf"), kPdfFilter);
    if (target.isEmpty()) {
        return;
    }
    QString error;
    bool written = false;
    {
        const CWaitCursor wait;
        written = report::WriteReportPdf(m_page.path, target, m_margins.Current(), &error);
    }
    if (!written) {
        ShowSaveError(error);
    }
}

void CReportDlg::Mail() {
    const QString program = QStandardPaths::findExecutable(kMailProgram);
    if (program.isEmpty()) {
        m_prompt.Show(kMsgMailMissing, PromptStyle::Error);
        return;
    }
    // Absolute paths, so that none can be taken for an option of the mail program.
    QStringList files{QFileInfo(m_page.path).absoluteFilePath()};
    if (IsHandout()) {
        const QStringList found = report::FoundHandoutImages(m_page.folder, m_page.display);
        if (found.isEmpty()) {
            m_prompt.Show(report::kMsgFilesMissing, PromptStyle::Error);
            return;
        }
        const QDir folder(m_page.folder);
        for (const QString& name : found) {
            files.append(QFileInfo(folder.filePath(name)).absoluteFilePath());
        }
    }
    QStringList arguments;
    for (const QString& file : files) {
        arguments << QStringLiteral("--attach") << file;
    }
    if (!RunMailProgram(program, arguments)) {
        m_prompt.Show(kMsgMailMissing, PromptStyle::Error);
    }
}

bool CReportDlg::RunMailProgram(const QString& program, const QStringList& arguments) {
    // The program's windows take no input while the mail program picks the files up; they go on
    // drawing themselves, since the wait runs the event loop.
    QList<QPointer<QWidget>> disabled;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isWindow() && window->isVisible() && window->isEnabled()) {
            window->setEnabled(false);
            disabled.append(window);
        }
    }
    bool failedToStart = false;
    {
        const CWaitCursor wait;
        auto* process = new QProcess;
        process->setProgram(program);
        process->setArguments(arguments);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());

        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
        connect(process, &QProcess::errorOccurred, &loop,
                [&loop, &failedToStart](QProcess::ProcessError error) {
                    if (error == QProcess::FailedToStart) {
                        failedToStart = true;
                        loop.quit();
                    }
                });
        process->start();
        if (!failedToStart && process->state() != QProcess::NotRunning) {
            limit.start(m_mailTimeLimitMs);
            loop.exec();
        }
        if (process->state() == QProcess::NotRunning) {
            delete process;
        } else {
            // Still running after the time limit: let it finish on its own. Deleting the
            // QProcess would kill the mail program, and with it the message being written.
            process->disconnect(&loop);
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
        }
    }
    for (const QPointer<QWidget>& window : disabled) {
        if (window) {
            window->setEnabled(true);
        }
    }
    raise();
    activateWindow();
    return !failedToStart;
}
