#include "app/about_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "model/settings_documents.h"
#include "platform/string_table.h"

namespace {

constexpr int kOk = 140;
const QString kProgramIcon = QStringLiteral(":/icons/veskcps.svg");
const QString kCpsSuffix = QStringLiteral(" CPS");
constexpr int kIconSize = 48;

// "ZN420" from "ZN420 CPS": the first line names the radio family, not the program.
QString FamilyName() {
    QString name = kApplicationName;
    if (name.endsWith(kCpsSuffix)) {
        name.chop(kCpsSuffix.size());
    }
    return name;
}

}  // namespace

CAboutDlg::CAboutDlg(const QString& productVersion, QWidget* parent) : QDialog(parent) {
    const CStringTable& strings = CStringTable::Instance();
    setWindowTitle(strings.Text(kTitle) + u' ' + kApplicationName);

    auto* texts = new QVBoxLayout;
    auto addLine = [this, texts](const QString& text, const QString& name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        texts->addWidget(label);
        return label;
    };
    QLabel* nameLine =
        addLine(strings.Format(kNameLine, {FamilyName()}), QStringLiteral("nameLine"));
    QFont bold = nameLine->font();
    bold.setBold(true);
    nameLine->setFont(bold);
    addLine(strings.Format(kVersionLine, {productVersion}), QStringLiteral("versionLine"));
    texts->addSpacing(fontMetrics().height() / 2);
    int notice = 0;
    for (const int id : kNoticeLines) {
        addLine(strings.Text(id), QStringLiteral("noticeLine%1").arg(++notice));
    }

    auto* top = new QHBoxLayout;
    // The icon is drawn by the installation's artwork; without it the box is only text.
    if (QFile::exists(kProgramIcon)) {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("programIcon"));
        icon->setPixmap(QIcon(kProgramIcon).pixmap(kIconSize, kIconSize, QIcon::Normal));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon);
        setWindowIcon(QIcon(kProgramIcon));
    }
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(strings.Text(kOk), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
}

void CAboutDlg::Run(const CSettingsDocuments& settings, QWidget* parent) {
    CAboutDlg dialog(settings.ProductVersion(), parent);
    dialog.exec();
}
