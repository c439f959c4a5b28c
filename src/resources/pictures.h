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
    // The report choice list's pictures, drawn for 25 x 20 rather than the toolbar's squares.
    HandoutReport,
    DetailedReport,
};

// The resource path (":/icons/new.svg", ":/splash.svg") for QIcon, QPixmap or QSvgRenderer.
QString PicturePath(EPicture picture);
