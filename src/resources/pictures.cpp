#include "resources/pictures.h"

QString PicturePath(EPicture picture) {
    switch (picture) {
        case EPicture::About:
            return QStringLiteral(":/icons/about.svg");
        case EPicture::Add:
            return QStringLiteral(":/icons/add.svg");
        case EPicture::Copy:
            return QStringLiteral(":/icons/copy.svg");
        case EPicture::Cut:
            return QStringLiteral(":/icons/cut.svg");
        case EPicture::Delete:
            return QStringLiteral(":/icons/delete.svg");
        case EPicture::New:
            return QStringLiteral(":/icons/new.svg");
        case EPicture::Open:
            return QStringLiteral(":/icons/open.svg");
        case EPicture::Paste:
            return QStringLiteral(":/icons/paste.svg");
        case EPicture::Read:
            return QStringLiteral(":/icons/read.svg");
        case EPicture::Report:
            return QStringLiteral(":/icons/report.svg");
        case EPicture::Save:
            return QStringLiteral(":/icons/save.svg");
        case EPicture::ProgramIcon:
            return QStringLiteral(":/icons/veskcps.svg");
        case EPicture::Write:
            return QStringLiteral(":/icons/write.svg");
        case EPicture::Splash:
            return QStringLiteral(":/splash.svg");
        case EPicture::HandoutReport:
            return QStringLiteral(":/icons/report_handout.svg");
        case EPicture::DetailedReport:
            return QStringLiteral(":/icons/report_detailed.svg");
    }
    return {};
}
