// The page framework's arithmetic without a window: gap collapsing, centring and the visible
// controls of a page, over a small page with a full-width run, a two-column block with a frame in
// each column, and a row below the block.

#include "editor/layout_collapse.h"

#include <array>
#include <map>
#include <set>
#include <vector>

#include "editor/page_visibility.h"

#include <gtest/gtest.h>

// Readable rectangles and sizes in failure messages (found by argument-dependent lookup).
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << "QSize(" << s.width() << ", " << s.height() << ")";
}

namespace {

constexpr ELayoutStyle P = ELayoutStyle::Plain;
constexpr ELayoutColumn Full = ELayoutColumn::Full;
constexpr ELayoutColumn Left = ELayoutColumn::Left;
constexpr ELayoutColumn Right = ELayoutColumn::Right;

struct SPlaced {
    SLayoutEntry entry;
    QRect rect;
};

// Title; rows A and B; left column: header, frame (height 80), rows L1, L2; right column: header,
// frame (height 60), rows R1, R2; row C below the block.
const std::vector<SPlaced> kPage = {
    {{1, ELayoutStyle::Title, Full, 0}, QRect(15, 15, 400, 28)},
    {{2, P, Full, 0}, QRect(20, 60, 100, 20)},
    {{3, P, Full, 0}, QRect(20, 90, 100, 20)},
    {{10, ELayoutStyle::Section, Left, 0}, QRect(20, 120, 180, 20)},
    {{13, ELayoutStyle::Frame, Left, 0}, QRect(15, 145, 190, 80)},
    {{11, P, Left, 0}, QRect(20, 150, 180, 20)},
    {{12, P, Left, 0}, QRect(20, 180, 180, 20)},
    {{99, ELayoutStyle::ColumnEnd, Left, 0}, QRect()},
    {{20, ELayoutStyle::Section, Right, 0}, QRect(220, 120, 180, 20)},
    {{23, ELayoutStyle::Frame, Right, 0}, QRect(215, 145, 190, 60)},
    {{21, P, Right, 0}, QRect(220, 150, 180, 20)},
    {{22, P, Right, 0}, QRect(220, 180, 180, 20)},
    {{98, ELayoutStyle::ColumnEnd, Right, 0}, QRect()},
    {{30, P, Full, 0}, QRect(20, 235, 100, 20)},
    {{0, P, Full, 0}, QRect()},
};

struct SPageData {
    std::vector<SLayoutEntry> table;
    std::vector<QRect> rects;
    std::vector<bool> hiddenFlags;
    std::unique_ptr<bool[]> hidden;

    SPageData(const std::set<int>& hiddenIds, const std::set<int>& keepIds) {
        for (const SPlaced& placed : kPage) {
            SLayoutEntry entry = placed.entry;
            entry.keep = keepIds.contains(entry.id) ? 1 : 0;
            table.push_back(entry);
            rects.push_back(placed.rect);
            hiddenFlags.push_back(hiddenIds.contains(entry.id));
        }
        hidden = std::make_unique<bool[]>(hiddenFlags.size());
        std::copy(hiddenFlags.begin(), hiddenFlags.end(), hidden.get());
    }
    std::span<const bool> Hidden() const { return {hidden.get(), hiddenFlags.size()}; }
};

struct SCollapseRow {
    const char* name;
    std::set<int> hidden;
    std::set<int> keep;
    // id -> expected top; ids not named keep their top. Frames: id -> expected height.
    std::map<int, int> tops;
    std::map<int, int> frameHeights;
};

class CollapseRows : public testing::TestWithParam<SCollapseRow> {};

TEST_P(CollapseRows, MovesRowsAsTheHiddenControlsAllow) {
    const SCollapseRow& row = GetParam();
    const SPageData page(row.hidden, row.keep);
    const std::vector<QRect> result = CollapseGaps(page.table, page.rects, page.Hidden());
    ASSERT_EQ(result.size(), page.rects.size());
    for (std::size_t i = 0; i < kPage.size(); ++i) {
        const int id = kPage[i].entry.id;
        if (id == 0 || kPage[i].entry.style == ELayoutStyle::ColumnEnd) {
            continue;
        }
        const auto top = row.tops.find(id);
        EXPECT_EQ(result[i].top(), top == row.tops.end() ? page.rects[i].top() : top->second)
            << "control " << id;
        const auto height = row.frameHeights.find(id);
        EXPECT_EQ(result[i].height(),
                  height == row.frameHeights.end() ? page.rects[i].height() : height->second)
            << "control " << id;
        EXPECT_EQ(result[i].left(), page.rects[i].left()) << "control " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    LayoutCollapse, CollapseRows,
    testing::Values(
        SCollapseRow{"NothingHidden", {}, {}, {}, {}},
        // Nothing below the block rises: the right column gives nothing back.
        SCollapseRow{"HiddenLastRowOfOneColumn", {12}, {}, {}, {}},
        SCollapseRow{
            "HiddenLastRowsOfBothColumns", {12, 22}, {}, {{30, 200}}, {{13, 45}, {23, 25}}},
        // Left gives back 65, right 35: the block lets the rows below rise by 35.
        SCollapseRow{"OutgoingShiftIsTheSmallerColumn",
                     {11, 12, 22},
                     {},
                     {{12, 150}, {30, 200}},
                     {{13, 45}, {23, 25}}},
        // 65 freed: the left frame (80) keeps 15, the right frame (60) would vanish and stays.
        SCollapseRow{"FrameShrinksOnlyWhileItKeepsAHeight",
                     {11, 12, 21, 22},
                     {},
                     {{12, 150}, {22, 150}, {30, 170}},
                     {{13, 15}}},
        SCollapseRow{"HiddenFullWidthRowHandsItsPlaceOn",
                     {2},
                     {},
                     {{3, 60},
                      {10, 90},
                      {13, 115},
                      {11, 120},
                      {12, 150},
                      {20, 90},
                      {23, 115},
                      {21, 120},
                      {22, 150},
                      {30, 205}},
                     {}},
        SCollapseRow{"KeepFlagStopsTheCollapse", {2}, {3}, {}, {}},
        SCollapseRow{"HiddenLastFullWidthRowBeforeTheBlock",
                     {3},
                     {},
                     {{10, 85},
                      {13, 110},
                      {11, 115},
                      {12, 145},
                      {20, 85},
                      {23, 110},
                      {21, 115},
                      {22, 145},
                      {30, 200}},
                     {}},
        SCollapseRow{"EverythingHidden",
                     {1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30},
                     {},
                     {{2, 15},
                      {3, 15},
                      {10, 10},
                      {13, 10},
                      {11, 10},
                      {12, 10},
                      {20, 10},
                      {23, 10},
                      {21, 10},
                      {22, 10},
                      {30, 30}},
                     {}}),
    [](const testing::TestParamInfo<SCollapseRow>& row) { return row.param.name; });

TEST(LayoutCollapse, TitleMovesToTheTopMargin) {
    SPageData page({}, {});
    page.rects[0].moveTop(40);
    for (std::size_t i = 1; i < page.rects.size(); ++i) {
        page.rects[i].translate(0, 25);
    }
    const std::vector<QRect> result = CollapseGaps(page.table, page.rects, page.Hidden());
    for (std::size_t i = 0; i < kPage.size() - 1; ++i) {
        if (kPage[i].entry.style != ELayoutStyle::ColumnEnd) {
            EXPECT_EQ(result[i].top(), kPage[i].rect.top()) << "control " << kPage[i].entry.id;
        }
    }
}

struct SCentreRow {
    const char* name;
    int pageWidth;
    QRect title;
    int dx;
    QSize scrollSize;
};

class CentreRows : public testing::TestWithParam<SCentreRow> {};

// The content spans x 15..404 and y 60..254 (390 by 195).
TEST_P(CentreRows, CentresUnderTheTitleAndScrollsOverEverything) {
    const SCentreRow& row = GetParam();
    const SPageData page({}, {});
    const SCentredPage centred =
        CentrePage(page.table, page.rects, page.Hidden(), row.pageWidth, QRect());
    EXPECT_EQ(centred.content, QRect(15, 60, 390, 195));
    EXPECT_EQ(centred.rects[0], row.title);
    for (std::size_t i = 1; i < kPage.size() - 1; ++i) {
        EXPECT_EQ(centred.rects[i], page.rects[i].translated(row.dx, 0))
            << "control " << kPage[i].entry.id;
    }
    EXPECT_EQ(centred.scrollSize, row.scrollSize);
    // The whole title bar and its margin can be scrolled to.
    EXPECT_GE(centred.scrollSize.width(), row.title.right() + 1 + kTitleMargin);
}

INSTANTIATE_TEST_SUITE_P(
    LayoutCollapse, CentreRows,
    testing::Values(SCentreRow{"WideWindow", 800, QRect(15, 15, 770, 28), 185, QSize(800, 270)},
                    // Narrower than the content: the title stays content + 30 wide and the page
                    // scrolls sideways.
                    SCentreRow{"NarrowWindow", 300, QRect(15, 15, 420, 28), 10, QSize(450, 270)}),
    [](const testing::TestParamInfo<SCentreRow>& row) { return row.param.name; });

TEST(LayoutCollapse, NothingVisibleKeepsThePreviousContent) {
    const SPageData page({1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30}, {});
    const QRect previous(15, 60, 390, 195);
    const SCentredPage centred = CentrePage(page.table, page.rects, page.Hidden(), 800, previous);
    EXPECT_EQ(centred.content, previous);
    EXPECT_EQ(centred.scrollSize, QSize(800, 270));
}

struct SVisibilityRow {
    const char* name;
    std::vector<SVisibilityEntry> entries;
    const char* model;
    std::set<int> visible;
};

class VisibilityRows : public testing::TestWithParam<SVisibilityRow> {};

TEST_P(VisibilityRows, ShowsWhatTheEntriesForTheModelsClassList) {
    const SVisibilityRow& row = GetParam();
    const QSet<int> ids =
        VisibleControlIds(row.entries, ModelClassesOf(QString::fromLatin1(row.model)));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()), row.visible);
}

const QString kDisplay = QStringLiteral("Display");
const QString kNonDisplay = QStringLiteral("NonDisplay");
const QString kRepeater = QStringLiteral("Repeater");
const QString kHandheld = QStringLiteral("Handheld");

INSTANTIATE_TEST_SUITE_P(
    PageVisibility, VisibilityRows,
    testing::Values(
        SVisibilityRow{"NothingListedShowsNothing", {}, "CUD41600", {}},
        SVisibilityRow{"DisplayGroupForADisplayModel",
                       {{"", 1, {}}, {kDisplay, 2, {}}, {kNonDisplay, 3, {}}},
                       "CUD41600",
                       {1, 2}},
        SVisibilityRow{"LowerCaseDMarksADisplay",
                       {{"", 1, {}}, {kDisplay, 2, {}}, {kNonDisplay, 3, {}}},
                       "CUd41600",
                       {1, 2}},
        SVisibilityRow{"NonDisplayGroupForTheOthers",
                       {{"", 1, {}}, {kDisplay, 2, {}}, {kNonDisplay, 3, {}}},
                       "CUR40800",
                       {1, 3}},
        SVisibilityRow{
            "ShortModelIsNoDisplay", {{kDisplay, 2, {}}, {kNonDisplay, 3, {}}}, "CU", {3}},
        // Switched off by one entry, named again by another: stays hidden.
        SVisibilityRow{"SwitchedOffWinsOverAnotherEntry",
                       {{"", 1, true}, {"", 2, {}}, {kNonDisplay, 2, false}, {"", 3, true}},
                       "CUR40800",
                       {1, 3}},
        SVisibilityRow{"SwitchOffInTheOtherClassChangesNothing",
                       {{"", 2, {}}, {kNonDisplay, 2, false}},
                       "CUD41600",
                       {2}},
        // Region codes 70 and 73 are repeaters; a display repeater takes both of its groups.
        SVisibilityRow{"RepeaterGroupsForADisplayRepeater",
                       {{kDisplay, 1, {}}, {kRepeater, 2, {}}, {kHandheld, 3, {}}},
                       "CUD41670",
                       {1, 2}},
        SVisibilityRow{"RepeaterGroupForANonDisplayRepeater",
                       {{kNonDisplay, 1, {}}, {kRepeater, 2, {}}, {kHandheld, 3, {}}},
                       "CUR40873",
                       {1, 2}},
        SVisibilityRow{
            "HandheldGroupForAHandheld", {{kRepeater, 2, {}}, {kHandheld, 3, {}}}, "CUR40807", {3}},
        SVisibilityRow{
            "EntryWithoutANumericIdNamesNothing", {{"", {}, {}}, {"", 4, {}}}, "CUD41600", {4}}),
    [](const testing::TestParamInfo<SVisibilityRow>& row) { return row.param.name; });

}  // namespace
