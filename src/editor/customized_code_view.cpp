#include "editor/customized_code_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QTimer>

#include "model/edit_result.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

// The label of code `number` with the number's last digit as its mnemonic: the six labels differ
// only there, and Alt with that digit is easy to remember.
QString LabelText(int textId, int number) {
    QString text = CStringTable::Instance().Format(textId, {QString::number(number)});
    const QString digits = QString::number(number);
    const qsizetype at = text.indexOf(digits);
    if (at >= 0) {
        text.insert(at + digits.size() - 1, u'&');
    }
    return text;
}

}  // namespace

CCustomizedCodeView::CCustomizedCodeView(const SPageContext& context, PageKind kind,
                                         std::span<const SControlTemplate> controls,
                                         std::span<const SLayoutEntry> layout,
                                         const SCodePage& page, QWidget* parent)
    : CBaseView(context, kind, controls, layout, parent), m_page(page) {
    for (const SCodeRow& row : m_page.rows) {
        const QString text = LabelText(m_page.labelText, row.number);
        ControlAs<QLabel>(row.label)->setText(text);
        QLineEdit* edit = Field(row.field);
        edit->setAccessibleName(QString(text).remove(u'&'));
        edit->setMaxLength(m_page.maxLength);
        edit->installEventFilter(this);
        const int field = row.field;
        connect(edit, &QLineEdit::textEdited, this, [this, field] { OnTextEdited(field); });
        connect(edit, &QLineEdit::returnPressed, this, [this, field] {
            if (Field(field)->isModified() && !WriteField(field)) {
                Refocus(field);
            }
        });
    }
}

QLineEdit* CCustomizedCodeView::Field(int field) const {
    return ControlAs<QLineEdit>(field);
}

void CCustomizedCodeView::LoadData() {
    m_loaded = false;
    try {
        const CDataItem setting = RootItem().GetChildByName(QStringLiteral("setting"));
        Bindings().Clear();
        for (const SCodeRow& row : m_page.rows) {
            Bindings().Add({row.field, setting, QStringLiteral("KTcode%1").arg(row.number),
                            Conversion(), ECommitMoment::Never, m_page.refusedMessage});
        }
        Bindings().LoadAll();
    } catch (CVeskCPSException& error) {
        error.PassOn(QString::fromLatin1(m_page.loadOperation));
        throw;
    }
    m_loaded = true;
}

void CCustomizedCodeView::OnInitialUpdate() {
    ApplyVisibleSetting(QString::fromLatin1(PageKindNames(Kind()).visibilityName));
}

void CCustomizedCodeView::OnTextEdited(int field) {
    if (m_filtering) {
        return;
    }
    if (m_loaded) {
        // Typing not yet written still counts as a change: closing the window asks to save, and
        // saving writes the field first.
        Context().document.SetModified(true);
    }
    QLineEdit* edit = Field(field);
    const QString text = edit->text();
    const QString kept = Filter(text);
    if (kept == text) {
        return;
    }
    const int caret = int(std::min(Filter(text.left(edit->cursorPosition())).size(), kept.size()));
    m_filtering = true;
    edit->setText(kept);
    edit->setModified(true);
    edit->setCursorPosition(caret);
    m_filtering = false;
}

bool CCustomizedCodeView::WriteField(int field) {
    const SBindingRow* row = nullptr;
    for (const SBindingRow& candidate : Bindings().Rows()) {
        if (candidate.controlId == field) {
            row = &candidate;
        }
    }
    if (row == nullptr) {
        return true;
    }
    QLineEdit* edit = Field(field);
    const std::optional<QVariant> value = row->conversion.store(edit->text());
    bool accepted = false;
    bool changed = false;
    bool told = false;
    if (value) {
        try {
            const QVariant current = row->element.GetAttributeValue(row->attribute);
            if (current.toString() == value->toString()) {
                accepted = true;
            } else {
                CDataItem element = row->element;
                const CEditResult result =
                    SettleEdit(Context().prompt, [&](EConfirmation confirmation) {
                        return element.SetAttributeValue(row->attribute, *value, confirmation);
                    });
                accepted = changed = result.IsAccepted();
                told = result.MessageId() != 0;
            }
        } catch (const CVeskCPSException&) {
            // The page's own message says what the user can do about it.
            accepted = false;
        }
    }
    if (!accepted) {
        if (!told) {
            Context().prompt.Show(m_page.refusedMessage);
        }
        return false;
    }
    if (changed) {
        Context().document.SetModified(true);
        if (Context().profileChanged) {
            Context().profileChanged();
        }
    }
    try {
        Bindings().Load(field);
    } catch (const CVeskCPSException& error) {
        ShowModelException(Context().prompt, error);
    }
    return true;
}

void CCustomizedCodeView::Refocus(int field) {
    for (QWidget* up = parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(up); sub != nullptr && sub->mdiArea()) {
            sub->mdiArea()->setActiveSubWindow(sub);
            break;
        }
    }
    window()->activateWindow();
    QLineEdit* edit = Field(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CCustomizedCodeView::WriteOnFocusMove(int field) {
    if (Field(field)->isModified() && !WriteField(field)) {
        Refocus(field);
    }
}

bool CCustomizedCodeView::CanLeavePage() {
    for (const SCodeRow& row : m_page.rows) {
        QLineEdit* edit = Field(row.field);
        if (edit->isHidden() || !edit->isModified() || WriteField(row.field)) {
            continue;
        }
        const int field = row.field;
        QTimer::singleShot(0, this, [this, field] { Refocus(field); });
        return false;
    }
    return true;
}

bool CCustomizedCodeView::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const int field = edit != nullptr ? edit->property("controlId").toInt() : 0;
    if (edit != nullptr && edit->isModified()) {
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            // The focus has moved already. Only a move within the page writes: leaving the page
            // is asked about before it happens, and another window may just be looked at.
            QWidget* now = QApplication::focusWidget();
            if (now != nullptr && now != edit && widget()->isAncestorOf(now)) {
                QTimer::singleShot(0, this, [this, field] { WriteOnFocusMove(field); });
            }
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            try {
                Bindings().Load(field);
            } catch (const CVeskCPSException& error) {
                ShowModelException(Context().prompt, error);
            }
            return true;
        }
    }
    return CBaseView::eventFilter(watched, event);
}
