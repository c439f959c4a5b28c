// The General Settings page worked as a dealer works it: fields typed and left with Tab, boxes
// clicked, list items chosen with the keyboard; the profile's attributes checked after each step.
// Passwords are compared with QVERIFY so that a failure never prints one.

#include "editor/setting_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "page_fixture.h"
#include "platform/string_table.h"

namespace {

using Edits = QList<std::pair<QString, QString>>;
using Id = CSettingView::ControlId;

// A page over a fixture's profile, shown and active in a window of its own; the fixture's
// document asks it to commit before a save, as a profile window does.
struct SOpenPage {
    explicit SOpenPage(CPageFixture& opened) : fixture(opened) {
        page = std::make_unique<CSettingView>(fixture.Context());
        page->resize(560, 760);
        page->show();
        page->activateWindow();
        shown = QTest::qWaitForWindowActive(page.get());
        fixture.document->SetCommitEdits([this] { return page->CanLeavePage(); });
    }
    ~SOpenPage() { fixture.document->SetCommitEdits({}); }

    QLineEdit* Edit(int id) const { return page->ControlAs<QLineEdit>(id); }
    QComboBox* List(int id) const { return page->ControlAs<QComboBox>(id); }
    QCheckBox* Box(int id) const { return page->ControlAs<QCheckBox>(id); }
    QString Setting(const char* name) const {
        return fixture.Element(QStringLiteral("setting"))
            .AttributeText(QLatin1String(name))
            .value_or(QStringLiteral("<none>"));
    }
    // Types into a field after it has taken the focus as a click would give it.
    void Type(int id, const QString& text) const {
        QLineEdit* edit = Edit(id);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void Tab(int id) const { QTest::keyClick(Edit(id), Qt::Key_Tab); }

    CPageFixture& fixture;
    std::unique_ptr<CSettingView> page;
    bool shown = false;
};

// Moves a closed list's selection with the keyboard, as the arrow keys do.
void Step(QComboBox* list, int steps) {
    list->setFocus();
    for (int i = 0; i < std::abs(steps); ++i) {
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
}

const int kRepeaterRows[] = {Id::kStationId,  Id::kIdMode,    Id::kHangTime,
                             Id::kLowBattery, Id::kAlertTone, Id::kCourtesyBeep};
const int kHandheldRows[] = {Id::kBatterySave, Id::kBatteryType, Id::kBatteryFrame};

}  // namespace

class SettingViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    // Which rows a model shows, and that a hidden row is neither loaded nor written.
    void rowsByModel_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<bool>("repeater");
        QTest::addColumn<QList<int>>("alsoHidden");
        QTest::newRow("handheld") << QStringLiteral("CUD41600") << Edits{} << false << QList<int>{};
        QTest::newRow("repeater") << QStringLiteral("CUD41670") << Edits{} << true << QList<int>{};
        QTest::newRow("no reverse burst")
            << QStringLiteral("CUD41600")
            << Edits{{QStringLiteral("enable_reverse_burst=\"1\""),
                      QStringLiteral("enable_reverse_burst=\"0\"")}}
            << false << QList<int>{Id::kReverseBurst, Id::kReverseBurstLabel};
        // A repeater profile read from a radio has no station ID: the row goes, no message.
        QTest::newRow("repeater read from a radio")
            << QStringLiteral("CUD41670") << Edits{{QStringLiteral(" stationID=\"\""), QString()}}
            << true << QList<int>{Id::kStationId, Id::kStationIdLabel};
    }
    void rowsByModel() {
        QFETCH(QString, model);
        QFETCH(Edits, edits);
        QFETCH(bool, repeater);
        QFETCH(QList<int>, alsoHidden);
        CPageFixture fixture(model, edits);
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QVERIFY(fixture.prompt.ids.isEmpty());
        for (int id : kRepeaterRows) {
            const bool hidden = !repeater || alsoHidden.contains(id);
            QVERIFY2(open.page->Control(id)->isHidden() == hidden, qPrintable(QString::number(id)));
        }
        for (int id : kHandheldRows) {
            QVERIFY2(open.page->Control(id)->isHidden() == repeater,
                     qPrintable(QString::number(id)));
        }
        for (int id : alsoHidden) {
            QVERIFY2(open.page->Control(id)->isHidden(), qPrintable(QString::number(id)));
        }
        // Hidden rows were not filled.
        if (repeater) {
            QCOMPARE(open.List(Id::kBatteryType)->currentIndex(), -1);
            QCOMPARE(open.Edit(Id::kHangTime)->text(), QStringLiteral("3"));
        } else {
            QCOMPARE(open.Edit(Id::kHangTime)->text(), QString());
            QCOMPARE(open.List(Id::kBatteryType)->currentText(), QStringLiteral("Nickel/LiIon"));
        }
        // The rows that stay close up under the title: nothing sits below the page's last row.
        QVERIFY(open.page->ScrollSize().height() < 700);
        QVERIFY(!fixture.document->IsModified());
    }

    // Lists and boxes are written as they change; the back light sets two attributes.
    void listsAndBoxes() {
        CPageFixture fixture(QStringLiteral("CUD41670"),
                             Edits{{QStringLiteral("backlight_enabled=\"1\""),
                                    QStringLiteral("backlight_enabled=\"0\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QCOMPARE(open.List(Id::kTimeout)->currentText(), QStringLiteral("180"));
        Step(open.List(Id::kTimeout), -1);
        QCOMPARE(open.Setting("timeoutTimer"), QStringLiteral("120"));

        // Switched off shows "OFF" whatever the stored timeout.
        QCOMPARE(open.List(Id::kBacklight)->currentIndex(), 0);
        Step(open.List(Id::kBacklight), 2);
        QCOMPARE(open.Setting("backlight_enabled"), QStringLiteral("1"));
        QCOMPARE(open.Setting("backlight_timeout"), QStringLiteral("10"));
        Step(open.List(Id::kBacklight), -2);
        QCOMPARE(open.Setting("backlight_enabled"), QStringLiteral("0"));

        Step(open.List(Id::kIdMode), 3);
        QCOMPARE(open.Setting("rep_id_mode"), QStringLiteral("3"));
        QCOMPARE(open.List(Id::kIdMode)->currentText(), QStringLiteral("After conversation"));
        Step(open.List(Id::kAlertTone), 3);
        QCOMPARE(open.Setting("onbatt_alert"), QStringLiteral("4"));

        QTest::mouseClick(open.Box(Id::kCourtesyBeep), Qt::LeftButton);
        QCOMPARE(open.Setting("courtesy_over"), QStringLiteral("1"));
        QTest::mouseClick(open.Box(Id::kProgrammingMode), Qt::LeftButton);
        QCOMPARE(fixture.Element(QStringLiteral("limit"))
                     .AttributeText(QStringLiteral("programming_mode_enabled"))
                     .value_or(QString()),
                 QStringLiteral("1"));
        QVERIFY(fixture.prompt.ids.isEmpty());
        QVERIFY(fixture.document->IsModified());
    }

    // Each kind of change is one step, undone back to the identical profile.
    void eachKindOfChangeIsUndone_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::newRow("check box") << 0 << "disableLED"
                                   << "1";
        QTest::newRow("list") << 1 << "reverseBurst"
                              << "1";
        QTest::newRow("back light, two attributes") << 2 << "backlight_timeout"
                                                    << "10";
        QTest::newRow("text field") << 3 << "powerupString"
                                    << "HI";
        QTest::newRow("password pair") << 4 << "password"
                                       << "2468";
        QTest::newRow("hang time") << 5 << "rep_hangtime"
                                   << "12";
    }
    void eachKindOfChangeIsUndone() {
        QFETCH(int, kind);
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        CPageFixture fixture(QStringLiteral("CUD41670"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        const QByteArray before = fixture.document->Model().SaveWorkingState();
        switch (kind) {
            case 0:
                QTest::mouseClick(open.Box(Id::kLeds), Qt::LeftButton);
                break;
            case 1:
                Step(open.List(Id::kReverseBurst), 1);
                break;
            case 2:
                Step(open.List(Id::kBacklight), 1);
                break;
            case 3:
                open.Type(Id::kPowerUp, value);
                open.Tab(Id::kPowerUp);
                break;
            case 4:
                open.Type(Id::kPassword, value);
                open.Tab(Id::kPassword);
                open.Type(Id::kConfirm, value);
                open.Tab(Id::kConfirm);
                break;
            case 5:
                open.Type(Id::kHangTime, value);
                open.Tab(Id::kHangTime);
                break;
        }
        QVERIFY(open.Setting(qPrintable(attribute)) == value);
        QVERIFY(fixture.prompt.ids.isEmpty());
        // The step's name says what changed, never to what.
        QVERIFY(!fixture.document->History().UndoLabel().isEmpty());
        QVERIFY(!fixture.document->History().UndoLabel().contains(value));
        QVERIFY(fixture.document->Undo().has_value());
        QVERIFY(fixture.document->Model().SaveWorkingState() == before);
        QVERIFY(!fixture.document->History().CanUndo());
    }

    // Text fields are taken when the focus moves to another control of the page, refused
    // with their message and the user put back in the field; focus leaving the page takes
    // nothing until the page is left.
    void textFields() {
        CPageFixture fixture(QStringLiteral("CUD41670"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QLineEdit* powerUp = open.Edit(Id::kPowerUp);
        QCOMPARE(powerUp->maxLength(), 8);
        open.Type(Id::kPowerUp, QStringLiteral("Hey"));
        QVERIFY(fixture.document->IsModified());
        open.Tab(Id::kPowerUp);
        QCOMPARE(fixture.prompt.ids, QList<int>{CSettingView::kMsgPowerUpText});
        QCOMPARE(open.Setting("powerupString"), QStringLiteral("REPEATER"));
        QCOMPARE(powerUp->text(), QStringLiteral("REPEATER"));
        QTRY_VERIFY(powerUp->hasFocus());
        QCOMPARE(powerUp->selectedText(), QStringLiteral("REPEATER"));

        // Digits only: the letter never arrives, the digits before and after it do.
        fixture.prompt.ids.clear();
        QLineEdit* hangTime = open.Edit(Id::kHangTime);
        open.Type(Id::kHangTime, QStringLiteral("1a2"));
        QCOMPARE(hangTime->text(), QStringLiteral("12"));
        open.Type(Id::kLowBattery, QStringLiteral("x9"));
        QCOMPARE(open.Edit(Id::kLowBattery)->text(), QStringLiteral("9"));
        // Moving from hang time to low battery took hang time.
        QCOMPARE(open.Setting("rep_hangtime"), QStringLiteral("12"));
        // Out of range, and an empty field: 492, the stored value back.
        for (const QString& typed : {QStringLiteral("51"), QString()}) {
            open.Type(Id::kHangTime, typed);
            if (typed.isEmpty()) {
                QTest::keyClick(hangTime, Qt::Key_Backspace);
            }
            open.Tab(Id::kHangTime);
            QCOMPARE(fixture.prompt.ids.takeLast(), CSettingView::kMsgHangTime);
            QCOMPARE(hangTime->text(), QStringLiteral("12"));
        }
        QVERIFY(fixture.prompt.ids.isEmpty());
        // Going back to hang time took low battery.
        QCOMPARE(open.Setting("low_battery_tx"), QStringLiteral("9"));
        QTRY_VERIFY(hangTime->hasFocus());

        // Focus that leaves the page commits nothing; leaving the page does.
        open.Type(Id::kStationId, QStringLiteral("KB1XYZ"));
        QLineEdit elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QCOMPARE(open.Setting("stationID"), QString());
        QVERIFY(open.page->CanLeavePage());
        QCOMPARE(open.Setting("stationID"), QStringLiteral("KB1XYZ"));
        // A refused station ID keeps the page.
        open.Edit(Id::kStationId)->setFocus();
        QTest::keyClicks(open.Edit(Id::kStationId), QStringLiteral("-"));
        QVERIFY(!open.page->CanLeavePage());
        QCOMPARE(fixture.prompt.ids, QList<int>{CSettingView::kMsgStationId});
        QCOMPARE(open.Setting("stationID"), QStringLiteral("KB1XYZ"));
    }

    void passwordPair() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QLineEdit* password = open.Edit(Id::kPassword);
        QLineEdit* confirm = open.Edit(Id::kConfirm);
        for (QLineEdit* edit : {password, confirm}) {
            QCOMPARE(edit->echoMode(), QLineEdit::Password);
            QVERIFY(edit->property("vesk_password").toBool());
            QCOMPARE(edit->maxLength(), CSettingView::kPasswordLength);
        }
        // Three digits: 212, back in the field.
        open.Type(Id::kPassword, QStringLiteral("123"));
        open.Tab(Id::kPassword);
        QCOMPARE(fixture.prompt.ids, QList<int>{CSettingView::kMsgPasswordLength});
        QTRY_VERIFY(password->hasFocus());
        // The digits typed again over the selection, on into the empty confirmation: nothing yet.
        fixture.prompt.ids.clear();
        QVERIFY(password->selectedText() == QStringLiteral("123"));
        QTest::keyClicks(password, QStringLiteral("1234x"));
        QVERIFY(password->text() == QStringLiteral("1234"));
        open.Tab(Id::kPassword);
        QVERIFY(confirm->hasFocus());
        QVERIFY(fixture.prompt.ids.isEmpty());
        // A different confirmation: 228, and both show what the profile holds again.
        QTest::keyClicks(confirm, QStringLiteral("1243"));
        open.Tab(Id::kConfirm);
        QCOMPARE(fixture.prompt.ids, QList<int>{CSettingView::kMsgPasswordMismatch});
        QVERIFY(password->text().isEmpty() && confirm->text().isEmpty());
        QVERIFY(open.Setting("password").isEmpty());
        QTRY_VERIFY(password->hasFocus());
        // Equal: stored.
        fixture.prompt.ids.clear();
        QTest::keyClicks(password, QStringLiteral("1234"));
        open.Tab(Id::kPassword);
        QTest::keyClicks(confirm, QStringLiteral("1234"));
        open.Tab(Id::kConfirm);
        QVERIFY(open.Setting("password") == QStringLiteral("1234"));
        QVERIFY(fixture.prompt.ids.isEmpty());
        // Cut and Copy give nothing away.
        password->setFocus();
        password->selectAll();
        QTest::keyClick(password, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(password->text() == QStringLiteral("1234"));
        // Both cleared: no password.
        open.Type(Id::kPassword, QString());
        QTest::keyClick(password, Qt::Key_Backspace);
        open.Tab(Id::kPassword);
        QTest::keyClick(confirm, Qt::Key_Backspace);
        open.Tab(Id::kConfirm);
        QVERIFY(open.Setting("password").isEmpty());
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // A save asks the page first: a different confirmation stops it with 228 and the stored
    // password stays; the next save keeps that password rather than dropping it.
    void saveWithDifferentConfirmation() {
        CPageFixture fixture(
            QStringLiteral("CUD41600"),
            Edits{{QStringLiteral("password=\"\""), QStringLiteral("password=\"5555\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        open.Type(Id::kPassword, QStringLiteral("1234"));
        open.Tab(Id::kPassword);
        open.Type(Id::kConfirm, QStringLiteral("4321"));
        QVERIFY(!fixture.document->PrepareSave());
        QCOMPARE(fixture.prompt.ids, QList<int>{CSettingView::kMsgPasswordMismatch});
        QVERIFY(open.Setting("password") == QStringLiteral("5555"));
        fixture.prompt.ids.clear();
        QVERIFY(fixture.document->PrepareSave());
        QVERIFY(open.Setting("password") == QStringLiteral("5555"));

        // A power-up text and an equal pair typed, the focus gone to another window before the
        // save: both go in.
        QTRY_VERIFY(open.Edit(Id::kPassword)->hasFocus());
        open.Type(Id::kPowerUp, QStringLiteral("HI"));
        QLineEdit elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        for (int id : {int(Id::kPassword), int(Id::kConfirm)}) {
            open.Edit(id)->selectAll();
            QTest::keyClicks(open.Edit(id), QStringLiteral("2468"));
        }
        QCOMPARE(open.Setting("powerupString"), QStringLiteral("HELLO"));
        QVERIFY(fixture.document->PrepareSave());
        QVERIFY(open.Setting("password") == QStringLiteral("2468"));
        QCOMPARE(open.Setting("powerupString"), QStringLiteral("HI"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // Every control is named by its label and reached by Tab in the page's order, in German too.
    void keyboardAndNames() {
        QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage open(fixture);
        QVERIFY(open.shown);
        QCOMPARE(open.page->ControlAs<QLabel>(Id::kTitle)->text(),
                 CStringTable::Instance().Text(167));
        QCOMPARE(open.List(Id::kBatteryType)->accessibleName(), CStringTable::Instance().Text(756));
        QStringList walked;
        open.Edit(Id::kPassword)->setFocus();
        QWidget* start = QApplication::focusWidget();
        QWidget* focus = start;
        do {
            QVERIFY(!focus->accessibleName().isEmpty());
            walked << focus->accessibleName();
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = QApplication::focusWidget();
        } while (focus != start && walked.size() < 40);
        const QStringList expected = {
            CStringTable::Instance().Text(740), CStringTable::Instance().Text(741),
            CStringTable::Instance().Text(742), CStringTable::Instance().Text(745),
            CStringTable::Instance().Text(746), CStringTable::Instance().Text(747),
            CStringTable::Instance().Text(748), CStringTable::Instance().Text(749),
            CStringTable::Instance().Text(754), CStringTable::Instance().Text(755),
            CStringTable::Instance().Text(756)};
        QCOMPARE(walked, expected);
        QVERIFY(fixture.prompt.ids.isEmpty());
    }
};

QTEST_MAIN(SettingViewTest)
#include "setting_view_test.moc"
