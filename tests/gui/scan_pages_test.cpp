// The scan list and channels pages worked as a dealer works them: rows clicked, Ctrl-clicked and
// chosen with the keyboard, buttons pressed, rows double-clicked; the channels' attributes
// checked after each step.

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "editor/channels_view.h"
#include "editor/scan_view.h"
#include "editor/tree_view.h"
#include "page_fixture.h"
#include "platform/string_table.h"

namespace {

using Edits = QList<std::pair<QString, QString>>;
using Scan = CScanView::ControlId;

template <class Page>
struct SOpenPage {
    explicit SOpenPage(CPageFixture& fixture) {
        page = std::make_unique<Page>(fixture.Context());
        page->resize(620, 480);
        page->show();
        page->activateWindow();
        // Mnemonics reach only an active window.
        shown = QTest::qWaitForWindowExposed(page.get()) && QTest::qWaitForWindowActive(page.get());
    }
    QTreeWidget* List(int id) const { return page->template ControlAs<QTreeWidget>(id); }
    QPushButton* Button(int id) const { return page->template ControlAs<QPushButton>(id); }

    std::unique_ptr<Page> page;
    bool shown = false;
};

// The scan flags of the first channels, "1" or "0" each, as the profile holds them.
QString Flags(CPageFixture& fixture, int count) {
    const CDataItem channels = fixture.Element(QStringLiteral("channels"));
    QString flags;
    for (int i = 0; i < count; ++i) {
        flags += channels.GetChildByIndex(i)
                     .AttributeText(QStringLiteral("in_scanlist"))
                     .value_or(QStringLiteral("?"));
    }
    return flags;
}

QStringList Rows(QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows << list->topLevelItem(i)->text(0);
    }
    return rows;
}

QStringList Selected(QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected()) {
            rows << list->topLevelItem(i)->text(0);
        }
    }
    return rows;
}

QPoint RowCentre(QTreeWidget* list, int row) {
    return list->visualItemRect(list->topLevelItem(row)).center();
}

void ClickRow(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, RowCentre(list, row));
}

void DoubleClickRow(QTreeWidget* list, int row) {
    // A double click arrives after the press and release of its first click.
    ClickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(list, row));
}

// Channel n (from 1) of the CUD41600 template, as its text is in the file.
QString Channel(int n, bool disabled, bool scanned) {
    return QStringLiteral(
               "name=\"CH %1\" disable_channel=\"%2\" talkaround_scan=\"0\" "
               "in_scanlist=\"%3\"")
        .arg(n, 2, 10, QChar(u'0'))
        .arg(disabled ? 1 : 0)
        .arg(scanned ? 1 : 0);
}

// Only the first five channels in the scan list; the rest available.
Edits FirstFiveScanned() {
    Edits edits;
    for (int n = 6; n <= 16; ++n) {
        edits.append({Channel(n, false, true), Channel(n, false, false)});
    }
    return edits;
}

// What the tree needs from a window, for a tree with no window around it.
class CBareTreeHost : public ITreeViewHost {
public:
    bool ShowPage(quint32 itemData) override {
        shown << itemData;
        return true;
    }
    bool CanLeaveCurrentPage() override { return true; }
    void SetCommandFlags(bool, bool, bool) override {}
    void NotifyViews(quint32) override {}
    void SetModified() override {}
    void FocusNameEditLater() override {}

    QList<quint32> shown;
};

}  // namespace

class ScanPagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    // Disabled channels are in neither list, whatever their flag; the page opens on the first
    // available channel; Add>> follows the available list's selection.
    void listsAndTheirSelections() {
        Edits edits = FirstFiveScanned();
        edits.append({Channel(2, false, true), Channel(2, true, true)});
        edits.append({Channel(7, false, false), Channel(7, true, false)});
        CPageFixture fixture(QStringLiteral("CUD41600"), edits);
        QVERIFY(fixture.loaded);
        SOpenPage<CScanView> open(fixture);
        QVERIFY(open.shown);
        QTreeWidget* available = open.List(Scan::kAvailable);
        QTreeWidget* members = open.List(Scan::kMembers);
        QVERIFY(available->isVisible() && members->isVisible());
        QCOMPARE(Rows(members), QStringList({"CH 01", "CH 03", "CH 04", "CH 05"}));
        QCOMPARE(Rows(available).size(), 10);
        QCOMPARE(Rows(available).first(), QStringLiteral("CH 06"));
        QVERIFY(!Rows(available).contains(QStringLiteral("CH 07")));
        QCOMPARE(Selected(available), QStringList({"CH 06"}));
        QVERIFY(open.Button(Scan::kAdd)->isEnabled());
        QVERIFY(!open.Button(Scan::kRemove)->isEnabled());
        // Both lists are named for a screen reader by their captions.
        QCOMPARE(members->accessibleName(), CStringTable::Instance().Text(188));

        // Selecting members clears the other list's selection, and Add>> is off.
        ClickRow(members, 1);
        ClickRow(members, 3, Qt::ControlModifier);
        QCOMPARE(Selected(members), QStringList({"CH 03", "CH 05"}));
        QVERIFY(Selected(available).isEmpty());
        QVERIFY(!open.Button(Scan::kAdd)->isEnabled());
        QVERIFY(open.Button(Scan::kRemove)->isEnabled());

        // The keyboard takes the selection back to the available list.
        available->setFocus();
        QTest::keyClick(available, Qt::Key_Down);
        QCOMPARE(Selected(available).size(), 1);
        QVERIFY(Selected(members).isEmpty());
        QVERIFY(open.Button(Scan::kAdd)->isEnabled());
        QVERIFY(!open.Button(Scan::kRemove)->isEnabled());
        QCOMPARE(Flags(fixture, 7), QStringLiteral("1111100"));
        QVERIFY(!fixture.document->IsModified());
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // Moves by button, double click and Enter; each is one undo step back to the identical
    // profile; the row after the last moved one is selected. A disabled channel that the file
    // keeps in the scan list (the rules refuse to put it there) never stops a move.
    void movesAndUndo() {
        Edits edits = FirstFiveScanned();
        edits.append({Channel(2, false, true), Channel(2, true, true)});
        CPageFixture fixture(QStringLiteral("CUD41600"), edits);
        QVERIFY(fixture.loaded);
        SOpenPage<CScanView> open(fixture);
        QVERIFY(open.shown);
        QTreeWidget* available = open.List(Scan::kAvailable);
        QTreeWidget* members = open.List(Scan::kMembers);
        const QByteArray before = fixture.document->Model().SaveWorkingState();

        // CH 07 and CH 09 with the mouse, then Add>>.
        ClickRow(available, 1);
        ClickRow(available, 3, Qt::ControlModifier);
        QTest::mouseClick(open.Button(Scan::kAdd), Qt::LeftButton);
        QVERIFY2(fixture.prompt.ids.isEmpty(),
                 qPrintable(QString::number(fixture.prompt.ids.value(0))));
        QCOMPARE(Flags(fixture, 10), QStringLiteral("1111101010"));
        QCOMPARE(Rows(members),
                 QStringList({"CH 01", "CH 03", "CH 04", "CH 05", "CH 07", "CH 09"}));
        QCOMPARE(Selected(available), QStringList({"CH 10"}));
        QVERIFY(available->hasFocus());
        QVERIFY(fixture.document->IsModified());
        QCOMPARE(fixture.document->History().StepCount(), 1);
        QCOMPARE(fixture.document->History().UndoLabel(), CStringTable::Instance().Text(800));

        // A double click takes a member out; Enter takes the selected available channel in.
        DoubleClickRow(members, 0);
        QCOMPARE(Flags(fixture, 3), QStringLiteral("011"));
        QCOMPARE(Selected(members), QStringList({"CH 03"}));
        QCOMPARE(Rows(available).first(), QStringLiteral("CH 01"));
        available->setFocus();
        ClickRow(available, 0);
        QTest::keyClick(available, Qt::Key_Return);
        QCOMPARE(Flags(fixture, 3), QStringLiteral("111"));
        QCOMPARE(fixture.document->History().StepCount(), 3);
        QVERIFY(fixture.prompt.ids.isEmpty());

        QVERIFY(fixture.document->Undo().has_value());
        QVERIFY(fixture.document->Undo().has_value());
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
    }

    // Taking the last available channel leaves that list empty: the first member is selected and
    // has the focus. Taking every member out by keyboard (Ctrl+A, Alt+M) does the same the other
    // way; a double click on an empty list does nothing.
    void emptyingAList() {
        CPageFixture fixture(QStringLiteral("CUR40201"),
                             Edits{{QStringLiteral("name=\"CH 02\" disable_channel=\"0\" "
                                                   "talkaround_scan=\"0\" in_scanlist=\"1\""),
                                    QStringLiteral("name=\"CH 02\" disable_channel=\"0\" "
                                                   "talkaround_scan=\"0\" in_scanlist=\"0\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage<CScanView> open(fixture);
        QVERIFY(open.shown);
        QTreeWidget* available = open.List(Scan::kAvailable);
        QTreeWidget* members = open.List(Scan::kMembers);
        QCOMPARE(Selected(available), QStringList({"CH 02"}));
        QTest::mouseClick(open.Button(Scan::kAdd), Qt::LeftButton);
        QCOMPARE(Flags(fixture, 2), QStringLiteral("11"));
        QCOMPARE(available->topLevelItemCount(), 0);
        QCOMPARE(Selected(members), QStringList({"CH 01"}));
        QVERIFY(members->hasFocus());
        QVERIFY(!open.Button(Scan::kAdd)->isEnabled());

        QTest::mouseDClick(available->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(Flags(fixture, 2), QStringLiteral("11"));

        QTest::keyClick(members, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Selected(members).size(), 2);
        QTest::keyClick(members, Qt::Key_M, Qt::AltModifier);
        // A mnemonic presses its button as the user sees it pressed, a moment later.
        QTRY_COMPARE(Flags(fixture, 2), QStringLiteral("00"));
        QCOMPARE(members->topLevelItemCount(), 0);
        QCOMPARE(Selected(available), QStringList({"CH 01"}));
        QVERIFY(available->hasFocus());
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // Two channels of one name (a file may hold them): a move takes the channel that was
    // chosen, never its namesake.
    void namesakes() {
        Edits edits = FirstFiveScanned();
        edits.append({QStringLiteral("name=\"CH 08\""), QStringLiteral("name=\"CH 03\"")});
        CPageFixture fixture(QStringLiteral("CUD41600"), edits);
        QVERIFY(fixture.loaded);
        SOpenPage<CScanView> open(fixture);
        QVERIFY(open.shown);
        QTreeWidget* available = open.List(Scan::kAvailable);
        QCOMPARE(Rows(available).at(2), QStringLiteral("CH 03"));
        ClickRow(available, 2);
        QTest::mouseClick(open.Button(Scan::kAdd), Qt::LeftButton);
        QCOMPARE(Flags(fixture, 9), QStringLiteral("111110010"));
        QCOMPARE(Rows(open.List(Scan::kMembers)).count(QStringLiteral("CH 03")), 2);
        QCOMPARE(Selected(available), QStringList({"CH 09"}));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // The channels page: its button is off when the model's channels are all there; otherwise a
    // press (keyboard or mouse) has the tree add a channel and show its page.
    void channelsPageAddsThroughTheTree() {
        {
            CPageFixture full(QStringLiteral("CUR40201"));
            QVERIFY(full.loaded);
            SOpenPage<CChannelsView> open(full);
            QVERIFY(open.shown);
            QVERIFY(!open.Button(CChannelsView::kAddChannel)->isEnabled());
            QCOMPARE(open.Button(CChannelsView::kAddChannel)->accessibleName(),
                     CStringTable::Instance().Text(230));
        }
        CPageFixture fixture(
            QStringLiteral("CUR40201"),
            Edits{{QStringLiteral("maxChannels=\"2\""), QStringLiteral("maxChannels=\"3\"")}});
        QVERIFY(fixture.loaded);
        CBareTreeHost host;
        CVeskCPSTreeView tree(*fixture.document, fixture.prompt, host);
        tree.BuildTree();
        fixture.navigator.Attach(nullptr, &tree);
        SOpenPage<CChannelsView> open(fixture);
        QVERIFY(open.shown);
        QPushButton* add = open.Button(CChannelsView::kAddChannel);
        QVERIFY(add->isEnabled());
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Space);
        QCOMPARE(fixture.Element(QStringLiteral("setting"))
                     .AttributeText(QStringLiteral("numberChannels"))
                     .value_or(QString()),
                 QStringLiteral("3"));
        QVERIFY(!host.shown.isEmpty());
        QCOMPARE(host.shown.last(), tree_data::Make(tree_data::kChannel, 2));
        QVERIFY(fixture.topics.contains(QStringLiteral("channels.html")));
        fixture.navigator.Detach();

        // Back on the Channels node the model is full.
        SOpenPage<CChannelsView> again(fixture);
        QVERIFY(again.shown);
        QVERIFY(!again.Button(CChannelsView::kAddChannel)->isEnabled());
        QVERIFY(fixture.prompt.ids.isEmpty());
    }
};

QTEST_MAIN(ScanPagesTest)
#include "scan_pages_test.moc"
