#include "editor/page_bindings.h"

#include <cmath>
#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "editor/page_context.h"
#include "model/edit_result.h"
#include "model/profile_document.h"
#include "platform/vesk_cps_exception.h"

namespace binding {

SConversion Text() {
    return {[](const CDataItem& element, const QString& attribute) {
                return QVariant(element.GetAttributeValue(attribute).toString());
            },
            [](const QVariant& shown) -> std::optional<QVariant> { return shown.toString(); }};
}

SConversion Integer() {
    return {[](const CDataItem& element, const QString& attribute) {
                return QVariant(QString::number(element.GetAttributeValue(attribute).toLongLong()));
            },
            [](const QVariant& shown) -> std::optional<QVariant> {
                bool ok = false;
                const qint32 value = shown.toString().trimmed().toInt(&ok);
                return ok ? std::optional<QVariant>(value) : std::nullopt;
            }};
}

SConversion Check() {
    return {[](const CDataItem& element, const QString& attribute) {
                return QVariant(element.GetAttributeValue(attribute).toBool());
            },
            [](const QVariant& shown) -> std::optional<QVariant> { return shown.toBool(); }};
}

SConversion Choice(QList<QVariant> values) {
    return {[values](const CDataItem& element, const QString& attribute) {
                const QString stored = element.GetAttributeValue(attribute).toString();
                for (qsizetype i = 0; i < values.size(); ++i) {
                    if (values[i].toString() == stored) {
                        return QVariant(int(i));
                    }
                }
                // A value no item stands for selects none rather than a wrong one.
                return QVariant(-1);
            },
            [values](const QVariant& shown) -> std::optional<QVariant> {
                const int index = shown.toInt();
                if (index < 0 || index >= values.size()) {
                    return std::nullopt;
                }
                return values[index];
            }};
}

SConversion Megahertz(const QString& decimalSeparator, int decimals) {
    return {
        [decimalSeparator, decimals](const CDataItem& element, const QString& attribute) {
            const double hertz = element.GetAttributeValue(attribute).toDouble();
            return QVariant(
                QString::number(hertz * 0.000001, 'f', decimals).replace(u'.', decimalSeparator));
        },
        [decimalSeparator](const QVariant& shown) -> std::optional<QVariant> {
            QString text = shown.toString().trimmed();
            if (!decimalSeparator.isEmpty()) {
                text.replace(decimalSeparator, QStringLiteral("."));
            }
            bool ok = false;
            const double megahertz = text.toDouble(&ok);
            if (!ok || !std::isfinite(megahertz) || megahertz < 0) {
                return std::nullopt;
            }
            const double hertz = std::round(megahertz * 1000000.0);
            if (hertz > double(std::numeric_limits<quint32>::max())) {
                return std::nullopt;
            }
            return QVariant(quint32(hertz));
        }};
}

SConversion Formatted(std::function<QString(const CDataItem& element)> format) {
    return {
        [format](const CDataItem& element, const QString&) { return QVariant(format(element)); },
        {}};
}

}  // namespace binding

CPageBindings::CPageBindings(const SPageContext& context, std::function<QWidget*(int)> control,
                             QObject* parent)
    : QObject(parent), m_context(context), m_control(std::move(control)) {}

void CPageBindings::Clear() {
    for (const SBindingRow& row : m_rows) {
        if (QWidget* widget = m_control(row.controlId)) {
            widget->disconnect(this);
            widget->removeEventFilter(this);
        }
    }
    m_rows.clear();
}

void CPageBindings::Add(SBindingRow row) {
    QWidget* widget = m_control(row.controlId);
    Q_ASSERT_X(widget != nullptr, "CPageBindings::Add", "a row names a control the page lacks");
    if (widget != nullptr) {
        Connect(row, widget);
    }
    m_rows.push_back(std::move(row));
}

void CPageBindings::Connect(const SBindingRow& row, QWidget* widget) {
    const int id = row.controlId;
    switch (row.commit) {
        case ECommitMoment::Never:
            break;
        case ECommitMoment::OnChange:
            if (auto* check = qobject_cast<QCheckBox*>(widget)) {
                connect(check, &QCheckBox::toggled, this, [this, id] { Commit(id); });
            } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                connect(combo, &QComboBox::currentIndexChanged, this, [this, id] { Commit(id); });
            }
            break;
        case ECommitMoment::OnEditingFinished:
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                connect(edit, &QLineEdit::editingFinished, this, [this, id, edit] {
                    if (edit->isModified()) {
                        Commit(id);
                    }
                });
                edit->installEventFilter(this);
            }
            break;
    }
}

bool CPageBindings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit != nullptr && edit->isModified()) {
            for (const SBindingRow& row : m_rows) {
                if (m_control(row.controlId) == edit) {
                    Load(row.controlId);
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

const SBindingRow* CPageBindings::Row(int controlId) const {
    for (const SBindingRow& row : m_rows) {
        if (row.controlId == controlId) {
            return &row;
        }
    }
    return nullptr;
}

void CPageBindings::Show(const SBindingRow& row, QWidget* widget) {
    const QVariant shown = row.conversion.load(row.element, row.attribute);
    const QSignalBlocker blocker(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(shown.toString());
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(shown.toString());
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setChecked(shown.toBool());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(shown.toInt());
    }
}

QVariant CPageBindings::Shown(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        return check->isChecked();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentIndex();
    }
    return {};
}

bool CPageBindings::HasPendingText(QWidget* widget) {
    auto* edit = qobject_cast<QLineEdit*>(widget);
    return edit != nullptr && edit->isModified();
}

void CPageBindings::LoadAll() {
    for (const SBindingRow& row : m_rows) {
        QWidget* widget = m_control(row.controlId);
        if (widget != nullptr && !widget->isHidden()) {
            Show(row, widget);
        }
    }
}

void CPageBindings::Load(int controlId) {
    const SBindingRow* row = Row(controlId);
    QWidget* widget = m_control(controlId);
    if (row != nullptr && widget != nullptr) {
        Show(*row, widget);
    }
}

bool CPageBindings::Commit(int controlId) {
    const SBindingRow* row = Row(controlId);
    QWidget* widget = m_control(controlId);
    if (row == nullptr || widget == nullptr || !row->conversion.store || widget->isHidden() ||
        m_committing) {
        return true;
    }
    m_committing = true;
    const struct SDone {
        bool& flag;
        ~SDone() { flag = false; }
    } done{m_committing};

    // Puts the control back and says so; a failure to read the profile back is told as well.
    auto refuse = [&] {
        try {
            Show(*row, widget);
        } catch (const CVeskCPSException& error) {
            ShowModelException(m_context.prompt, error);
        }
        Q_EMIT Refused(controlId);
        return false;
    };

    const std::optional<QVariant> value = row->conversion.store(Shown(widget));
    if (!value) {
        if (row->invalidMessage != 0) {
            m_context.prompt.Show(row->invalidMessage);
        }
        return refuse();
    }
    CEditResult result = CEditResult::Refused();
    try {
        const QVariant current = row->element.GetAttributeValue(row->attribute);
        if (current == *value || current.toString() == value->toString()) {
            // Nothing changed: the rules are not asked, and the field shows the stored form.
            Show(*row, widget);
            return true;
        }
        CDataItem element = row->element;
        const QString attribute = row->attribute;
        result = SettleEdit(m_context.prompt, [&](EConfirmation confirmation) {
            return element.SetAttributeValue(attribute, *value, confirmation);
        });
    } catch (CVeskCPSException& error) {
        ShowModelException(m_context.prompt, error);
        return refuse();
    }
    if (!result.IsAccepted()) {
        return refuse();
    }
    m_context.document.SetModified(true);
    try {
        LoadAll();
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_context.prompt, error);
    }
    if (m_context.profileChanged) {
        m_context.profileChanged();
    }
    Q_EMIT Accepted(controlId);
    return true;
}

bool CPageBindings::CommitPending() {
    for (const SBindingRow& row : m_rows) {
        QWidget* widget = m_control(row.controlId);
        if (row.commit == ECommitMoment::OnEditingFinished && widget != nullptr &&
            HasPendingText(widget) && !Commit(row.controlId)) {
            return false;
        }
    }
    return true;
}
