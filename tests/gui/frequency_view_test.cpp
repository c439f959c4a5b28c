// The RF Frequency page over installed templates, driven as a dealer drives it: typing into the
// frequency field, choosing rows and list items, pressing the buttons, and reading the profile
// after each step.

#include "editor/frequency_view.h"

#include <algorithm>
#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "model/profile_document.h"
#include "page_fixture.h"

namespace {

using Id = CFrequencyView::ControlId;
using Mode = CFrequencyView::EMode;

// A page over a template's profile, shown and active so that keys and mnemonics reach it.
class CShownPage {
public:
    explicit CShownPage(const QString& model, const QString& separator = QStringLiteral("."))
        : fixture(model) {
        fixture.separator = separator;
    }

    bool Show() {
        if (!fixture.loaded) {
            return false;
        }
        page = std::make_unique<CFrequencyView>(fixture.Context());
        page->resize(840, 720);
        page->show();
        page->activateWindow();
        return QTest::qWaitForWindowActive(page.get()) && page->IsInitialised();
    }

    QTreeWidget* List() const { return page->ControlAs<QTreeWidget>(Id::kList); }
    QLineEdit* Field() const { return page->ControlAs<QLineEdit>(Id::kFrequency); }
    QComboBox* Choice(int id) const { return page->ControlAs<QComboBox>(id); }
    QPushButton* Button(int id) const { return page->ControlAs<QPushButton>(id); }
    void Click(int id) const { QTest::mouseClick(Button(id), Qt::LeftButton); }
    QString Cell(int row, int column) const {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        return item != nullptr ? item->text(column) : QStringLiteral("<no row %1>").arg(row);
    }
    int Rows() const { return List()->topLevelItemCount(); }
    QList<int> SelectedRows() const {
        QList<int> rows;
        for (QTreeWidgetItem* item : List()->selectedItems()) {
            rows.append(List()->indexOfTopLevelItem(item));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // A click on a row, with Ctrl to add it to the selection.
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) const {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        List()->scrollToItem(item);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                          List()->visualItemRect(item).center());
    }
    // Replaces the field's text by typing.
    void Type(const QString& text) const {
        Field()->selectAll();
        QTest::keyClick(Field(), Qt::Key_Delete);
        QTest::keyClicks(Field(), text);
    }
    CDataItem Entry(int index) {
        return fixture.Element(QStringLiteral("frequencies")).GetChildByIndex(index);
    }
    int Stored(int index, const char* attribute) {
        return int(Entry(index).GetAttributeValue(QString::fromLatin1(attribute)).toLongLong());
    }
    int TableSize() { return fixture.Element(QStringLiteral("frequencies")).GetChildCount(); }
    QByteArray State() const { return fixture.document->Model().SaveWorkingState(); }

    CPageFixture fixture;
    std::unique_ptr<CFrequencyView> page;
};

// An entry added as the rules add it, outside the page.
bool AddEntry(CPageFixture& fixture, quint32 hertz) {
    return fixture.Element(QStringLiteral("frequencies"))
        .AddFrequency(SFrequencyEntry{hertz, 0, 3, 2})
        .IsAccepted();
}

}  // namespace

class FrequencyViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What typing leaves in the field, with the language's decimal separator.
    void fieldFilter_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above the highest frequency") << "."
                                                     << "4294.9673"
                                                     << "4294.967";
        QTest::newRow("the highest frequency") << "."
                                               << "4294.967295"
                                               << "4294.967295";
        QTest::newRow("five digits") << "."
                                     << "12345"
                                     << "1234";
        QTest::newRow("letters and blanks") << "."
                                            << "4a6 2-.5"
                                            << "462.5";
        QTest::newRow("seven decimals") << "."
                                        << "1.1234567"
                                        << "1.123456";
        QTest::newRow("a second separator") << "."
                                            << "1.2.3"
                                            << "1.23";
        QTest::newRow("comma") << ","
                               << "462,5625"
                               << "462,5625";
        QTest::newRow("comma, no point") << ","
                                         << "162.5625"
                                         << "1625";
        QTest::newRow("point, no comma") << "."
                                         << "162,5625"
                                         << "1625";
    }

    void fieldFilter() {
        QFETCH(QString, separator);
        QFETCH(QString, typed);
        CShownPage shown(QStringLiteral("CUD41600"), separator);
        QVERIFY(shown.Show());
        shown.Click(Id::kAdd);
        QVERIFY(shown.Field()->hasFocus());
        shown.Type(typed);
        QTEST(shown.Field()->text(), "shown");
    }

    // A refused character leaves the caret where the user had put it.
    void fieldFilterKeepsTheCaret() {
        CShownPage shown(QStringLiteral("CUD41600"));
        QVERIFY(shown.Show());
        shown.Click(Id::kAdd);
        shown.Type(QStringLiteral("462.5625"));
        QTest::keyClick(shown.Field(), Qt::Key_Home);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(shown.Field(), Qt::Key_Right);
        }
        QTest::keyClicks(shown.Field(), QStringLiteral("9x"));
        QCOMPARE(shown.Field()->text(), QStringLiteral("462.5625"));
        QCOMPARE(shown.Field()->cursorPosition(), 3);
        QTest::keyClick(shown.Field(), Qt::Key_End);
        QTest::keyClicks(shown.Field(), QStringLiteral("123"));
        QCOMPARE(shown.Field()->text(), QStringLiteral("462.562512"));
        QCOMPARE(shown.Field()->cursorPosition(), 10);
    }

    // A pasted frequency above the field's ceiling must not reach the profile as another
    // frequency: 4754.9673 MHz read as a 32-bit count of hertz would be 459.999704 MHz, in band.
    void pasteAboveTheCeiling() {
        CShownPage shown(QStringLiteral("CUD41600"));
        QVERIFY(shown.Show());
        shown.Click(Id::kAdd);
        shown.Type(QString());
        QApplication::clipboard()->setText(QStringLiteral("4754.9673"));
        QTest::keyClick(shown.Field(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(shown.Field()->text().toDouble() <= 4294.967295,
                 qPrintable(shown.Field()->text()));
        shown.Click(Id::kAdd);
        QCOMPARE(shown.TableSize(), 14);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{269});
    }

    // Leaving the page (another tree node, a save) with an entry typed but not saved saves it,
    // or keeps the page when the rules refuse it; an untouched Add leaves quietly.
    void leavingCommitsTheTypedEntry() {
        CShownPage shown(QStringLiteral("CUD41600"));
        QVERIFY(shown.Show());
        CFrequencyView& page = *shown.page;
        shown.Click(Id::kAdd);
        shown.Type(QStringLiteral("151.82"));
        QVERIFY(!page.CanLeavePage());
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{284});
        QCOMPARE(page.Mode(), Mode::Adding);
        shown.Type(QStringLiteral("462.5625"));
        QVERIFY(page.CanLeavePage());
        QCOMPARE(shown.TableSize(), 15);
        QCOMPARE(shown.Stored(14, "freq"), 462562500);

        shown.ClickRow(14);
        shown.Click(Id::kEdit);
        shown.Type(QStringLiteral("462.575"));
        QVERIFY(page.CanLeavePage());
        QCOMPARE(shown.Stored(14, "freq"), 462575000);
        QCOMPARE(page.Mode(), Mode::Browsing);

        shown.fixture.prompt.ids.clear();
        shown.Click(Id::kAdd);
        QVERIFY(page.CanLeavePage());
        QCOMPARE(page.Mode(), Mode::Browsing);
        QCOMPARE(shown.TableSize(), 15);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>());
    }

    void addEntry_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("point, mouse") << "."
                                      << "462.5625"
                                      << "462.562500" << false;
        QTest::newRow("comma, keyboard") << ","
                                         << "462,5625"
                                         << "462,562500" << true;
    }

    void addEntry() {
        QFETCH(QString, separator);
        QFETCH(QString, typed);
        QFETCH(bool, byKeyboard);
        CShownPage shown(QStringLiteral("CUD41600"), separator);
        QVERIFY(shown.Show());
        CFrequencyView& page = *shown.page;
        QCOMPARE(shown.Rows(), 14);
        QCOMPARE(shown.Cell(0, 1), QString(QStringLiteral("461.037500")).replace(u'.', separator));
        QCOMPARE(shown.Cell(0, 2), QStringLiteral("12") + separator + QStringLiteral("5 KHz only"));
        QCOMPARE(shown.Cell(0, 3), QStringLiteral("User selectable with high power as default"));
        QCOMPARE(shown.Cell(0, 4), QStringLiteral("ON"));
        QVERIFY(!shown.Field()->isEnabled());
        const QByteArray before = shown.State();

        auto save = [&] {
            if (byKeyboard) {
                QTest::keyClick(shown.Field(), Qt::Key_Return);
            } else {
                shown.Click(Id::kAdd);
            }
        };
        if (byKeyboard) {
            shown.List()->setFocus();
            QTest::keyClick(shown.List(), Qt::Key_A, Qt::AltModifier);
        } else {
            shown.Click(Id::kAdd);
        }
        // A mnemonic clicks its button a moment later.
        QTRY_COMPARE(page.Mode(), Mode::Adding);
        QCOMPARE(shown.Button(Id::kAdd)->text().remove(u'&'), QStringLiteral("Save"));
        QCOMPARE(shown.Button(Id::kDelete)->text().remove(u'&'), QStringLiteral("Cancel"));
        QVERIFY(!shown.Button(Id::kEdit)->isEnabled());
        QVERIFY(!shown.List()->isEnabled());
        QCOMPARE(shown.Choice(Id::kPower)->currentIndex(), 1);
        QCOMPARE(shown.Choice(Id::kBandwidth)->currentIndex(), 0);
        QCOMPARE(shown.Choice(Id::kCompander)->currentIndex(), 0);

        // A MURS frequency is refused here; one hertz off it goes on to the rules, which refuse
        // it for the band.
        shown.Type(QString(QStringLiteral("151.82")).replace(u'.', separator));
        save();
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{284});
        QCOMPARE(page.Mode(), Mode::Adding);
        shown.Type(QString(QStringLiteral("151.8201")).replace(u'.', separator));
        save();
        QCOMPARE(shown.fixture.prompt.ids, (QList<int>{284, 269}));
        QCOMPARE(page.Mode(), Mode::Adding);
        QCOMPARE(shown.TableSize(), 14);
        QVERIFY(!shown.fixture.document->IsModified());

        shown.Type(typed);
        save();
        QCOMPARE(shown.fixture.prompt.ids.size(), 2);
        QCOMPARE(page.Mode(), Mode::Browsing);
        QCOMPARE(shown.TableSize(), 15);
        QCOMPARE(shown.Stored(14, "freq"), 462562500);
        QCOMPARE(shown.Stored(14, "bandwidth"), 0);
        QCOMPARE(shown.Stored(14, "power_level"), 1);
        QCOMPARE(shown.Stored(14, "compander_lle_mode"), 2);
        QCOMPARE(shown.Rows(), 15);
        QCOMPARE(shown.Cell(14, 0), QStringLiteral("15"));
        QTEST(shown.Cell(14, 1), "row");
        QCOMPARE(shown.Cell(14, 3), QStringLiteral("High power only"));
        QCOMPARE(shown.SelectedRows(), QList<int>{14});
        QVERIFY(shown.List()->hasFocus());
        QCOMPARE(shown.Button(Id::kAdd)->text().remove(u'&'), QStringLiteral("Add"));
        QVERIFY(shown.fixture.document->IsModified());
        QCOMPARE(shown.fixture.changes, 1);

        // The step goes back whole.
        QVERIFY(shown.fixture.document->Undo());
        QCOMPARE(shown.State(), before);
    }

    // Editing an entry channels use asks first; No keeps the user editing, Yes saves.
    void editAsksForChannelsUsingTheEntry() {
        CShownPage shown(QStringLiteral("CUD41600"));
        QVERIFY(shown.Show());
        CFrequencyView& page = *shown.page;
        const QByteArray before = shown.State();
        shown.ClickRow(2);
        QCOMPARE(shown.Field()->text(), QStringLiteral("461.087500"));
        shown.Click(Id::kEdit);
        QCOMPARE(page.Mode(), Mode::Editing);
        QCOMPARE(shown.Button(Id::kEdit)->text().remove(u'&'), QStringLiteral("Save"));
        QVERIFY(!shown.Button(Id::kAdd)->isEnabled());
        shown.Type(QStringLiteral("463.1"));
        QTest::keyClick(shown.Choice(Id::kPower), Qt::Key_Up);
        QCOMPARE(shown.Choice(Id::kPower)->currentIndex(), 2);

        shown.Click(Id::kEdit);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{394});
        QCOMPARE(page.Mode(), Mode::Editing);
        QCOMPARE(shown.Stored(2, "freq"), 461087500);
        QVERIFY(!shown.fixture.document->IsModified());

        // The person at the screen now answers Yes.
        shown.fixture.prompt = CRecordingPrompt(PromptAnswer::Yes);
        shown.Click(Id::kEdit);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{394});
        QCOMPARE(page.Mode(), Mode::Browsing);
        QCOMPARE(shown.Stored(2, "freq"), 463100000);
        QCOMPARE(shown.Stored(2, "power_level"), 2);
        QCOMPARE(shown.Cell(2, 1), QStringLiteral("463.100000"));
        QCOMPARE(shown.Cell(2, 3), QStringLiteral("User selectable with low power as default"));
        QCOMPARE(shown.SelectedRows(), QList<int>{2});
        QVERIFY(shown.fixture.document->IsModified());

        // Another entry's frequency is refused by the rules, and Cancel shows the stored entry.
        shown.Click(Id::kEdit);
        shown.Type(QStringLiteral("461.0375"));
        QTest::keyClick(shown.Field(), Qt::Key_Return);
        QCOMPARE(shown.fixture.prompt.ids, (QList<int>{394, 385}));
        QCOMPARE(page.Mode(), Mode::Editing);
        shown.Click(Id::kDelete);
        QCOMPARE(page.Mode(), Mode::Browsing);
        QCOMPARE(shown.Field()->text(), QStringLiteral("463.100000"));

        QVERIFY(shown.fixture.document->Undo());
        QCOMPARE(shown.State(), before);
    }

    void deleteSelectedEntries() {
        CShownPage shown(QStringLiteral("CUD41600"));
        // Three entries no channel uses after the fourteen the channels use.
        for (quint32 hertz : {463000000u, 463025000u, 463050000u}) {
            QVERIFY(AddEntry(shown.fixture, hertz));
        }
        shown.fixture.prompt = CRecordingPrompt(PromptAnswer::Yes);
        QVERIFY(shown.Show());
        const QByteArray before = shown.State();
        QCOMPARE(shown.Rows(), 17);

        // One used entry among three: asked once, told once, the other two go.
        shown.ClickRow(13);
        shown.ClickRow(14, Qt::ControlModifier);
        shown.ClickRow(16, Qt::ControlModifier);
        QCOMPARE(shown.SelectedRows(), (QList<int>{13, 14, 16}));
        shown.Click(Id::kDelete);
        QCOMPARE(shown.fixture.prompt.ids, (QList<int>{378, 288}));
        QCOMPARE(shown.TableSize(), 15);
        QCOMPARE(shown.Stored(13, "freq"), 469500000);
        QCOMPARE(shown.Stored(14, "freq"), 463025000);
        QCOMPARE(shown.Rows(), 15);
        for (int row = 0; row < shown.Rows(); ++row) {
            QCOMPARE(shown.Cell(row, 0), QString::number(row + 1));
        }
        QCOMPARE(shown.Cell(14, 1), QStringLiteral("463.025000"));
        // The last rows went: the first row is selected and the list back at its top.
        QCOMPARE(shown.SelectedRows(), QList<int>{0});
        QTRY_COMPARE(shown.List()->verticalScrollBar()->value(), 0);
        QVERIFY(shown.fixture.document->IsModified());

        // Undone as one step.
        QVERIFY(shown.fixture.document->Undo());
        QCOMPARE(shown.State(), before);
    }

    void deleteKeepsTheNeighbourSelected() {
        CShownPage shown(QStringLiteral("CUD41600"));
        for (quint32 hertz : {463000000u, 463025000u, 463050000u}) {
            QVERIFY(AddEntry(shown.fixture, hertz));
        }
        shown.fixture.prompt = CRecordingPrompt(PromptAnswer::Yes);
        QVERIFY(shown.Show());
        shown.ClickRow(14);
        shown.Click(Id::kDelete);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{378});
        QCOMPARE(shown.TableSize(), 16);
        QCOMPARE(shown.SelectedRows(), QList<int>{14});
        QCOMPARE(shown.Cell(14, 1), QStringLiteral("463.025000"));

        // Only used entries selected: told, nothing asked, nothing deleted.
        shown.ClickRow(0);
        shown.Click(Id::kDelete);
        QCOMPARE(shown.fixture.prompt.ids, (QList<int>{378, 288}));
        QCOMPARE(shown.TableSize(), 16);

        // A No keeps everything.
        shown.fixture.prompt = CRecordingPrompt(PromptAnswer::No);
        shown.ClickRow(14);
        shown.Click(Id::kDelete);
        QCOMPARE(shown.fixture.prompt.ids, QList<int>{378});
        QCOMPARE(shown.TableSize(), 16);
    }

    // Models under the narrowband mandate never change an entry's bandwidth; elsewhere the
    // compander follows the bandwidth the user chooses.
    void bandwidthAndCompander_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("bandwidthLocked");
        QTest::newRow("repeater, region 70") << "CUD41670" << true;
        QTest::newRow("handheld, region 01") << "CUR40801" << false;
    }

    void bandwidthAndCompander() {
        QFETCH(QString, model);
        QFETCH(bool, bandwidthLocked);
        CShownPage shown(model);
        QVERIFY(shown.Show());
        QComboBox* bandwidth = shown.Choice(Id::kBandwidth);
        QComboBox* compander = shown.Choice(Id::kCompander);
        shown.ClickRow(0);
        shown.Click(Id::kEdit);
        QCOMPARE(bandwidth->isEnabled(), !bandwidthLocked);
        shown.Click(Id::kDelete);
        shown.Click(Id::kAdd);
        QCOMPARE(bandwidth->isEnabled(), !bandwidthLocked);
        QCOMPARE(bandwidth->currentIndex(), 0);
        if (bandwidthLocked) {
            return;
        }
        // 25 kHz only: compander off and fixed; selectable with 25 kHz: off, free; else on.
        const int expected[][3] = {{1, 1, 0}, {3, 1, 1}, {2, 0, 1}, {0, 0, 1}};
        for (const auto& [code, position, enabled] : expected) {
            while (bandwidth->currentIndex() < code) {
                QTest::keyClick(bandwidth, Qt::Key_Down);
            }
            while (bandwidth->currentIndex() > code) {
                QTest::keyClick(bandwidth, Qt::Key_Up);
            }
            QCOMPARE(compander->currentIndex(), position);
            QCOMPARE(compander->isEnabled(), enabled != 0);
        }
        QTest::keyClick(bandwidth, Qt::Key_Down);
        shown.Type(QStringLiteral("462.5625"));
        shown.Click(Id::kAdd);
        const int added = shown.TableSize() - 1;
        QCOMPARE(shown.Stored(added, "bandwidth"), 1);
        QCOMPARE(shown.Stored(added, "compander_lle_mode"), 3);
        QCOMPARE(shown.Cell(added, 4), QStringLiteral("OFF"));
    }

    void codesWithoutTextShowNotAvailable() {
        CShownPage shown(QStringLiteral("CUD41600"));
        CDataItem entry = shown.Entry(1);
        QVERIFY(entry.SetAttributeValue(QStringLiteral("power_level"), 7).IsAccepted());
        QVERIFY(entry.SetAttributeValue(QStringLiteral("bandwidth"), 4).IsAccepted());
        QVERIFY(entry.SetAttributeValue(QStringLiteral("compander_lle_mode"), 0).IsAccepted());
        QVERIFY(shown.Show());
        QCOMPARE(shown.Cell(1, 2), QStringLiteral("N/A"));
        QCOMPARE(shown.Cell(1, 3), QStringLiteral("N/A"));
        QCOMPARE(shown.Cell(1, 4), QStringLiteral("N/A"));
        shown.ClickRow(1);
        QCOMPARE(shown.Choice(Id::kPower)->currentIndex(), -1);
        QCOMPARE(shown.Choice(Id::kBandwidth)->currentIndex(), -1);
    }

    // The list's row and scroll position outlive the page; a click that leaves no row selected
    // selects the top row in view.
    void listPlace() {
        CShownPage shown(QStringLiteral("CUD41600"));
        for (quint32 step = 0; step < 10; ++step) {
            QVERIFY(AddEntry(shown.fixture, 463000000u + step * 25000u));
        }
        QVERIFY(shown.Show());
        shown.ClickRow(12);
        shown.List()->verticalScrollBar()->setValue(4);
        shown.ClickRow(9);
        QCOMPARE(shown.fixture.navigator.FrequencyListPlace().row, 9);
        // Scrolled on afterwards without choosing a row.
        const int scrolled = 6;
        shown.List()->verticalScrollBar()->setValue(scrolled);

        shown.page.reset();
        QVERIFY(shown.Show());
        QCOMPARE(shown.SelectedRows(), QList<int>{9});
        QTRY_COMPARE(shown.List()->verticalScrollBar()->value(), scrolled);
        QCOMPARE(shown.Field()->text(), QStringLiteral("464.550000"));

        shown.ClickRow(9, Qt::ControlModifier);
        QTRY_COMPARE(shown.SelectedRows(), QList<int>{scrolled});
        QVERIFY(shown.Button(Id::kEdit)->isEnabled());
    }

    // Every control a screen reader meets has a name, and Tab walks the page in visual order.
    void keyboardAndNames() {
        CShownPage shown(QStringLiteral("CUD41600"));
        QVERIFY(shown.Show());
        shown.ClickRow(0);
        const int order[] = {Id::kAdd,       Id::kEdit,      Id::kDelete, Id::kList,
                             Id::kFrequency, Id::kBandwidth, Id::kPower,  Id::kCompander};
        for (int id : order) {
            QAccessibleInterface* accessible =
                QAccessible::queryAccessibleInterface(shown.page->Control(id));
            QVERIFY(accessible != nullptr);
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                     qPrintable(QString::number(id)));
        }
        QCOMPARE(shown.List()->accessibleName(), QStringLiteral("RF Frequency"));
        QCOMPARE(shown.Field()->accessibleName(), QStringLiteral("Frequency (MHz)"));
        shown.Click(Id::kEdit);
        shown.Button(Id::kEdit)->setFocus();
        QWidget* focus = shown.Button(Id::kEdit);
        // The bandwidth of this narrowband model stays fixed, so Tab passes it by.
        for (int id : {Id::kDelete, Id::kFrequency, Id::kPower, Id::kCompander}) {
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = QApplication::focusWidget();
            QCOMPARE(focus, shown.page->Control(id));
        }
        QTest::keyClick(shown.Field(), Qt::Key_Escape);
        QCOMPARE(shown.page->Mode(), Mode::Browsing);
        QVERIFY(shown.List()->hasFocus());
    }
};

QTEST_MAIN(FrequencyViewTest)
#include "frequency_view_test.moc"
