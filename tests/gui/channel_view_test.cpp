// The channel page worked as a dealer works it: lists chosen with the keyboard and the mouse,
// boxes clicked, names typed; the channel's attributes checked after each step.

#include "editor/channel_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include "page_fixture.h"
#include "platform/string_table.h"

namespace {

using Edits = QList<std::pair<QString, QString>>;
using Id = CChannelView::ControlId;

// A page over one channel of a fixture, shown in a window of its own.
struct SOpenPage {
    explicit SOpenPage(CPageFixture& fixture, int channel) {
        fixture.channel = channel;
        page = std::make_unique<CChannelView>(fixture.Context());
        page->resize(700, 650);
        page->show();
        shown = QTest::qWaitForWindowExposed(page.get());
    }
    QComboBox* List(int id) const { return page->ControlAs<QComboBox>(id); }
    QCheckBox* Box(int id) const { return page->ControlAs<QCheckBox>(id); }

    std::unique_ptr<CChannelView> page;
    bool shown = false;
};

QString Attr(CPageFixture& fixture, int channel, const char* name) {
    return fixture.Element(QStringLiteral("channels"))
        .GetChildByIndex(channel)
        .AttributeText(QLatin1String(name))
        .value_or(QStringLiteral("<none>"));
}

// Moves a closed list's selection with the keyboard, as the arrow keys do.
void Step(QComboBox* list, int steps) {
    list->setFocus();
    for (int i = 0; i < std::abs(steps); ++i) {
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
}

}  // namespace

class ChannelViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    // The repeater template's first channel: receive 451.8 (entry 0), transmit entry 4, with
    // entry 4 moved out of the model's band.
    void outOfRangeTransmitAndOpeningItsList() {
        CPageFixture fixture(
            QStringLiteral("CUD41670"),
            Edits{{QStringLiteral("freq=\"456800000\""), QStringLiteral("freq=\"480000000\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 0);
        QVERIFY(open.shown);
        QComboBox* tx = open.List(Id::kTxFrequency);
        QCOMPARE(tx->currentText(), CStringTable::Instance().Text(510));
        QCOMPARE(tx->count(), 12);  // 11 listed entries and "Out of range"

        // Opening the list: the first listed entry is the receive frequency, so the second.
        QTest::mouseClick(tx, Qt::LeftButton);
        tx->hidePopup();
        QCOMPARE(tx->currentText(), QStringLiteral("2 - 461.037500"));
        QCOMPARE(tx->count(), 11);
        QCOMPARE(Attr(fixture, 0, "tx_freq_ndx"), QStringLiteral("1"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    void sameFrequencyInRepeaterOperation() {
        CPageFixture fixture(QStringLiteral("CUD41670"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 0);
        QVERIFY(open.shown);
        // Receive moves onto the transmit frequency (entry 4): 514, and transmit moves on.
        Step(open.List(Id::kRxFrequency), 4);
        QCOMPARE(fixture.prompt.ids, QList<int>{CChannelView::kMsgSameFrequency});
        QCOMPARE(Attr(fixture, 0, "rx_freq_ndx"), QStringLiteral("4"));
        QCOMPARE(Attr(fixture, 0, "tx_freq_ndx"), QStringLiteral("5"));
        QCOMPARE(open.List(Id::kTxFrequency)->currentIndex(), 5);

        // Switching repeater off shows the note; back on with equal frequencies moves transmit
        // on without a message.
        fixture.prompt.ids.clear();
        QCheckBox* repeater = open.Box(Id::kRepeater);
        QTest::mouseClick(repeater, Qt::LeftButton);
        QCOMPARE(Attr(fixture, 0, "repeater"), QStringLiteral("0"));
        QVERIFY(open.page->Control(Id::kTalkaroundNote)->isVisible());
        QVERIFY(!open.List(Id::kTxFrequency)->isEnabled());
        QVERIFY(!open.Box(Id::kTalkaroundScan)->isEnabled());
        Step(open.List(Id::kRxFrequency), 1);
        QTest::mouseClick(repeater, Qt::LeftButton);
        QCOMPARE(Attr(fixture, 0, "repeater"), QStringLiteral("1"));
        QVERIFY(open.List(Id::kTxFrequency)->isEnabled());
        QVERIFY(fixture.prompt.ids.isEmpty());
        QVERIFY(Attr(fixture, 0, "rx_freq_ndx") != Attr(fixture, 0, "tx_freq_ndx"));
    }

    // Only entry 0 is in the band; receive stands out of range, transmit on entry 0, repeater
    // on: choosing entry 0 to receive turns repeater off instead of asking.
    void oneTransmitFrequencyTurnsRepeaterOff() {
        CPageFixture fixture(
            QStringLiteral("CUD41670"),
            Edits{{QStringLiteral("start_freq=\"450000000\" end_freq=\"470000000\""),
                   QStringLiteral("start_freq=\"451800000\" end_freq=\"451800000\"")},
                  {QStringLiteral("rx_freq_ndx=\"0\" rx_code=\"12\" tx_freq_ndx=\"4\""),
                   QStringLiteral("rx_freq_ndx=\"4\" rx_code=\"12\" tx_freq_ndx=\"0\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 0);
        QVERIFY(open.shown);
        QComboBox* rx = open.List(Id::kRxFrequency);
        QCOMPARE(rx->count(), 2);
        QCOMPARE(rx->currentText(), CStringTable::Instance().Text(510));
        Step(rx, -1);
        QCOMPARE(Attr(fixture, 0, "rx_freq_ndx"), QStringLiteral("0"));
        QCOMPARE(Attr(fixture, 0, "repeater"), QStringLiteral("0"));
        QVERIFY(!open.Box(Id::kRepeater)->isChecked());
        QVERIFY(!open.Box(Id::kRepeater)->isEnabled());
        QVERIFY(fixture.prompt.ids.isEmpty());
        QCOMPARE(rx->count(), 1);
    }

    // A VHF repeater model outside the narrowband mandate: entry 0 is selectable with 12.5 kHz
    // by default, entry 1 made selectable with 25 kHz by default, entry 4 12.5 kHz only.
    void bandwidthFollowsTheChosenFrequency() {
        CPageFixture fixture(QStringLiteral("CVR50873"),
                             Edits{{QStringLiteral("freq=\"152885000\" bandwidth=\"2\""),
                                    QStringLiteral("freq=\"152885000\" bandwidth=\"3\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 4);  // "TA 1": talkaround on entry 0
        QVERIFY(open.shown);
        QComboBox* bandwidth = open.List(Id::kRxBandwidth);
        QVERIFY(bandwidth->isEnabled());
        Step(open.List(Id::kRxFrequency), 1);
        QCOMPARE(Attr(fixture, 4, "rx_bw"), QStringLiteral("1"));
        QCOMPARE(bandwidth->currentIndex(), 1);
        // The user picks 12.5 kHz; the next frequency with 25 kHz by default sets 25 kHz again.
        Step(bandwidth, -1);
        QCOMPARE(Attr(fixture, 4, "rx_bw"), QStringLiteral("0"));
        Step(open.List(Id::kRxFrequency), -1);
        Step(open.List(Id::kRxFrequency), 1);
        QCOMPARE(Attr(fixture, 4, "rx_bw"), QStringLiteral("1"));
        // 12.5 kHz only: forced and greyed.
        Step(open.List(Id::kRxFrequency), 3);
        QCOMPARE(Attr(fixture, 4, "rx_freq_ndx"), QStringLiteral("4"));
        QCOMPARE(Attr(fixture, 4, "rx_bw"), QStringLiteral("0"));
        QVERIFY(!bandwidth->isEnabled());
        QVERIFY(fixture.prompt.ids.isEmpty());
        // Every item of the code list, 0 to maxCodes.
        QCOMPARE(open.List(Id::kRxCode)->count(), 123);
    }

    // A handheld without repeater operation shows one column; what it sets holds both ways.
    void oneColumnWithoutRepeaterOperation() {
        // In German: a decimal comma, and the captions and code texts of the language module.
        QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        CPageFixture fixture(QStringLiteral("CUD41600"));
        fixture.separator = QStringLiteral(",");
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 1);
        QVERIFY(open.shown);
        CStringTable& strings = CStringTable::Instance();
        QCOMPARE(open.List(Id::kRxCode)->itemText(1), QStringLiteral("1 - 67,0 Hz"));
        QCOMPARE(open.List(Id::kRxCode)->itemText(0), strings.Text(435));
        QVERIFY(strings.Text(435) != CStringTable::EnglishText(435));
        QCOMPARE(open.page->ControlAs<QLabel>(Id::kRxHeader)->text(),
                 strings.Text(232) + u'/' + strings.Text(236));
        QCOMPARE(open.page->ControlAs<QLabel>(Id::kTalkaroundPowerLabel)->text().remove(u'&'),
                 strings.Text(447));
        for (int id : {int(Id::kTxHeader), int(Id::kTxFrequency), int(Id::kTxCode),
                       int(Id::kRepeater), int(Id::kTalkaroundNote)}) {
            QVERIFY2(open.page->Control(id)->isHidden(), qPrintable(QString::number(id)));
        }
        // The receive header sits under the title's centre.
        QCOMPARE(open.page->Control(Id::kRxHeader)->geometry().center().x(),
                 open.page->Title()->geometry().center().x());
        QVERIFY2(QRegularExpression(QStringLiteral("^1 - \\d{3},\\d{6}$"))
                     .match(open.List(Id::kRxFrequency)->itemText(0))
                     .hasMatch(),
                 qPrintable(open.List(Id::kRxFrequency)->itemText(0)));

        Step(open.List(Id::kRxFrequency), 2);
        QCOMPARE(Attr(fixture, 1, "rx_freq_ndx"), QStringLiteral("3"));
        QCOMPARE(Attr(fixture, 1, "tx_freq_ndx"), QStringLiteral("3"));
        Step(open.List(Id::kRxCode), 5);
        QCOMPARE(Attr(fixture, 1, "rx_code"), QStringLiteral("6"));
        QCOMPARE(Attr(fixture, 1, "tx_code"), QStringLiteral("6"));
        QVERIFY(fixture.prompt.ids.isEmpty());

        // Each change is a step of its own, undone back to the identical profile.
        const QByteArray before = fixture.document->Model().SaveWorkingState();
        Step(open.List(Id::kScramble), 1);
        QCOMPARE(Attr(fixture, 1, "scramble_code"), QStringLiteral("1"));
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
    }

    void nameIsTrimmedOrKept() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 2);
        QVERIFY(open.shown);
        open.page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open.page.get()));
        auto* name = open.page->ControlAs<QLineEdit>(Id::kName);
        QCOMPARE(name->maxLength(), 8);
        open.page->FocusNameEdit();
        QTest::keyClicks(name, QStringLiteral(" BAR  "));
        // Tab moves the focus to another field of the page: the name is committed.
        QTest::keyClick(name, Qt::Key_Tab);
        QCOMPARE(Attr(fixture, 2, "name"), QStringLiteral("BAR"));
        QCOMPARE(open.page->Title()->property("text").toString(), QStringLiteral("BAR (3)"));

        // Spaces only: the stored name comes back and the field keeps the focus.
        open.page->FocusNameEdit();
        QTest::keyClicks(name, QStringLiteral("   "));
        QVERIFY(!open.page->CanLeavePage());
        QCOMPARE(name->text(), QStringLiteral("BAR"));
        QTRY_VERIFY(name->hasFocus());
        QTRY_COMPARE(name->selectedText(), QStringLiteral("BAR"));
        QCOMPARE(Attr(fixture, 2, "name"), QStringLiteral("BAR"));
    }

    // The display handheld's channel 0 is preset 1, and its lower left button carries preset 1.
    void disablingAPresetChannel() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 0);
        QVERIFY(open.shown);
        QCheckBox* disable = open.Box(Id::kDisable);
        fixture.prompt.SetAnswer(PromptAnswer::No);
        QTest::mouseClick(disable, Qt::LeftButton);
        QCOMPARE(fixture.prompt.ids, QList<int>{CChannelView::kMsgPresetChannel});
        QVERIFY(!disable->isChecked());
        QCOMPARE(Attr(fixture, 0, "disable_channel"), QStringLiteral("0"));

        fixture.prompt.SetAnswer(PromptAnswer::Yes);
        QTest::mouseClick(disable, Qt::LeftButton);
        QCOMPARE(Attr(fixture, 0, "disable_channel"), QStringLiteral("1"));
        QVERIFY(disable->isChecked());
        QVERIFY(!open.List(Id::kRxFrequency)->isEnabled());
        QVERIFY(!open.page->Control(Id::kName)->isEnabled());
        // The preset moves to the first channel still working.
        const CDataItem setting = fixture.Element(QStringLiteral("setting"));
        QCOMPARE(setting.GetChildByIndex(0).AttributeText(QStringLiteral("channel")),
                 QStringLiteral("1"));

        QTest::mouseClick(disable, Qt::LeftButton);
        QCOMPARE(Attr(fixture, 0, "disable_channel"), QStringLiteral("0"));
        QVERIFY(open.List(Id::kRxFrequency)->isEnabled());
    }

    void theOnlyEnabledChannelStaysOn() {
        CPageFixture fixture(QStringLiteral("CUD41600"),
                             Edits{{QStringLiteral("disable_channel=\"0\""),
                                    QStringLiteral("disable_channel=\"1\"")},
                                   {QStringLiteral("name=\"CH 04\" disable_channel=\"1\""),
                                    QStringLiteral("name=\"CH 04\" disable_channel=\"0\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture, 3);
        QVERIFY(open.shown);
        QVERIFY(!open.Box(Id::kDisable)->isEnabled());
        SOpenPage other(fixture, 4);
        QVERIFY(other.shown);
        QVERIFY(other.Box(Id::kDisable)->isEnabled());
        QVERIFY(!other.List(Id::kRxFrequency)->isEnabled());
    }
};

QTEST_MAIN(ChannelViewTest)
#include "channel_view_test.moc"
