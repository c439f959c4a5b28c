#include "editor/channels_view.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "editor/tree_view.h"
#include "platform/string_table.h"
#include "resources/pictures.h"

namespace {

using Id = CChannelsView::ControlId;

constexpr int kTextTitle = 229;
constexpr int kTextAddChannel = 230;

constexpr SControlTemplate kControls[] = {
    {Id::kTitle, EControlKind::Bar, QRect(15, 15, 300, 28), kTextTitle, 0},
    {Id::kAddChannel, EControlKind::Button, QRect(125, 70, 80, 72), 0, 0},
    {Id::kCaption, EControlKind::Label, QRect(65, 150, 200, 24), kTextAddChannel, Id::kAddChannel},
};

constexpr SLayoutEntry kLayout[] = {
    {Id::kTitle, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    {Id::kAddChannel, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {Id::kCaption, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

}  // namespace

CChannelsView::CChannelsView(const SPageContext& context, QWidget* parent)
    : CBaseView(context, PageKind::Channels, kControls, kLayout, parent) {
    auto* button = ControlAs<QPushButton>(Id::kAddChannel);
    button->setIconSize(QSize(48, 48));
    connect(button, &QPushButton::clicked, this, &CChannelsView::OnAddClicked);
    ControlAs<QLabel>(Id::kCaption)->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void CChannelsView::LoadRes() {
    // The button shows only its picture; the caption under it names it, also to a screen reader.
    auto* button = ControlAs<QPushButton>(Id::kAddChannel);
    const QString name = CStringTable::Instance().Text(kTextAddChannel);
    button->setAccessibleName(name);
    button->setToolTip(name);
}

void CChannelsView::OnInitialUpdate() {
    ApplyVisibleSetting(QString::fromLatin1(PageKindNames(PageKind::Channels).visibilityName));
    auto* button = ControlAs<QPushButton>(Id::kAddChannel);
    button->setIcon(QIcon(PicturePath(EPicture::Add)));
    button->setEnabled(RootItem().GetChildByName(QStringLiteral("channels")).CanAddChild());
}

void CChannelsView::OnAddClicked() {
    ShowControlHelp(Id::kAddChannel);
    NotifyViews(view_hint::Make(view_hint::kItemAdded, quint16(PageKind::Channels)));
}
