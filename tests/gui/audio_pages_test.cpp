// The Audio Settings page and the customized KT and VRC pages worked as a dealer works them:
// lists chosen with the keyboard, boxes clicked, codes typed and Tab pressed; the "setting"
// element checked after each step.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "editor/audio_setting_view.h"
#include "editor/channel_view.h"
#include "editor/customized_kt_view.h"
#include "editor/customized_vrc_view.h"
#include "page_fixture.h"
#include "platform/string_table.h"

namespace {

using Edits = QList<std::pair<QString, QString>>;
using Audio = CAudioSettingView::ControlId;

// A page of a fixture, shown and active in a window of its own.
template <class Page>
struct SOpenPage {
    explicit SOpenPage(CPageFixture& fixture) {
        page = std::make_unique<Page>(fixture.Context());
        page->resize(600, 500);
        page->show();
        page->activateWindow();
        shown = QTest::qWaitForWindowActive(page.get());
    }
    QComboBox* List(int id) const { return page->template ControlAs<QComboBox>(id); }
    QCheckBox* Box(int id) const { return page->template ControlAs<QCheckBox>(id); }
    QLineEdit* Field(int id) const { return page->template ControlAs<QLineEdit>(id); }

    std::unique_ptr<Page> page;
    bool shown = false;
};

QString Setting(CPageFixture& fixture, const QString& name) {
    return fixture.Element(QStringLiteral("setting"))
        .AttributeText(name)
        .value_or(QStringLiteral("<none>"));
}

void Step(QComboBox* list, int steps) {
    list->setFocus();
    for (int i = 0; i < std::abs(steps); ++i) {
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
}

// Replaces a field's text by typing, as a user does after selecting it.
void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

}  // namespace

class AudioPagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    void audioListsAndBoxes() {
        CPageFixture fixture(QStringLiteral("CUD41600"),
                             Edits{{QStringLiteral("voice_language=\"0\""),
                                    QStringLiteral("voice_language=\"7\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage<CAudioSettingView> open(fixture);
        QVERIFY(open.shown);
        QCOMPARE(open.List(Audio::kLanguage)->currentIndex(), 3);  // "OFF"
        QCOMPARE(open.List(Audio::kVoxLevel)->currentIndex(), 3);  // "OFF"
        QCOMPARE(open.List(Audio::kVoxLevel)->count(), 4);
        QCOMPARE(open.List(Audio::kIvoxLevel)->count(), 3);
        QVERIFY(!open.Box(Audio::kRogerBeep)->isChecked());
        QVERIFY(open.Box(Audio::kKeypadBeep)->isChecked());
        // Every value control is named by its label, for the keyboard and a screen reader.
        QCOMPARE(open.List(Audio::kLanguage)->accessibleName(), CStringTable::Instance().Text(774));
        QCOMPARE(open.page->template ControlAs<QLabel>(Audio::kLanguageLabel)->buddy(),
                 open.List(Audio::kLanguage));

        Step(open.List(Audio::kMicrophoneGain), 1);
        QCOMPARE(Setting(fixture, QStringLiteral("microphoneGain")), QStringLiteral("2"));
        Step(open.List(Audio::kVoxLevel), -3);
        QCOMPARE(Setting(fixture, QStringLiteral("vox_level")), QStringLiteral("0"));
        QVERIFY(fixture.prompt.ids.isEmpty());

        // Each kind of change is a step of its own, undone back to the identical profile; the
        // window then shows the page anew, as after every undo.
        const QByteArray before = fixture.document->Model().SaveWorkingState();
        Step(open.List(Audio::kLanguage), -1);  // "Spanish"
        QCOMPARE(Setting(fixture, QStringLiteral("voice_language")), QStringLiteral("2"));
        QVERIFY(fixture.document->IsModified());
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);

        SOpenPage<CAudioSettingView> again(fixture);
        QVERIFY(again.shown);
        QCOMPARE(again.List(Audio::kLanguage)->currentIndex(), 3);
        QTest::mouseClick(again.Box(Audio::kRogerBeep), Qt::LeftButton);
        QCOMPARE(Setting(fixture, QStringLiteral("rogerBeepTone")), QStringLiteral("1"));
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // A number the voice chip does not know reads as English and stays as it is until the user
    // chooses.
    void unknownLanguageShowsEnglish() {
        CPageFixture fixture(QStringLiteral("CUD41600"),
                             Edits{{QStringLiteral("voice_language=\"0\""),
                                    QStringLiteral("voice_language=\"5\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage<CAudioSettingView> open(fixture);
        QVERIFY(open.shown);
        QCOMPARE(open.List(Audio::kLanguage)->currentIndex(), 0);
        QCOMPARE(Setting(fixture, QStringLiteral("voice_language")), QStringLiteral("5"));
        QVERIFY(!fixture.document->IsModified());
        Step(open.List(Audio::kLanguage), 1);
        QCOMPARE(Setting(fixture, QStringLiteral("voice_language")), QStringLiteral("1"));
    }

    void audioRowsByModelAndLimits_data() {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QStringList>("limits");  // name="value", replacing the template's
        QTest::addColumn<QList<int>>("hidden");
        const QList<int> vox{Audio::kVoxLevelLabel, Audio::kVoxLevel};
        const QList<int> ivox{Audio::kIvoxLevelLabel, Audio::kIvoxLevel};
        QTest::newRow("handheld") << "CUD41600" << QStringList() << QList<int>{};
        QTest::newRow("repeater") << "CUD41670" << QStringList() << vox + ivox;
        QTest::newRow("no iVOX") << "CUR40201" << QStringList() << ivox;
        QTest::newRow("no VOX") << "CUD41600" << QStringList{"disable_vox_feature=\"1\""} << vox;
        QTest::newRow("no voice chip") << "CUD41600" << QStringList{"voice_chip_enable=\"0\""}
                                       << QList<int>{Audio::kLanguageLabel, Audio::kLanguage};
        QTest::newRow("no beeps") << "CUD41600"
                                  << QStringList{"disable_roger_beep_feature=\"1\"",
                                                 "disable_keypad_beep_feature=\"1\""}
                                  << QList<int>{Audio::kRogerBeepLabel, Audio::kRogerBeep,
                                                Audio::kKeypadBeepLabel, Audio::kKeypadBeep};
    }

    void audioRowsByModelAndLimits() {
        QFETCH(QString, templateName);
        QFETCH(QStringList, limits);
        QFETCH(QList<int>, hidden);
        Edits edits;
        for (const QString& limit : limits) {
            const QString name = limit.section(u'=', 0, 0);
            edits << std::pair{name + "=\"0\"", limit} << std::pair{name + "=\"1\"", limit};
        }
        CPageFixture fixture(templateName, edits);
        QVERIFY(fixture.loaded);
        SOpenPage<CAudioSettingView> open(fixture);
        QVERIFY(open.shown);
        for (int id :
             {int(Audio::kVoxLevelLabel), int(Audio::kVoxLevel), int(Audio::kIvoxLevelLabel),
              int(Audio::kIvoxLevel), int(Audio::kLanguageLabel), int(Audio::kLanguage),
              int(Audio::kRogerBeepLabel), int(Audio::kRogerBeep), int(Audio::kKeypadBeepLabel),
              int(Audio::kKeypadBeep)}) {
            QVERIFY2(open.page->Control(id)->isHidden() == hidden.contains(id),
                     qPrintable(QString::number(id)));
        }
        // The rows that stay close up under the title.
        QVERIFY(open.page->Control(Audio::kMicrophoneGain)->isVisible());
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    // In German, with a decimal comma: tones are shown and typed with it, a point is no
    // separator, typing stops at the first decimal, and the channel page made next offers the
    // new tone.
    void customizedTonesWithDecimalComma() {
        QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        CPageFixture fixture(QStringLiteral("CUD41600"));
        fixture.separator = QStringLiteral(",");
        QVERIFY(fixture.loaded);
        SOpenPage<CCustomizedKTView> open(fixture);
        QVERIFY(open.shown);
        QLineEdit* first = open.Field(CCustomizedKTView::kFirstField);
        QLineEdit* second = open.Field(CCustomizedKTView::kFirstField + 1);
        QCOMPARE(first->text(), QStringLiteral("159,8"));
        QCOMPARE(second->text(), QStringLiteral("165,5"));
        QCOMPARE(first->maxLength(), 5);
        QCOMPARE(first->accessibleName(), QStringLiteral("KT-Code 124 (Hz)"));

        // "67.2": the point is dropped, and 672 Hz is out of range: told once, the typing stays
        // selected in the field for correcting, and the page cannot be left.
        Type(second, QStringLiteral("67.2"));
        QCOMPARE(second->text(), QStringLiteral("672"));
        QTest::keyClick(second, Qt::Key_Backtab);
        QTRY_COMPARE(fixture.prompt.ids, QList<int>{CCustomizedKTView::kMsgInvalidTone});
        QTRY_VERIFY(second->hasFocus());
        QCOMPARE(second->selectedText(), QStringLiteral("672"));
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode125")), QStringLiteral("1655"));
        fixture.prompt.ids.clear();
        QVERIFY(!open.page->CanLeavePage());
        QCOMPARE(fixture.prompt.ids, QList<int>{CCustomizedKTView::kMsgInvalidTone});
        QTRY_VERIFY(second->hasFocus());
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode125")), QStringLiteral("1655"));
        // Escape puts the stored tone back; then the page may be left.
        QTest::keyClick(second, Qt::Key_Escape);
        QCOMPARE(second->text(), QStringLiteral("165,5"));
        QVERIFY(open.page->CanLeavePage());
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode125")), QStringLiteral("1655"));

        fixture.prompt.ids.clear();
        const QByteArray before = fixture.document->Model().SaveWorkingState();
        first->setFocus();
        Type(first, QStringLiteral("1x00,55"));
        QCOMPARE(first->text(), QStringLiteral("100,5"));
        QTest::keyClick(first, Qt::Key_Tab);
        QTRY_COMPARE(Setting(fixture, QStringLiteral("KTcode124")), QStringLiteral("1005"));
        QVERIFY(second->hasFocus());
        QVERIFY(fixture.prompt.ids.isEmpty());
        {
            fixture.channel = 1;
            CChannelView channel(fixture.Context());
            channel.InitialUpdate();
            QCOMPARE(channel.ControlAs<QComboBox>(CChannelView::kRxCode)->itemText(124),
                     QStringLiteral("124 - %1 (100,5 Hz)").arg(CStringTable::Instance().Text(471)));
        }
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
    }

    // Typing left on the page is written when the page is left, truncated to tenths.
    void pendingToneWrittenOnLeaving() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        SOpenPage<CCustomizedKTView> open(fixture);
        QVERIFY(open.shown);
        QLineEdit* last = open.Field(CCustomizedKTView::kFirstField + 5);
        Type(last, QStringLiteral("67.25"));
        QCOMPARE(last->text(), QStringLiteral("67.2"));
        QVERIFY(open.page->CanLeavePage());
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode129")), QStringLiteral("672"));
        QCOMPARE(last->text(), QStringLiteral("67.2"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    void customizedCodesInOctal() {
        CPageFixture fixture(
            QStringLiteral("CUD41604"),
            Edits{{QStringLiteral("KTcode214=\"76\""), QStringLiteral("KTcode214=\"19\"")}});
        QVERIFY(fixture.loaded);
        SOpenPage<CCustomizedVRCView> open(fixture);
        QVERIFY(open.shown);
        QLineEdit* first = open.Field(CCustomizedVRCView::kFirstField);
        QLineEdit* second = open.Field(CCustomizedVRCView::kFirstField + 2);
        QCOMPARE(first->text(), QStringLiteral("023"));
        QCOMPARE(second->text(), QStringLiteral("115"));  // 77
        QCOMPARE(first->maxLength(), 3);

        // 8 and 9 are no octal digits; "23" is the stored code, shown again in three digits.
        Type(first, QStringLiteral("829"));
        QCOMPARE(first->text(), QStringLiteral("2"));
        QTest::keyClicks(first, QStringLiteral("3"));
        QTest::keyClick(first, Qt::Key_Tab);
        QTRY_COMPARE(first->text(), QStringLiteral("023"));
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode214")), QStringLiteral("19"));
        QVERIFY(!fixture.document->History().CanUndo());

        // An emptied field and code 000 are refused with the page's message; the profile keeps
        // its code.
        for (const QString& typed : {QString(), QStringLiteral("000")}) {
            fixture.prompt.ids.clear();
            Type(second, typed);
            QTest::keyClick(second, Qt::Key_Backtab);
            QTRY_COMPARE(fixture.prompt.ids, QList<int>{CCustomizedVRCView::kMsgInvalidCode});
            QTRY_VERIFY(second->hasFocus());
            QCOMPARE(second->text(), typed);
            QCOMPARE(Setting(fixture, QStringLiteral("KTcode215")), QStringLiteral("77"));
        }
        QTest::keyClick(second, Qt::Key_Escape);
        QCOMPARE(second->text(), QStringLiteral("115"));

        const QByteArray before = fixture.document->Model().SaveWorkingState();
        Type(second, QStringLiteral("777"));
        QTest::keyClick(second, Qt::Key_Return);
        QCOMPARE(Setting(fixture, QStringLiteral("KTcode215")), QStringLiteral("511"));
        QVERIFY(fixture.document->Undo().has_value());
        QCOMPARE(fixture.document->Model().SaveWorkingState(), before);
    }
};

QTEST_MAIN(AudioPagesTest)
#include "audio_pages_test.moc"
