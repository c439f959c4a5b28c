// The page framework and the Radio Information page, built as the document window builds them:
// over a profile loaded from an installed template, with the installation's settings documents.

#include <memory>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

#include "editor/base_view.h"
#include "editor/radio_info_view.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "page_fixture.h"
#include "platform/string_table.h"
#include "platform/xml/xml_document.h"
#include "recording_prompt.h"
#include "temp_hives.h"

namespace {

QString FieldText(const CBaseView& page, int id) {
    auto* edit = page.ControlAs<QLineEdit>(id);
    return edit != nullptr ? edit->text() : QStringLiteral("<no field %1>").arg(id);
}

constexpr int kRangeRows[][2] = {{1005, 1015}, {1008, 1018}, {1007, 1017}};

// A page of the test's own over the first channel: its name (text), whether it is disabled and
// whether it is in the scan list (check boxes), to see the bindings write through the rules.
constexpr SControlTemplate kChannelControls[] = {
    {900, EControlKind::Bar, QRect(15, 15, 300, 28), 229, 0},
    {901, EControlKind::Label, QRect(20, 60, 100, 22), 429, 902},
    {902, EControlKind::Text, QRect(130, 60, 150, 22), 0, 0},
    {903, EControlKind::Check, QRect(20, 92, 200, 22), 528, 0},
    {904, EControlKind::Check, QRect(20, 124, 200, 22), 188, 0},
};
constexpr SLayoutEntry kChannelLayout[] = {
    {900, ELayoutStyle::Title, ELayoutColumn::Full, 0},
    {901, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {902, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {903, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {904, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
    {0, ELayoutStyle::Plain, ELayoutColumn::Full, 0},
};

class CChannelTestPage : public CBaseView {
public:
    explicit CChannelTestPage(const SPageContext& context)
        : CBaseView(context, PageKind::Channel, kChannelControls, kChannelLayout) {}

protected:
    void LoadData() override {
        const CDataItem channel =
            RootItem().GetChildByName(QStringLiteral("channels")).GetChildByIndex(0);
        Bindings().Add({902, channel, QStringLiteral("name"), binding::Text(),
                        ECommitMoment::OnEditingFinished, 0});
        Bindings().Add({903, channel, QStringLiteral("disable_channel"), binding::Check(),
                        ECommitMoment::OnChange, 0});
        Bindings().Add({904, channel, QStringLiteral("in_scanlist"), binding::Check(),
                        ECommitMoment::OnChange, 0});
        Bindings().LoadAll();
    }
};

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void radioInformation_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("display");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("codeplug");
        QTest::addColumn<QString>("maxChannels");
        // A display model shows receive and transmit ranges apart; its template records only
        // the radio's one range, which both rows then show.
        QTest::newRow("display") << "CUD41600" << true << "316HWT8K2M"
                                 << "R01.07"
                                 << "R03.00"
                                 << "16";
        QTest::newRow("display with its own receive and transmit ranges")
            << "CUD41600" << true << "316HWT8K2M"
            << "R01.07"
            << "R03.00"
            << "16";
        QTest::newRow("non-display") << "CUR40800" << false << "439EKM4T7H"
                                     << "R01.06"
                                     << "R02.00"
                                     << "8";
    }

    void radioInformation() {
        QFETCH(QString, model);
        QFETCH(bool, display);
        const bool ownRanges = QByteArray(QTest::currentDataTag()).contains("own");
        CPageFixture fixture(model, ownRanges ? QStringLiteral("rx_start_freq=\"440000000\" "
                                                               "rx_end_freq=\"480000000\" "
                                                               "tx_start_freq=\"450000000\" "
                                                               "tx_end_freq=\"462500000\"")
                                              : QString());
        QVERIFY(fixture.loaded);
        CRadioInfoView page(fixture.Context());
        page.resize(600, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.IsInitialised());
        QVERIFY2(fixture.prompt.ids.isEmpty(), qPrintable(fixture.prompt.texts.join(u'|')));

        QCOMPARE(FieldText(page, 1066), QStringLiteral("00"));
        QTEST(FieldText(page, 1011), "serial");
        QTEST(FieldText(page, 1012), "firmware");
        QTEST(FieldText(page, 1014), "codeplug");
        QTEST(FieldText(page, 1016), "maxChannels");
        QCOMPARE(FieldText(page, 1015), QStringLiteral("450.000000 - 470.000000"));
        for (const auto& [label, field] : kRangeRows) {
            const bool shown = label == 1005 || display;
            QCOMPARE(page.Control(label)->isHidden(), !shown);
            QCOMPARE(page.Control(field)->isHidden(), !shown);
            const QString range = !ownRanges || label == 1005
                                      ? QStringLiteral("450.000000 - 470.000000")
                                  : label == 1008 ? QStringLiteral("440.000000 - 480.000000")
                                                  : QStringLiteral("450.000000 - 462.500000");
            QCOMPARE(FieldText(page, field), shown ? range : QString());
        }
        // Without the two rows the maximum channel row rises into their place.
        const int rxTop = page.GetCtrlRect(1008).top();
        const int expectedMaxTop = display ? rxTop + 2 * 32 : rxTop;
        QCOMPARE(page.GetCtrlRect(1006).top(), expectedMaxTop);
        QCOMPARE(page.GetCtrlRect(1016).top(), expectedMaxTop);
        QCOMPARE(page.GetCtrlRect(1013).topLeft(), QPoint(15, 15));
        // The title is a bar of its own colour on the page's white.
        const QImage title = page.Title()->grab().toImage();
        QCOMPARE(title.pixelColor(2, 2), QColor(192, 192, 255));
        QCOMPARE(page.widget()->grab().toImage().pixelColor(2, 2),
                 page.palette().color(QPalette::Base));

        // Every label names its field, with a mnemonic of its own.
        QSet<QChar> mnemonics;
        for (QLabel* label : page.findChildren<QLabel*>()) {
            if (label->buddy() == nullptr) {
                continue;
            }
            const QString text = label->text();
            const qsizetype amp = text.indexOf(u'&');
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
            QVERIFY2(!mnemonics.contains(text.at(amp + 1).toLower()), qPrintable(text));
            mnemonics.insert(text.at(amp + 1).toLower());
            QCOMPARE(label->buddy()->accessibleName(), QString(text).remove(u'&'));
        }
        QCOMPARE(mnemonics.size(), 8);

        // A field that takes the focus shows its help; a click on the page hands the focus to
        // the title, so that a field being typed in commits.
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        fixture.topics.clear();
        page.Control(1011)->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(fixture.topics, QStringList{QStringLiteral("radio-information.html")});
        QTest::mouseClick(page.widget(), Qt::LeftButton, {},
                          QPoint(5, page.widget()->height() - 5));
        QTRY_VERIFY(page.Title()->hasFocus());
    }

    void radioInformationEdgeCases() {
        CPageFixture fixture(QStringLiteral("CUR40800"));
        QVERIFY(fixture.loaded);
        fixture.separator = QStringLiteral(",");
        CDataItem factory = fixture.Element(QStringLiteral("factory_setting"));
        CDataItem limit = fixture.Element(QStringLiteral("limit"));
        QVERIFY(
            factory.SetAttributeValue(QStringLiteral("model"), QStringLiteral("C")).IsAccepted());
        QVERIFY(factory.SetAttributeValue(QStringLiteral("firmware_version"), 1).IsAccepted());
        QVERIFY(factory.SetAttributeValue(QStringLiteral("firmware_revision"), 5).IsAccepted());
        QVERIFY(limit.SetAttributeValue(QStringLiteral("start_freq"), 136000000u).IsAccepted());
        QVERIFY(limit.SetAttributeValue(QStringLiteral("end_freq"), 174000000u).IsAccepted());

        // A German dealer reads German captions, each label still naming its field.
        QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        const QScopeGuard english([] { CStringTable::Instance().UnloadLanguageModule(); });
        CRadioInfoView page(fixture.Context());
        page.InitialUpdate();
        QCOMPARE(page.ControlAs<QLabel>(1013)->text(), QStringLiteral("Funkgeräteinformationen"));
        QCOMPARE(page.Control(1016)->accessibleName(), QStringLiteral("Maximale Kanalanzahl"));
        QCOMPARE(page.ControlAs<QLabel>(1006)->buddy(), page.Control(1016));
        QCOMPARE(fixture.prompt.ids, QList<int>());
        QCOMPARE(FieldText(page, 1066), QStringLiteral("C"));
        QCOMPARE(FieldText(page, 1012), QStringLiteral("R01.05"));
        QCOMPARE(FieldText(page, 1015), QStringLiteral("136,000000 - 174,000000"));
    }

    void emptySettingsElementHidesEverything() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        const QString region = fixture.settings.RegionName();
        fixture.settings.Set(
            CSettingsDocuments::Doc::VisibleSetting,
            CXmlDocument::Parse("<VisibleSetting xmlns=\"urn:corvane:vesk-kel:profile:1\"><" +
                                    region.toUtf8() + "><RadioProfile/></" + region.toUtf8() +
                                    "></VisibleSetting>",
                                QStringLiteral("VisibleSetting.stv")));
        CRadioInfoView page(fixture.Context());
        page.resize(600, 500);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(fixture.prompt.ids, QList<int>());
        const QList<QWidget*> controls = page.widget()->findChildren<QWidget*>();
        QCOMPARE(controls.size(), 17);
        for (QWidget* control : controls) {
            QVERIFY2(control->isHidden(), qPrintable(control->objectName()));
        }
    }

    // What the user typed or chose, read as the attribute's value; an invalid value: none.
    void conversionsReadWhatTheUserEntered_data() {
        QTest::addColumn<QString>("conversion");
        QTest::addColumn<QVariant>("shown");
        QTest::addColumn<QVariant>("stored");
        const QVariant none;
        QTest::newRow("MHz, comma") << "mhz" << QVariant("462,5625") << QVariant(462562500u);
        QTest::newRow("MHz, point") << "mhz" << QVariant(" 462.5625 ") << QVariant(462562500u);
        QTest::newRow("MHz, rounds to a hertz")
            << "mhz" << QVariant("136,0000004") << QVariant(136000000u);
        QTest::newRow("MHz, text") << "mhz" << QVariant("abc") << none;
        QTest::newRow("MHz, empty") << "mhz" << QVariant("") << none;
        QTest::newRow("MHz, negative") << "mhz" << QVariant("-1") << none;
        QTest::newRow("MHz, beyond 32 bits") << "mhz" << QVariant("4295") << none;
        QTest::newRow("integer") << "int" << QVariant(" 12 ") << QVariant(qint32(12));
        QTest::newRow("integer, fraction") << "int" << QVariant("1.5") << none;
        QTest::newRow("choice") << "choice" << QVariant(1) << QVariant(5);
        QTest::newRow("choice, none selected") << "choice" << QVariant(-1) << none;
        QTest::newRow("choice, past the values") << "choice" << QVariant(3) << none;
    }

    void conversionsReadWhatTheUserEntered() {
        QFETCH(QString, conversion);
        QFETCH(QVariant, shown);
        QFETCH(QVariant, stored);
        const SConversion convert =
            conversion == QStringLiteral("mhz")   ? binding::Megahertz(QStringLiteral(","), 5)
            : conversion == QStringLiteral("int") ? binding::Integer()
                                                  : binding::Choice({0, 5, 10});
        const std::optional<QVariant> value = convert.store(shown);
        QCOMPARE(value.has_value(), stored.isValid());
        if (value) {
            QCOMPARE(value->typeId(), stored.typeId());
            QCOMPARE(*value, stored);
        }
    }

    void bindingsWriteThroughTheRules() {
        CPageFixture fixture(QStringLiteral("CUD41600"));
        QVERIFY(fixture.loaded);
        CChannelTestPage page(fixture.Context());
        page.InitialUpdate();
        auto* name = page.ControlAs<QLineEdit>(902);
        auto* disable = page.ControlAs<QCheckBox>(903);
        auto* scan = page.ControlAs<QCheckBox>(904);
        QCOMPARE(name->text(), QStringLiteral("CH 01"));
        QVERIFY(scan->isChecked());
        const CDataItem channel = fixture.Element(QStringLiteral("channels")).GetChildByIndex(0);
        // Hertz shown in megahertz with the language's separator, and read back the same.
        const CDataItem frequency =
            fixture.Element(QStringLiteral("frequencies")).GetChildByIndex(0);
        const SConversion megahertz = binding::Megahertz(QStringLiteral(","), 5);
        const QVariant shown = megahertz.load(frequency, QStringLiteral("freq"));
        QCOMPARE(shown.toString(), QStringLiteral("461,03750"));
        QCOMPARE(megahertz.store(shown), std::optional<QVariant>(461037500u));
        auto stored = [&](const char* attribute) {
            return channel.GetAttributeValue(QString::fromLatin1(attribute));
        };

        // Escape before the commit puts the field back.
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("X"));
        QTest::keyClick(name, Qt::Key_Escape);
        QCOMPARE(name->text(), QStringLiteral("CH 01"));
        QVERIFY(!fixture.document->IsModified());

        // A name another channel has: refused with the rules' message, the field put back.
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("CH 02"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(fixture.prompt.ids, QList<int>{298});
        QCOMPARE(name->text(), QStringLiteral("CH 01"));
        QCOMPARE(stored("name").toString(), QStringLiteral("CH 01"));
        QVERIFY(!fixture.document->IsModified());
        QCOMPARE(fixture.changes, 0);

        // Typing left in the field when the page is left is committed, or keeps the page.
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("TOO LONG NAME"));
        QVERIFY(!page.CanLeavePage());
        QCOMPARE(fixture.prompt.ids, (QList<int>{298, 222}));
        QCOMPARE(name->text(), QStringLiteral("CH 01"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("BASE"));
        QVERIFY(page.CanLeavePage());
        QCOMPARE(stored("name").toString(), QStringLiteral("BASE"));
        QVERIFY(fixture.document->IsModified());
        QCOMPARE(fixture.changes, 1);

        // A check box commits at once, and what the rules changed besides shows.
        disable->click();
        QCOMPARE(stored("disable_channel").toBool(), true);
        QCOMPARE(stored("in_scanlist").toBool(), false);
        QVERIFY(!scan->isChecked());
        QCOMPARE(fixture.changes, 2);
        QCOMPARE(fixture.prompt.ids.size(), 2);
    }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
