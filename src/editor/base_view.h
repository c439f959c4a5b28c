#pragma once

// The common part of every form page: the page template (controls by id and rectangle), the
// layout table, the bars and fonts, hiding what a radio model does not have and closing the gaps
// it leaves, centring and scrolling, the help of the focused control, and the order in which a
// page is first filled (resources, then data).

#include <map>
#include <memory>
#include <span>
#include <vector>

#include <QComboBox>
#include <QFont>
#include <QRect>
#include <QScrollArea>
#include <QString>

#include "editor/layout_collapse.h"
#include "editor/page_bindings.h"
#include "editor/page_context.h"
#include "editor/page_kind.h"
#include "model/data_item.h"

class QLabel;

enum class EControlKind {
    Label,         // static text; with a buddy it names that control
    Bar,           // page title or section header: the layout table's style gives its font
    Text,          // editable one-line text
    ReadOnlyText,  // one-line text the user can select but not change
    Check,
    Choice,  // drop-down list
    Frame,   // a box around a group, with its caption
    Button,
    List,  // rows in columns (a QTreeWidget without branches); the page sets up its columns
};

// One control of a page template, in the page's visual order (which is also its tab order).
// Rectangles are in pixels at the template's design size.
struct SControlTemplate {
    int id;
    EControlKind kind;
    QRect rect;
    int text;   // the caption's string-table id, 0 for none; labels that name a control, check
                // boxes, frames and buttons are given a free mnemonic when the text has none
    int buddy;  // for a label: the id of the control it names; 0 for none
};

// A page's drop-down list: says when its list is about to open, for pages that change their
// items at that moment (the channel page's "Out of range").
class CChoiceBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;

Q_SIGNALS:
    void PopupAboutToShow();
};

class CBaseView : public QScrollArea {
    Q_OBJECT

public:
    // The one failure of the page framework that can happen here: asking for the rectangle of a
    // control the page does not have. Colouring, painting and resizing cannot fail with Qt.
    static constexpr int kMsgConvertCoordinate = 145;

    // The bars' colours.
    static constexpr QRgb kBarColour = 0xFFC0C0FF;  // red 192, green 192, blue 255
    static constexpr QRgb kBarTextColour = 0xFFFFFFFF;

    CBaseView(const SPageContext& context, PageKind kind,
              std::span<const SControlTemplate> controls, std::span<const SLayoutEntry> layout,
              QWidget* parent = nullptr);
    ~CBaseView() override;

    PageKind Kind() const { return m_kind; }

    // Asked before the tree selection moves away: a page with typing not yet committed commits
    // it here, and stays when that fails.
    virtual bool CanLeavePage();
    // The channel page selects its name; others do nothing.
    virtual int FocusNameEdit();
    // A change another view of the profile made (view_hint layout); default nothing.
    virtual void OnUpdate(quint32 hint);

    // The first show: fonts and bars, LoadRes, LoadData, then collapsing, centring and
    // scrolling, then the page's own first-show code. Raises the model's exception when the page
    // cannot be filled; the page stays as far as it got. Showing a page that was not initialised
    // runs it and tells such a failure.
    void InitialUpdate();
    bool IsInitialised() const { return m_initialised; }

    // Hides what the visible settings do not enable for this page and this profile's model,
    // then collapses the gaps and scrolls again.
    void ApplyVisibleSetting(const QString& visibilityName);
    // Points the help pane at the control's topic (an empty topic when it has none).
    void ShowControlHelp(int controlId);
    // The control's rectangle in page coordinates; 145 when the page has no such control.
    QRect GetCtrlRect(int controlId) const;

    QWidget* Control(int controlId) const;
    template <class T>
    T* ControlAs(int controlId) const {
        return qobject_cast<T*>(Control(controlId));
    }
    // The title control (the first entry of the layout table).
    QWidget* Title() const;
    // What the page scrolls over.
    QSize ScrollSize() const { return m_scrollSize; }

protected:
    virtual void LoadData();
    virtual void LoadRes();
    // The page's own first-show code, after the base part.
    virtual void OnInitialUpdate();

    const SPageContext& Context() const { return m_context; }
    // Tells the tree (and any other view of the profile) of a change this page made.
    void NotifyViews(quint32 hint);
    CDataItem& RootItem() { return m_root; }
    const CDataItem& RootItem() const { return m_root; }
    CPageBindings& Bindings() { return *m_bindings; }
    const SLayoutEntry* LayoutEntry(int controlId) const;
    // Where a laid-out control sits after collapsing and before centring; a page that arranges
    // rows itself (the channel page's single column) moves them here, then calls Relayout().
    QRect LayoutRect(int controlId) const;
    void SetLayoutRect(int controlId, const QRect& rect);
    void Relayout();

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls(std::span<const SControlTemplate> controls);
    void ApplyFontsAndBars();
    void CollapseGapsNow();
    void Recentre();
    std::vector<QRect> LayoutRects() const;
    std::vector<bool> LayoutHidden() const;

    SPageContext m_context;
    PageKind m_kind;
    std::span<const SLayoutEntry> m_layout;
    QWidget* m_page = nullptr;  // the white surface the controls sit on
    std::map<int, QWidget*> m_controls;
    std::map<QObject*, int> m_ids;
    // Where each layout entry sits in the template, and after collapsing, before centring
    // (parallel to m_layout).
    std::vector<QRect> m_templateRects;
    std::vector<QRect> m_rects;
    QRect m_content;
    QSize m_scrollSize;
    QFont m_titleFont;
    QFont m_sectionFont;
    CDataItem m_root;
    std::unique_ptr<CPageBindings> m_bindings;
    bool m_initialised = false;
    bool m_recentring = false;
};
