#pragma once

// The Channels page: the landing page of the tree's Channels node, with one large button that
// adds a channel (the tree adds it and shows its page).

#include "editor/base_view.h"

class CChannelsView : public CBaseView {
    Q_OBJECT

public:
    enum ControlId : int {
        kAddChannel = 1041,
        kTitle = 1061,
        kCaption = 1068,
    };

    explicit CChannelsView(const SPageContext& context, QWidget* parent = nullptr);

protected:
    void LoadRes() override;
    void OnInitialUpdate() override;

private:
    void OnAddClicked();
};
