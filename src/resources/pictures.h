#pragma once

// The pictures compiled into the program, by name, so that a misspelt icon is a compile error
// rather than an empty toolbar button.

#include <QString>

enum class EPicture {
    About,
    Add,
    Copy,
    Cut,
    Delete,
    New,
    Open,
    Paste,
    Read,
    Report,
    Save,
    ProgramIcon,
    Write,
    Splash,
};

// The resource path (":/icons/new.svg", ":/splash.svg") for QIcon, QPixmap or QSvgRenderer.
QString PicturePath(EPicture picture);
