#include "editor/layout_collapse.h"

#include <algorithm>

namespace {

bool EndsTable(const SLayoutEntry& entry) {
    return entry.id == 0;
}

// Whether the entry after `index` closes the run that `index` belongs to.
bool EndsRun(std::span<const SLayoutEntry> table, std::size_t index) {
    const std::size_t next = index + 1;
    return next >= table.size() || EndsTable(table[next]) ||
           table[next].style == ELayoutStyle::ColumnEnd ||
           table[next].column != table[index].column;
}

// Walks one run of entries of the same column from `begin`, moving each control up by the running
// shift. Returns the shift that leaves the run and the index after it.
int CollapseRun(std::span<const SLayoutEntry> table, std::span<const bool> hidden,
                std::vector<QRect>& rects, std::size_t& index, int shift) {
    for (;;) {
        const SLayoutEntry& entry = table[index];
        if (shift != 0) {
            rects[index].translate(0, -shift);
        }
        const bool last = EndsRun(table, index);
        if (hidden[index]) {
            if (last) {
                shift += rects[index].height() + kRowGap;
            } else {
                // The next control takes the hidden control's place.
                shift = rects[index + 1].top() - rects[index].top();
            }
            if (entry.keep != 0 || (!last && table[index + 1].keep != 0)) {
                shift = 0;
            }
        }
        ++index;
        if (last) {
            return shift;
        }
    }
}

}  // namespace

std::vector<QRect> CollapseGaps(std::span<const SLayoutEntry> table, std::span<const QRect> rects,
                                std::span<const bool> hidden) {
    std::vector<QRect> result(rects.begin(), rects.end());
    if (table.empty() || EndsTable(table[0]) || rects.size() < table.size() ||
        hidden.size() < table.size()) {
        return result;
    }
    int shift = rects[0].top() - kTitleMargin;
    std::size_t index = 0;
    while (index < table.size() && !EndsTable(table[index])) {
        if (table[index].style == ELayoutStyle::ColumnEnd) {
            ++index;
            continue;
        }
        if (table[index].column == ELayoutColumn::Full) {
            shift = CollapseRun(table, hidden, result, index, shift);
            continue;
        }
        // A two-column block: every column starts from the shift that enters the block, and the
        // rows below rise only as far as the column that gave back less.
        const std::size_t blockBegin = index;
        const int incoming = shift;
        int outgoing = 0;
        bool first = true;
        while (index < table.size() && !EndsTable(table[index]) &&
               (table[index].style == ELayoutStyle::ColumnEnd ||
                table[index].column != ELayoutColumn::Full)) {
            if (table[index].style == ELayoutStyle::ColumnEnd) {
                ++index;
                continue;
            }
            const int columnShift = CollapseRun(table, hidden, result, index, incoming);
            outgoing = first ? columnShift : std::min(outgoing, columnShift);
            first = false;
        }
        const int freed = outgoing - incoming;
        for (std::size_t i = blockBegin; i < index; ++i) {
            if (table[i].style == ELayoutStyle::Frame && result[i].height() - freed > 0) {
                result[i].setBottom(result[i].bottom() - freed);
            }
        }
        shift = outgoing;
    }
    return result;
}

SCentredPage CentrePage(std::span<const SLayoutEntry> table, std::span<const QRect> rects,
                        std::span<const bool> hidden, int pageWidth, const QRect& previousContent) {
    SCentredPage page{std::vector<QRect>(rects.begin(), rects.end()), QRect(), QSize()};
    if (table.empty() || EndsTable(table[0]) || rects.size() < table.size() ||
        hidden.size() < table.size()) {
        return page;
    }
    std::size_t count = 1;
    for (; count < table.size() && !EndsTable(table[count]); ++count) {
        if (table[count].style != ELayoutStyle::ColumnEnd && !hidden[count]) {
            page.content = page.content.united(rects[count]);
        }
    }
    if (page.content.isNull()) {
        page.content = previousContent;
    }
    int width = page.content.width() + 2 * kTitleMargin;
    if (width < pageWidth) {
        width = pageWidth - 2 * kTitleMargin;
    }
    const QRect title(kTitleMargin, kTitleMargin, width, kTitleHeight);
    const int dx = title.center().x() - rects[0].center().x();
    page.rects[0] = title;
    for (std::size_t i = 1; i < count; ++i) {
        page.rects[i].translate(dx, 0);
    }
    const int top = std::min(page.content.top(), title.bottom() + 1);
    // Wide enough for the whole title bar and its margin as well: in a window narrower than the
    // content the title is wider than the content's own margins and would be cut off.
    const int scrollWidth =
        std::max(page.content.width() + 2 * kTitleMargin, title.right() + 1 + kTitleMargin);
    page.scrollSize = QSize(scrollWidth, page.content.bottom() + 1 + 58 - top);
    return page;
}
