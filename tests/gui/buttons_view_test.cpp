// The Buttons page worked as a dealer works it, on a display model (CUD41600) and a model without
// a display (CUR40800): features chosen with the arrow keys, boxes clicked, Button Reset pressed;
// the profile's attributes checked after each step.

#include "editor/buttons_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>

#include "page_fixture.h"
#include "platform/string_table.h"

namespace {

using Edits = QList<std::pair<QString, QString>>;
using Id = CButtonsView::ControlId;

struct SOpenPage {
    explicit SOpenPage(CPageFixture& fixture) {
        page = std::make_unique<CButtonsView>(fixture.Context());
        page->resize(1000, 560);
        page->show();
        shown = QTest::qWaitForWindowExposed(page.get());
    }
    QComboBox* List(int id) const { return page->ControlAs<QComboBox>(id); }
    QStringList Items(int id) const {
        QStringList items;
        for (int i = 0; i < List(id)->count(); ++i) {
            items << List(id)->itemText(i);
        }
        return items;
    }
    // Chooses an item of a closed list with the arrow keys, as a dealer does.
    void Choose(int id, const QString& text) const {
        QComboBox* list = List(id);
        const int target = list->findText(text);
        QVERIFY2(target >= 0, qPrintable(text));
        list->setFocus();
        const int from = list->currentIndex();
        for (int i = from; i < target; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        for (int i = from; i > target && i > 0; --i) {
            QTest::keyClick(list, Qt::Key_Up);
        }
    }

    // Chooses a feature by typing its first letters on the closed list, which jumps there
    // without passing the features between (other buttons may carry those).
    void Type(int id, const QString& text) const {
        // A new search, not the continuation of the last one.
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        List(id)->setFocus();
        QTest::keyClicks(List(id), text);
    }

    std::unique_ptr<CButtonsView> page;
    bool shown = false;
};

QString Setting(CPageFixture& fixture, const char* name) {
    return fixture.Element(QStringLiteral("setting"))
        .AttributeText(QLatin1String(name))
        .value_or(QStringLiteral("<none>"));
}

QString Preset(CPageFixture& fixture, int index) {
    return fixture.Element(QStringLiteral("setting"))
        .GetChildByIndex(index)
        .AttributeText(QStringLiteral("channel"))
        .value_or(QStringLiteral("<none>"));
}

const QString kMonitor = QStringLiteral("Monitor");
const QString kScan = QStringLiteral("Scan/Nuisance Channel Delete");
const QString kCallTone = QStringLiteral("Call Tone");
const QString kPower = QStringLiteral("Tx Power Selection");
const QString kScramble = QStringLiteral("Scramble");
const QString kBacklight = QStringLiteral("Backlight");
const QString kPreset1 = QStringLiteral("Preset 1");
const QString kPreset2 = QStringLiteral("Preset 2");
const QString kNone = QStringLiteral("No Operation");

}  // namespace

class ButtonsViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What each button offers follows the display class, the limits and the preset limit; a
    // stored feature that is not offered reads as "No Operation" and is kept as 0 without the
    // profile counting as changed.
    void listsByModelAndLimits_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QStringList>("side");
        QTest::addColumn<QStringList>("buttonA");
        QTest::addColumn<QStringList>("selected");  // side 1, side 2, A, B, C
        QTest::addColumn<int>("callTones");

        const QStringList common{kMonitor, kScan, kCallTone, kPower, kScramble};
        QTest::newRow("display") << QStringLiteral("CUD41600") << Edits{}
                                 << (common + QStringList{kNone})
                                 << (common + QStringList{kBacklight, kPreset1, kPreset2, kNone})
                                 << QStringList{kMonitor, kScan, kCallTone, kPreset1, kPreset2}
                                 << 6;
        QTest::newRow("one preset button")
            << QStringLiteral("CUD41600")
            << Edits{{QStringLiteral("maxPresetButtons=\"2\""),
                      QStringLiteral("maxPresetButtons=\"1\"")}}
            << (common + QStringList{kNone}) << (common + QStringList{kBacklight, kPreset1, kNone})
            << QStringList{kMonitor, kScan, kCallTone, kPreset1, kNone} << 6;
        QTest::newRow("no call tones")
            << QStringLiteral("CUD41600")
            << Edits{{QStringLiteral("max_call_tones=\"5\""),
                      QStringLiteral("max_call_tones=\"0\"")}}
            << QStringList{kMonitor, kScan, kPower, kScramble, kNone}
            << QStringList{kMonitor,   kScan,    kPower,   kScramble,
                           kBacklight, kPreset1, kPreset2, kNone}
            << QStringList{kMonitor, kScan, kNone, kPreset1, kPreset2} << 1;
        QTest::newRow("no display, no presets")
            << QStringLiteral("CUR40800") << Edits{} << (common + QStringList{kNone})
            << (common + QStringList{kNone}) << QStringList{kMonitor, kScan, kNone, kNone, kNone}
            << 6;
    }
    void listsByModelAndLimits() {
        QFETCH(QString, model);
        QFETCH(Edits, edits);
        CPageFixture fixture(model, edits);
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QVERIFY(fixture.prompt.ids.isEmpty());

        QTEST(open.Items(Id::kSide1), "side");
        QTEST(open.Items(Id::kSide2), "side");
        QTEST(open.Items(Id::kButtonA), "buttonA");
        QCOMPARE(open.Items(Id::kButtonC), open.Items(Id::kButtonA));
        QStringList selected;
        for (int id : {int(Id::kSide1), int(Id::kSide2), int(Id::kButtonA), int(Id::kButtonB),
                       int(Id::kButtonC)}) {
            selected << open.List(id)->currentText();
        }
        QTEST(selected, "selected");
        QTEST(open.List(Id::kCallTone)->count(), "callTones");
        // What no list offered is 0 now, which the user did not change.
        const QStringList attributes{QStringLiteral("upper_right_but"),
                                     QStringLiteral("lower_left_but"),
                                     QStringLiteral("lower_right_but")};
        for (int i = 0; i < 3; ++i) {
            if (selected[2 + i] == kNone) {
                QCOMPARE(Setting(fixture, attributes[i].toLatin1().constData()),
                         QStringLiteral("0"));
            }
        }
        QVERIFY(!fixture.document->IsModified());
        QVERIFY(fixture.document->History().CanUndo() == false);
        QVERIFY(open.page->Picture() != nullptr && open.page->Picture()->isValid());
    }

    // The display model: companion rows beside their buttons, a feature that another button
    // carries refused, Preset 1 moved off and back onto button B, a preset channel chosen and
    // undone to the identical profile.
    void displayModelWorked() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        CButtonsView& page = *open.page;
        QVERIFY(page.Control(Id::kKeypadLock)->isVisible());
        QCOMPARE(page.Control(Id::kKeypadLock)->accessibleName(),
                 CStringTable::Instance().Text(821));

        // Call tone beside button A, preset 1 beside B, preset 2 beside C; scramble nowhere.
        const auto besideOf = [&page](int button, int label, int combo) {
            const QRect b = page.Control(button)->geometry();
            const QRect l = page.Control(label)->geometry();
            const QRect c = page.Control(combo)->geometry();
            return page.Control(label)->isVisible() && page.Control(combo)->isVisible() &&
                   l.left() == b.right() + 1 && l.top() == b.top() + 2 &&
                   c.left() == b.right() + 1 + l.width() + 10 && c.top() == b.top();
        };
        QVERIFY(besideOf(Id::kButtonA, Id::kCallToneLabel, Id::kCallTone));
        QVERIFY(besideOf(Id::kButtonB, Id::kPreset1Label, Id::kPreset1));
        QVERIFY(besideOf(Id::kButtonC, Id::kPreset2Label, Id::kPreset2));
        QVERIFY(!page.Control(Id::kScramble)->isVisible());
        QCOMPARE(open.List(Id::kCallTone)->currentText(), QStringLiteral("Call Tone 1"));
        QCOMPARE(open.List(Id::kPreset2)->currentText(), QStringLiteral("CH 02"));

        // Side 1 cannot take the call tone that button A carries.
        open.Type(Id::kSide1, QStringLiteral("C"));
        QCOMPARE(fixture.prompt.ids, QList<int>{CButtonsView::kMsgFeatureTaken});
        QCOMPARE(open.List(Id::kSide1)->currentText(), kMonitor);
        QCOMPARE(Setting(fixture, "side1_but"), QStringLiteral("7"));
        QVERIFY(!fixture.document->IsModified());
        fixture.prompt.ids.clear();

        // Button B off Preset 1 hides its channel row; back on shows it beside B again.
        open.Type(Id::kButtonB, QStringLiteral("T"));
        QCOMPARE(Setting(fixture, "lower_left_but"), QStringLiteral("2"));
        QVERIFY(!page.Control(Id::kPreset1)->isVisible());
        QVERIFY(!page.Control(Id::kPreset1Label)->isVisible());
        open.Type(Id::kButtonB, QStringLiteral("P"));
        QCOMPARE(Setting(fixture, "lower_left_but"), QStringLiteral("9"));
        QVERIFY(besideOf(Id::kButtonB, Id::kPreset1Label, Id::kPreset1));
        // The companion row is reached in the order it is seen: after button B, before C.
        QCOMPARE(open.List(Id::kButtonB)->nextInFocusChain(), page.Control(Id::kPreset1));

        // Scramble on side 2 brings its mode row there; the mode is written as the item index.
        open.Type(Id::kSide2, QStringLiteral("Scr"));
        QVERIFY(besideOf(Id::kSide2, Id::kScrambleLabel, Id::kScramble));
        QCOMPARE(open.List(Id::kScramble)->currentIndex(), 1);
        open.Choose(Id::kScramble, CStringTable::Instance().Text(832));
        QCOMPARE(Setting(fixture, "disableSelectableScramble"), QStringLiteral("0"));

        // A preset channel (one step down the list), and its undo back to the identical profile.
        const QByteArray before = fixture.document->Model().SaveWorkingState();
        open.Choose(Id::kPreset1, QStringLiteral("CH 02"));
        QCOMPARE(Preset(fixture, 0), QStringLiteral("1"));
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);

        // The keypad lock.
        SOpenPage again(fixture);
        QVERIFY(again.shown);
        QTest::mouseClick(again.page->ControlAs<QCheckBox>(Id::kKeypadLock), Qt::LeftButton);
        QCOMPARE(Setting(fixture, "keypadLock"), QStringLiteral("1"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // Button Reset on the display model: defaults, call tone off, scramble selectable, presets
    // on the first two enabled channels; the whole reset is one step undone to the identical
    // profile. Declining the question changes nothing.
    void buttonReset() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        open.Type(Id::kSide1, QStringLiteral("T"));
        open.Type(Id::kButtonA, QStringLiteral("M"));
        open.Choose(Id::kPreset2, QStringLiteral("CH 07"));
        QVERIFY(fixture.prompt.ids.isEmpty());
        const QByteArray before = fixture.document->Model().SaveWorkingState();

        auto* reset = open.page->ControlAs<QPushButton>(Id::kReset);
        fixture.prompt.SetAnswer(PromptAnswer::No);
        reset->setFocus();
        QTest::keyClick(reset, Qt::Key_Space);
        QCOMPARE(fixture.prompt.ids, QList<int>{CButtonsView::kMsgResetQuestion});
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);

        fixture.prompt.ids.clear();
        fixture.prompt.SetAnswer(PromptAnswer::Yes);
        QTest::keyClick(reset, Qt::Key_Space);
        QCOMPARE(fixture.prompt.ids, QList<int>{CButtonsView::kMsgResetQuestion});
        QCOMPARE(Setting(fixture, "side1_but"), QStringLiteral("7"));
        QCOMPARE(Setting(fixture, "side2_but"), QStringLiteral("4"));
        QCOMPARE(Setting(fixture, "upper_right_but"), QStringLiteral("3"));
        QCOMPARE(Setting(fixture, "lower_left_but"), QStringLiteral("9"));
        QCOMPARE(Setting(fixture, "lower_right_but"), QStringLiteral("10"));
        QCOMPARE(Setting(fixture, "callTone"), QStringLiteral("0"));
        QCOMPARE(Setting(fixture, "disableSelectableScramble"), QStringLiteral("0"));
        QCOMPARE(Preset(fixture, 0), QStringLiteral("0"));
        QCOMPARE(Preset(fixture, 1), QStringLiteral("1"));
        QCOMPARE(open.List(Id::kSide1)->currentText(), kMonitor);
        QCOMPARE(open.List(Id::kButtonA)->currentText(), kCallTone);
        QCOMPARE(open.List(Id::kCallTone)->currentIndex(), 0);
        QCOMPARE(open.List(Id::kPreset2)->currentText(), QStringLiteral("CH 02"));

        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
    }

    // A button list the program cannot rely on: without the value-0 entry, or with no common
    // features at all. A stored feature no list offers leaves the button without a selection
    // (stored as 0); the page neither hangs nor offers what the group does not hold.
    void buttonListWithoutNoOperation_data() {
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QStringList>("side");
        QTest::addColumn<QStringList>("buttonA");
        QTest::newRow("no value-0 entry")
            << QStringLiteral(
                   "<Function Name=\"No Operation\" Value=\"0\" DependName=\"none\" "
                   "DependType=\"0\"/>")
            << QStringList{kMonitor, kScan,     kCallTone,
                           kPower,   kScramble, QStringLiteral("Repeater/Talkaround")}
            << QStringList{kMonitor, kScan,     kCallTone,
                           kPower,   kScramble, kBacklight,
                           kPreset1, kPreset2,  QStringLiteral("Repeater/Talkaround")};
        QTest::newRow("empty common group")
            << QString() << QStringList{} << QStringList{kBacklight, kPreset1, kPreset2};
    }
    void buttonListWithoutNoOperation() {
        QFETCH(QString, removed);
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        QFile file(kInstall + QStringLiteral("/lib/ButtonList.stv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        if (removed.isEmpty()) {
            const qsizetype from = text.indexOf(QStringLiteral("<COMMON>"));
            const qsizetype to = text.indexOf(QStringLiteral("</COMMON>"));
            text = text.left(from) + QStringLiteral("<COMMON/>") + text.mid(to + 9);
        } else {
            QVERIFY(text.contains(removed));
            text.remove(removed);
        }
        // Side 2 carries a feature no list offers.
        fixture.Element(QStringLiteral("setting"))
            .SetAttributeValue(QStringLiteral("side2_but"), qint32(13));
        fixture.settings.Set(CSettingsDocuments::Doc::ButtonList,
                             CXmlDocument::ParseText(text, QStringLiteral("ButtonList.stv")));
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QTEST(open.Items(Id::kSide1), "side");
        QTEST(open.Items(Id::kButtonA), "buttonA");
        QCOMPARE(open.List(Id::kSide2)->currentIndex(), -1);
        QCOMPARE(Setting(fixture, "side2_but"), QStringLiteral("0"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // One enabled channel: only it is listed, and reset puts both presets on it. The model
    // without a display has no keypad lock and no channel switch.
    void resetWithOneEnabledChannel() {
        CPageFixture fixture(QStringLiteral("CUD41600"),
                             Edits{{QStringLiteral("disable_channel=\"0\""),
                                    QStringLiteral("disable_channel=\"1\"")},
                                   {QStringLiteral("name=\"CH 01\" disable_channel=\"1\""),
                                    QStringLiteral("name=\"CH 01\" disable_channel=\"0\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QCOMPARE(open.Items(Id::kPreset1), QStringList{QStringLiteral("CH 01")});
        QCOMPARE(open.List(Id::kPreset2)->currentIndex(), -1);  // stored on a disabled channel
        fixture.prompt.SetAnswer(PromptAnswer::Yes);
        QTest::mouseClick(open.page->ControlAs<QPushButton>(Id::kReset), Qt::LeftButton);
        QCOMPARE(Preset(fixture, 0), QStringLiteral("0"));
        QCOMPARE(Preset(fixture, 1), QStringLiteral("0"));
        QCOMPARE(open.List(Id::kPreset2)->currentText(), QStringLiteral("CH 01"));

        CPageFixture plain(QStringLiteral("CUR40800"));
        QVERIFY(plain.loaded);
        SOpenPage other(plain);
        QVERIFY(other.shown);
        QVERIFY(!other.page->Control(Id::kKeypadLock)->isVisible());
        QVERIFY(!other.page->Control(Id::kKeypadLockLabel)->isVisible());
        QCOMPARE(other.Items(Id::kPreset1).size(), 8);
        QVERIFY(plain.prompt.ids.isEmpty());
    }
};

QTEST_MAIN(ButtonsViewTest)
#include "buttons_view_test.moc"
