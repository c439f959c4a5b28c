#include "editor/base_view.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include "editor/page_navigator.h"
#include "editor/page_visibility.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/mnemonic.h"
#include "platform/string_table.h"
#include "platform/vesk_cps_exception.h"

namespace {

// `taken` holds the mnemonic keys the page has given so far.
QWidget* MakeControl(const SControlTemplate& control, QWidget* page, QString& taken) {
    QString text = control.text != 0 ? CStringTable::Instance().Text(control.text) : QString();
    const bool named = control.kind == EControlKind::Check || control.kind == EControlKind::Frame ||
                       control.kind == EControlKind::Button ||
                       (control.kind == EControlKind::Label && control.buddy != 0);
    if (named && !text.isEmpty()) {
        text = WithMnemonic(text, taken);
    }
    switch (control.kind) {
        case EControlKind::Label:
            return new QLabel(text, page);
        case EControlKind::Bar: {
            auto* bar = new QLabel(text, page);
            bar->setAutoFillBackground(true);
            QPalette palette = bar->palette();
            palette.setColor(QPalette::Window, QColor::fromRgb(CBaseView::kBarColour));
            palette.setColor(QPalette::WindowText, QColor::fromRgb(CBaseView::kBarTextColour));
            bar->setPalette(palette);
            // The page around it paints with the base colour; the bar keeps its own.
            bar->setBackgroundRole(QPalette::Window);
            bar->setForegroundRole(QPalette::WindowText);
            bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            bar->setIndent(6);
            return bar;
        }
        case EControlKind::Text:
            return new QLineEdit(page);
        case EControlKind::ReadOnlyText: {
            auto* edit = new QLineEdit(page);
            edit->setReadOnly(true);
            return edit;
        }
        case EControlKind::Check:
            return new QCheckBox(text, page);
        case EControlKind::Choice:
            return new CChoiceBox(page);
        case EControlKind::Frame:
            return new QGroupBox(text, page);
        case EControlKind::Button:
            return new QPushButton(text, page);
        case EControlKind::List: {
            auto* list = new QTreeWidget(page);
            list->setRootIsDecorated(false);
            list->setItemsExpandable(false);
            list->setUniformRowHeights(true);
            list->setAllColumnsShowFocus(true);
            return list;
        }
    }
    return nullptr;
}

}  // namespace

CBaseView::CBaseView(const SPageContext& context, PageKind kind,
                     std::span<const SControlTemplate> controls,
                     std::span<const SLayoutEntry> layout, QWidget* parent)
    : QScrollArea(parent), m_context(context), m_kind(kind), m_layout(layout) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    // The page is white in the usual light palette; in a dark one it follows the palette so
    // that the system's text colour stays readable on it.
    setBackgroundRole(QPalette::Base);
    m_page = new QWidget;
    m_page->setAutoFillBackground(true);
    QPalette palette = m_page->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    m_page->setPalette(palette);
    setWidget(m_page);
    m_page->installEventFilter(this);
    viewport()->installEventFilter(this);

    BuildControls(controls);
    m_templateRects = LayoutRects();
    m_rects = m_templateRects;
    m_bindings = std::make_unique<CPageBindings>(
        m_context, [this](int id) { return Control(id); }, this);
    if (QWidget* title = Title()) {
        // The title takes the focus from a field that is left by a click on the page, so that
        // the field commits; it stays out of the tab chain.
        title->setFocusPolicy(Qt::ClickFocus);
        setFocusProxy(title);
    }
}

CBaseView::~CBaseView() = default;

void CBaseView::BuildControls(std::span<const SControlTemplate> controls) {
    QString mnemonics;
    for (const SControlTemplate& control : controls) {
        QWidget* widget = MakeControl(control, m_page, mnemonics);
        widget->setGeometry(control.rect);
        widget->setProperty("controlId", control.id);
        widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        widget->installEventFilter(this);
        m_controls[control.id] = widget;
        m_ids[widget] = control.id;
    }
    for (const SControlTemplate& control : controls) {
        if (control.buddy == 0) {
            continue;
        }
        auto* label = qobject_cast<QLabel*>(m_controls[control.id]);
        QWidget* named = Control(control.buddy);
        if (label != nullptr && named != nullptr) {
            label->setBuddy(named);
            named->setAccessibleName(QString(label->text()).remove(u'&'));
        }
    }
}

QWidget* CBaseView::Control(int controlId) const {
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

QWidget* CBaseView::Title() const {
    return m_layout.empty() ? nullptr : Control(m_layout[0].id);
}

const SLayoutEntry* CBaseView::LayoutEntry(int controlId) const {
    for (const SLayoutEntry& entry : m_layout) {
        if (entry.id == 0) {
            break;
        }
        if (entry.id == controlId && entry.style != ELayoutStyle::ColumnEnd) {
            return &entry;
        }
    }
    return nullptr;
}

bool CBaseView::CanLeavePage() {
    return m_bindings->CommitPending();
}

int CBaseView::FocusNameEdit() {
    return 0;
}

void CBaseView::LoadData() {}

void CBaseView::LoadRes() {}

void CChoiceBox::showPopup() {
    Q_EMIT PopupAboutToShow();
    QComboBox::showPopup();
}

QRect CBaseView::LayoutRect(int controlId) const {
    for (std::size_t i = 0; i < m_layout.size() && m_layout[i].id != 0; ++i) {
        if (m_layout[i].id == controlId && m_layout[i].style != ELayoutStyle::ColumnEnd) {
            return m_rects[i];
        }
    }
    return {};
}

void CBaseView::SetLayoutRect(int controlId, const QRect& rect) {
    for (std::size_t i = 0; i < m_layout.size() && m_layout[i].id != 0; ++i) {
        if (m_layout[i].id == controlId && m_layout[i].style != ELayoutStyle::ColumnEnd) {
            m_rects[i] = rect;
        }
    }
}

void CBaseView::Relayout() {
    Recentre();
}

void CBaseView::OnInitialUpdate() {}

void CBaseView::OnUpdate(quint32 /*hint*/) {}

void CBaseView::NotifyViews(quint32 hint) {
    if (m_context.navigator != nullptr) {
        m_context.navigator->NotifyViews(this, hint);
    }
}

void CBaseView::InitialUpdate() {
    if (m_initialised) {
        return;
    }
    m_root = m_context.document.Model().RootItem();
    m_initialised = true;
    ApplyFontsAndBars();
    try {
        LoadRes();
        LoadData();
    } catch (CVeskCPSException&) {
        // What was filled is laid out as it would have been.
        Recentre();
        throw;
    }
    Recentre();
    OnInitialUpdate();
}

void CBaseView::ApplyFontsAndBars() {
    m_titleFont = font();
    m_titleFont.setPointSizeF(12.0);
    m_titleFont.setWeight(QFont::Bold);
    m_sectionFont = font();
    m_sectionFont.setPointSizeF(10.8);
    m_sectionFont.setWeight(QFont::DemiBold);
    for (const SLayoutEntry& entry : m_layout) {
        if (entry.id == 0) {
            break;
        }
        QWidget* widget = Control(entry.id);
        if (widget == nullptr || entry.style == ELayoutStyle::ColumnEnd) {
            continue;
        }
        if (entry.style == ELayoutStyle::Title) {
            widget->setFont(m_titleFont);
        } else if (entry.style == ELayoutStyle::Section) {
            widget->setFont(m_sectionFont);
        }
    }
}

void CBaseView::ApplyVisibleSetting(const QString& visibilityName) {
    if (m_root.IsEmpty()) {
        m_root = m_context.document.Model().RootItem();
    }
    const QString model = m_root.GetChildByName(QStringLiteral("factory_setting"))
                              .GetAttributeValue(QStringLiteral("model"))
                              .toString();
    const std::vector<SVisibilityEntry> entries =
        m_context.settings.PageVisibilityEntries(m_context.regionName, visibilityName);
    const QSet<int> visible = VisibleControlIds(entries, ModelClassesOf(model));
    for (const auto& [id, widget] : m_controls) {
        if (!visible.contains(id)) {
            widget->hide();
        }
    }
    CollapseGapsNow();
    Recentre();
}

std::vector<QRect> CBaseView::LayoutRects() const {
    std::vector<QRect> rects;
    for (const SLayoutEntry& entry : m_layout) {
        QWidget* widget = entry.style == ELayoutStyle::ColumnEnd ? nullptr : Control(entry.id);
        rects.push_back(widget != nullptr ? widget->geometry() : QRect());
    }
    return rects;
}

std::vector<bool> CBaseView::LayoutHidden() const {
    std::vector<bool> hidden;
    for (const SLayoutEntry& entry : m_layout) {
        QWidget* widget = entry.style == ELayoutStyle::ColumnEnd ? nullptr : Control(entry.id);
        hidden.push_back(widget == nullptr || widget->isHidden());
    }
    return hidden;
}

namespace {

// std::vector<bool> has no contiguous storage to span over.
struct SFlags {
    explicit SFlags(const std::vector<bool>& flags)
        : data(std::make_unique<bool[]>(flags.size())), size(flags.size()) {
        std::copy(flags.begin(), flags.end(), data.get());
    }
    std::span<const bool> Span() const { return {data.get(), size}; }
    std::unique_ptr<bool[]> data;
    std::size_t size;
};

}  // namespace

void CBaseView::CollapseGapsNow() {
    const SFlags hidden(LayoutHidden());
    m_rects = CollapseGaps(m_layout, m_templateRects, hidden.Span());
    m_page->update();
}

void CBaseView::Recentre() {
    if (!m_initialised || viewport()->height() == 0 || m_recentring) {
        return;
    }
    m_recentring = true;
    // Resizing the page may show or hide a scroll bar, which narrows or widens the viewport:
    // centre again for the width that results.
    for (int pass = 0; pass < 3; ++pass) {
        const int width = viewport()->width();
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        const SFlags hidden(LayoutHidden());
        const SCentredPage centred = CentrePage(m_layout, m_rects, hidden.Span(), width, m_content);
        for (std::size_t i = 0; i < m_layout.size() && m_layout[i].id != 0; ++i) {
            QWidget* widget =
                m_layout[i].style == ELayoutStyle::ColumnEnd ? nullptr : Control(m_layout[i].id);
            if (widget != nullptr) {
                widget->setGeometry(centred.rects[i]);
            }
        }
        m_content = centred.content;
        m_scrollSize = centred.scrollSize;
        m_page->resize(std::max(m_scrollSize.width(), width),
                       std::max(m_scrollSize.height(), viewport()->height()));
        if (viewport()->width() == width) {
            break;
        }
    }
    m_page->update();
    m_recentring = false;
}

void CBaseView::ShowControlHelp(int controlId) {
    if (!m_context.showHelpTopic) {
        return;
    }
    const QString helpName = QString::fromLatin1(PageKindNames(m_kind).helpName);
    m_context.showHelpTopic(
        m_context.settings.HelpPage(helpName, QString::number(controlId), QString()));
}

QRect CBaseView::GetCtrlRect(int controlId) const {
    const QWidget* widget = Control(controlId);
    if (widget == nullptr) {
        throw CVeskCPSException(kMsgConvertCoordinate, QStringLiteral("CBaseView::GetCtrlRect"),
                                QStringLiteral("ID=%1").arg(controlId));
    }
    return widget->geometry();
}

void CBaseView::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    if (m_initialised) {
        return;
    }
    try {
        InitialUpdate();
    } catch (const CVeskCPSException& error) {
        ShowModelException(m_context.prompt, error);
    }
}

bool CBaseView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
            if (watched == viewport()) {
                Recentre();
            }
            break;
        case QEvent::MouseButtonPress:
            if (watched == m_page) {
                if (QWidget* title = Title(); title != nullptr && !title->isHidden()) {
                    title->setFocus(Qt::MouseFocusReason);
                }
            }
            break;
        case QEvent::FocusIn:
            if (const auto found = m_ids.find(watched); found != m_ids.end()) {
                ShowControlHelp(found->second);
            }
            break;
        default:
            break;
    }
    return QScrollArea::eventFilter(watched, event);
}
