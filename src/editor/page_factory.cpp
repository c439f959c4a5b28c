#include "editor/page_factory.h"

#include "editor/audio_setting_view.h"
#include "editor/buttons_view.h"
#include "editor/channel_view.h"
#include "editor/channels_view.h"
#include "editor/customized_kt_view.h"
#include "editor/customized_vrc_view.h"
#include "editor/frequency_view.h"
#include "editor/radio_info_view.h"
#include "editor/scan_view.h"
#include "editor/setting_view.h"

CBaseView* CreateFormPage(PageKind kind, const SPageContext& context, QWidget* parent) {
    switch (kind) {
        case PageKind::RadioInfo:
            return new CRadioInfoView(context, parent);
        case PageKind::GeneralSettings:
            return new CSettingView(context, parent);
        case PageKind::AudioSettings:
            return new CAudioSettingView(context, parent);
        case PageKind::Buttons:
            return new CButtonsView(context, parent);
        case PageKind::RFFrequency:
            return new CFrequencyView(context, parent);
        case PageKind::Channels:
            return new CChannelsView(context, parent);
        case PageKind::Channel:
            return new CChannelView(context, parent);
        case PageKind::ScanList:
            return new CScanView(context, parent);
        case PageKind::CustomizedKT:
            return new CCustomizedKTView(context, parent);
        case PageKind::CustomizedVRC:
            return new CCustomizedVRCView(context, parent);
        default:
            return nullptr;
    }
}
