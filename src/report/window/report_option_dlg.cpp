#include "report/window/report_option_dlg.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/mnemonic.h"
#include "platform/string_table.h"
#include "resources/pictures.h"

namespace {

constexpr int kOk = 140;
constexpr int kCancel = 141;
constexpr int kTitle = 950;
constexpr int kCaption = 951;
constexpr int kHandout = report::kCustomerHandoutName;
constexpr int kDetailed = report::kDetailedReportName;

constexpr QSize kPictureSize(25, 20);

}  // namespace

using report::EReportKind;

CReportOptionDlg::CReportOptionDlg(QWidget* parent) : QDialog(parent) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(strings.Text(kTitle));

    QString taken;
    const QString okText = WithMnemonic(strings.Text(kOk), taken);
    const QString cancelText = WithMnemonic(strings.Text(kCancel), taken);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("reportList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(kPictureSize);
    m_list->setAccessibleName(strings.Text(kCaption));
    // The order is the one the dialog has always had: the handout, which dealers make most.
    const struct {
        EReportKind kind;
        int text;
        EPicture picture;
    } rows[] = {
        {EReportKind::Handout, kHandout, EPicture::HandoutReport},
        {EReportKind::Detailed, kDetailed, EPicture::DetailedReport},
    };
    for (const auto& row : rows) {
        auto* item =
            new QListWidgetItem(QIcon(PicturePath(row.picture)), strings.Text(row.text), m_list);
        item->setData(Qt::UserRole, int(row.kind));
    }

    auto* caption = new QLabel(WithMnemonic(strings.Text(kCaption), taken), this);
    caption->setBuddy(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelText, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CReportOptionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReportOptionDlg::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_ok->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CReportOptionDlg::ChooseItem);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    m_list->setCurrentRow(0);
    m_list->setFocus();
}

void CReportOptionDlg::accept() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (!selected.isEmpty()) {
        ChooseItem(selected.constFirst());
    }
}

void CReportOptionDlg::ChooseItem(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    m_kind = EReportKind(item->data(Qt::UserRole).toInt());
    QDialog::accept();
}

std::optional<EReportKind> CReportOptionDlg::Ask(QWidget* parent) {
    CReportOptionDlg dialog(parent);
    if (dialog.exec() != Accepted) {
        return std::nullopt;
    }
    return dialog.Kind();
}
