#pragma once

// How a page closes the gaps that hidden controls leave and how it centres its rows, as pure
// functions over the page's layout table and its controls' rectangles, so that the arithmetic is
// tested without a window.

#include <span>
#include <vector>

#include <QRect>
#include <QSize>
#include <QtGlobal>

enum class ELayoutStyle : qint32 {
    Plain = 0,
    Section = 1,    // section header: section font, coloured bar
    Title = 2,      // page title: title font, coloured bar
    Frame = 3,      // a box around a group; shrinks when rows inside it collapse
    ColumnEnd = 4,  // not a control: closes the run of a column
};

enum class ELayoutColumn : qint32 { Full = 0, Left = 1, Right = 2 };

// One row of a page's layout table, in the vertical order of the page. The first entry is the
// page title. A table may end early with an entry whose id is 0.
struct SLayoutEntry {
    qint32 id;
    ELayoutStyle style;
    ELayoutColumn column;
    qint32 keep;  // non-zero: no gap collapses across this control
};

// The gap between rows that a hidden last row of a run gives back with its own height.
inline constexpr int kRowGap = 15;
// The title's place and height; the page's margins around its content.
inline constexpr int kTitleMargin = 15;
inline constexpr int kTitleHeight = 28;

// `rects` and `hidden` run parallel to `table` (a column-end marker's rectangle is ignored).
// Returns the rectangles after collapsing: every control moves up by the running shift, a hidden
// control hands its place to the next one, and a frame in a two-column block is shortened by what
// the block gave back, when it keeps a positive height.
std::vector<QRect> CollapseGaps(std::span<const SLayoutEntry> table, std::span<const QRect> rects,
                                std::span<const bool> hidden);

struct SCentredPage {
    std::vector<QRect> rects;  // parallel to the table
    QRect content;             // union of the visible controls after the title, before moving
    QSize scrollSize;          // what the page scrolls over
};

// Centres the rows under the title for a page window `pageWidth` wide. `previousContent` is kept
// when no control after the title is visible.
SCentredPage CentrePage(std::span<const SLayoutEntry> table, std::span<const QRect> rects,
                        std::span<const bool> hidden, int pageWidth, const QRect& previousContent);
