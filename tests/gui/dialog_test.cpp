#include <algorithm>
#include <functional>
#include <optional>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "app/about_dlg.h"
#include "app/ask_pwd_dlg.h"
#include "app/dealer_info_dialog.h"
#include "app/limited_text_edit.h"
#include "app/new_profile_dlg.h"
#include "dialog_keys.h"
#include "modal_driver.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "radio/radio_checks.h"
#include "radio/remembered_password.h"
#include "radio/virtual_cp.h"
#include "recording_prompt.h"
#include "temp_hives.h"

namespace {

using Field = CDealerInfoDialog::Field;

const QString kGerman = QStringLiteral("German");

// A user hive whose German dealer texts are the given INI lines.
QByteArray UserHive(const QByteArray& germanValues) {
    QByteArray ini = "[General]\nCurrentLanguage=German\n\n[Language]\n";
    for (const QByteArray& line : germanValues.split('\n')) {
        if (!line.isEmpty()) {
            ini += "German\\" + line + "\n";
        }
    }
    return ini;
}

QByteArray Repeated(char c, int count) {
    return QByteArray(count, c);
}

QAbstractButton* Button(const QWidget& dialog, int textId) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (button->text() == CStringTable::Instance().Text(textId)) {
            return button;
        }
    }
    return nullptr;
}

QStringList ButtonsLeftToRight(const QWidget& dialog) {
    QList<QAbstractButton*> buttons = dialog.findChildren<QAbstractButton*>();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList names;
    for (QAbstractButton* button : buttons) {
        names << QString(button->text()).remove(u'&');
    }
    return names;
}

// Counts how often a widget is shown.
class CShowCounter : public QObject {
public:
    explicit CShowCounter(QWidget& widget) { widget.installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
        }
        return false;
    }
};

// A radio as identification describes it, with the given password.
CRadioInfo RadioWithPassword(const QByteArray& password) {
    CRadioInfo info;
    const QByteArray model("CUD41600");
    for (int i = 0; i < model.size(); ++i) {
        info.SetByte(i, i < 3 ? quint8(model.at(i)) : quint8(model.at(i) - '0'));
    }
    info.SetByte(vcp::RadioInfoField("codeplug_phase").offset, quint8('R'));
    info.SetNumber(vcp::RadioInfoField("codeplug_version"), 1);
    info.SetRaw(vcp::RadioInfoField("password"), password);
    return info;
}

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    // Each reason not to show the dealer texts is told, and no dialog is left on the screen.
    void dealerInfoRefusesToOpen_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("userHive");  // empty: no user hive at all
        QTest::addColumn<int>("message");
        const QByteArray complete = "DealerInfoLeft=a\nDealerInfoMiddle=b\nDealerInfoRight=c\n";
        QTest::newRow("no language") << QString() << UserHive(complete) << 264;
        QTest::newRow("no user hive") << kGerman << QByteArray() << 373;
        QTest::newRow("notes missing")
            << kGerman << UserHive("DealerInfoLeft=a\nDealerInfoRight=c\n") << 263;
        QTest::newRow("300 characters") << kGerman
                                        << UserHive("DealerInfoLeft=" + Repeated('x', 300) +
                                                    "\nDealerInfoMiddle=b\nDealerInfoRight=c\n")
                                        << 375;
        // One character more than the field holds: saving it would cut the last one off.
        QTest::newRow("251 characters")
            << kGerman
            << UserHive("DealerInfoLeft=a\nDealerInfoMiddle=" + Repeated('x', 251) +
                        "\nDealerInfoRight=c\n")
            << 375;
        // Too long wins over missing, in the order the values are read.
        QTest::newRow("left missing, right too long")
            << kGerman
            << UserHive("DealerInfoMiddle=b\nDealerInfoRight=" + Repeated('x', 300) + "\n") << 375;
    }
    void dealerInfoRefusesToOpen() {
        QFETCH(QString, language);
        QFETCH(QByteArray, userHive);
        QFETCH(int, message);
        CTempHives hives;
        if (!userHive.isEmpty()) {
            hives.WriteUser(userHive);
        }
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CModalDriver nobody({});
        CDealerInfoDialog::Run(config, language, prompt, nullptr);
        QCOMPARE(prompt.ids, QList<int>{message});
        QCOMPARE(nobody.unexpected, 0);
    }

    // The longest text that fits opens whole, line breaks kept; emptied fields are stored as
    // empty values that open again as empty fields.
    void dealerInfoRoundTrip() {
        CTempHives hives;
        const QString longest(250, u'y');
        hives.WriteUser(UserHive("DealerInfoLeft=Funkhaus\\nHafenstr. 1\nDealerInfoMiddle=" +
                                 longest.toUtf8() + "\nDealerInfoRight=c\n"));
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        {
            CDealerInfoDialog dialog(config, kGerman, prompt);
            QVERIFY(dialog.Load());
            QCOMPARE(dialog.Edit(Field::Left)->toPlainText(),
                     QStringLiteral("Funkhaus\nHafenstr. 1"));
            QCOMPARE(dialog.Edit(Field::Middle)->toPlainText(), longest);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            for (const Field field : {Field::Left, Field::Middle, Field::Right}) {
                CLimitedTextEdit* edit = dialog.Edit(field);
                edit->setFocus();
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(edit, Qt::Key_Delete);
                QVERIFY(edit->toPlainText().isEmpty());
            }
            // Enter in a field is a new line; on the button it is OK.
            QTest::keyClick(dialog.Edit(Field::Right), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QVERIFY(prompt.ids.isEmpty());
        for (const QString& name :
             {CConfiguration::kDealerInfoLeft, CConfiguration::kDealerInfoMiddle,
              CConfiguration::kDealerInfoRight}) {
            QCOMPARE(config.DealerInfoSize(kGerman, name), std::optional<qint64>(0));
        }
        CDealerInfoDialog again(config, kGerman, prompt);
        QVERIFY(again.Load());
        QVERIFY(again.Edit(Field::Left)->toPlainText().isEmpty());
        QVERIFY(prompt.ids.isEmpty());
    }

    // OK that cannot store the texts says so and keeps the dialog, and the texts, open.
    void dealerInfoStaysOpenWhenTheHiveCannotBeWritten() {
        CTempHives hives;
        hives.WriteUser(UserHive("DealerInfoLeft=a\nDealerInfoMiddle=b\nDealerInfoRight=c\n"));
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CDealerInfoDialog dialog(config, kGerman, prompt);
        QVERIFY(dialog.Load());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(dialog.Edit(Field::Left), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(dialog.Edit(Field::Left), QStringLiteral("bc"));
        // A folder where the hive was: nothing can be written there, even by root.
        QVERIFY(QFile::remove(hives.UserFile()));
        QVERIFY(QDir().mkpath(hives.UserFile()));
        QAbstractButton* ok = Button(dialog, 140);
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(prompt.ids, QList<int>{373});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Edit(Field::Left)->toPlainText(), QStringLiteral("abc"));
    }

    // Typing, pasting and new lines all stop at 250 characters without losing what is there.
    void dealerInfoFieldsStopAt250_data() {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("cursor");      // where the input goes in
        QTest::addColumn<QString>("typed");   // typed with keyClicks
        QTest::addColumn<QString>("pasted");  // pasted with Ctrl+V after the typing
        QTest::addColumn<QString>("expected");
        const QString almost(245, u'a');
        QTest::newRow("typing at the end") << almost << 245 << QStringLiteral("0123456789")
                                           << QString() << almost + QStringLiteral("01234");
        QTest::newRow("typing in the middle keeps the end")
            << almost + QStringLiteral("zzzz") << 10 << QStringLiteral("0123") << QString()
            << QString(10, u'a') + u'0' + QString(235, u'a') + QStringLiteral("zzzz");
        QTest::newRow("paste into an empty field")
            << QString() << 0 << QString() << QString(300, u'p') << QString(250, u'p');
        QTest::newRow("paste in the middle")
            << almost << 5 << QString() << QStringLiteral("0123456789")
            << QStringLiteral("aaaaa01234") + QString(240, u'a');
        QTest::newRow("typing then paste with Windows line ends")
            << QString(240, u'a') << 240 << QStringLiteral("bc")
            << QStringLiteral("1\r\n2\r\n3\r\n4\r\n5")
            << QString(240, u'a') + QStringLiteral("bc1\n2\n3\n4\n");
    }
    void dealerInfoFieldsStopAt250() {
        QFETCH(QString, initial);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        CTempHives hives;
        hives.WriteUser(UserHive("DealerInfoLeft=\nDealerInfoMiddle=\nDealerInfoRight=\n"));
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CDealerInfoDialog dialog(config, kGerman, prompt);
        QVERIFY(dialog.Load());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CLimitedTextEdit* edit = dialog.Edit(Field::Middle);
        edit->setPlainText(initial);
        QTextCursor position = edit->textCursor();
        position.setPosition(cursor);
        edit->setTextCursor(position);
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        if (!pasted.isEmpty()) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(edit->toPlainText(), expected);
        // A full field takes no new line either.
        if (expected.size() == CDealerInfoDialog::kMaxLength) {
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(edit->toPlainText(), expected);
        }
    }

    void newProfileWithoutTemplates() {
        CTempHives hives;
        // A folder that only looks like a template, and a file of another kind.
        QVERIFY(QDir().mkpath(hives.Path(QStringLiteral("install/profiletemplate/X.vk4"))));
        CTempHives::Write(hives.Path(QStringLiteral("install/profiletemplate/DataProfile.xsd")),
                          "<x/>");
        hives.WriteMachine(
            "[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() + "\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CModalDriver nobody({});
        QCOMPARE(CNewProfileDlg::ChooseTemplate(config, prompt, nullptr), std::nullopt);
        QCOMPARE(prompt.ids, QList<int>{296});
        QCOMPARE(nobody.unexpected, 0);
    }

    // Templates are listed sorted without regard to case, the first one chosen; Enter takes it,
    // a double click takes the entry clicked, Escape takes nothing.
    void newProfileChoosesATemplate() {
        CTempHives hives;
        const QString folder = hives.Path(QStringLiteral("install/profiletemplate/"));
        for (const char* name : {"b2.vk4", "CUR40201.vk4", "a1.vk4", "notes.txt", "upper.VK4"}) {
            CTempHives::Write(folder + QString::fromLatin1(name), "x");
        }
        const QString install = hives.Path(QStringLiteral("install"));
        hives.WriteMachine("[General]\nInstallPath=" + install.toUtf8() + "\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;

        CNewProfileDlg dialog(install);
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("control1027"));
        QVERIFY(list);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) {
            shown << list->item(i)->text();
        }
        QCOMPARE(shown, (QStringList{QStringLiteral("a1"), QStringLiteral("b2"),
                                     QStringLiteral("CUR40201")}));
        QCOMPARE(list->currentRow(), 0);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect second = list->visualItemRect(list->item(1));
        // What a double click sends: press and release, then the second press as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.TemplatePath(), folder + QStringLiteral("b2.vk4"));

        {
            CModalDriver enter([](QDialog&) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                return true;
            });
            QCOMPARE(CNewProfileDlg::ChooseTemplate(config, prompt, nullptr),
                     std::optional<QString>(folder + QStringLiteral("a1.vk4")));
        }
        {
            CModalDriver escape([](QDialog&) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                return true;
            });
            QCOMPARE(CNewProfileDlg::ChooseTemplate(config, prompt, nullptr), std::nullopt);
        }
        QVERIFY(prompt.ids.isEmpty());
    }

    // The read check with the password dialog: a wrong password is told once per wrong answer,
    // by the dialog, and the dialog stays until the right one or Cancel.
    void passwordDialogWithTheReadCheck_data() {
        QTest::addColumn<QStringList>("answers");  // "cancel" presses Escape
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<QList<int>>("messages");
        QTest::newRow("right at once")
            << QStringList{QStringLiteral("0815")} << true << QList<int>{};
        QTest::newRow("wrong, then right")
            << QStringList{QStringLiteral("1234"), QStringLiteral("081"), QStringLiteral("0815")}
            << true << QList<int>{279, 279};
        QTest::newRow("wrong, then cancel")
            << QStringList{QStringLiteral("1234"), QStringLiteral("cancel")} << false
            << QList<int>{279};
    }
    void passwordDialogWithTheReadCheck() {
        QFETCH(QStringList, answers);
        QFETCH(bool, goesOn);
        QFETCH(QList<int>, messages);
        CTempHives hives;
        hives.WriteMachine("[General]\nInstallPath=" VESK_SOURCE_DIR "/install\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CSettingsDocuments settings;
        QVERIFY(settings.LoadProfileDocuments(config, prompt));

        const CRadioInfo radio = RadioWithPassword("0815");
        CAskPwdDlg dialog(radio_checks::RadioPassword(radio), prompt);
        const CShowCounter counter(dialog);
        CRememberedPassword remembered;
        int cleanups = 0;
        int shown = 0;
        CModalDriver person([&answers, &shown](QDialog& active) {
            auto* field = active.findChild<QLineEdit*>(QStringLiteral("passwordField"));
            if (field == nullptr || answers.isEmpty()) {
                return false;
            }
            ++shown;
            const QString answer = answers.takeFirst();
            if (answer == QStringLiteral("cancel")) {
                QTest::keyClick(field, Qt::Key_Escape);
                return true;
            }
            field->selectAll();
            QTest::keyClicks(field, answer);
            QTest::keyClick(field, Qt::Key_Return);
            return true;
        });
        const radio_checks::SCheckInputs inputs{radio,  settings,   prompt,
                                                dialog, remembered, [&cleanups] { ++cleanups; }};
        QCOMPARE(radio_checks::CheckRadioForRead(inputs), goesOn);
        QCOMPARE(prompt.ids, messages);
        QVERIFY(answers.isEmpty());
        QCOMPARE(person.unexpected, 0);
        QCOMPARE(cleanups, goesOn ? 0 : 1);
        QCOMPARE(remembered.Get(), goesOn ? QStringLiteral("0815") : QString());
        QVERIFY(shown > 0);
        // One dialog that stays open through the wrong answers, not one per answer.
        QCOMPARE(counter.shows, 1);
    }

    // Only up to four digits go in, and nothing comes out: Cut and Copy leave the field and the
    // clipboard alone.
    void passwordFieldTakesDigitsAndGivesNothing() {
        CRecordingPrompt prompt;
        CAskPwdDlg dialog(QStringLiteral("1234"), prompt);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("passwordField"));
        QVERIFY(field);
        QVERIFY(field->property("vesk_password").toBool());
        QTest::keyClicks(field, QStringLiteral("1a2-b34567"));
        QCOMPARE(field->text(), QStringLiteral("1234"));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        field->selectAll();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("1234"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(prompt.ids.isEmpty());
    }

    void aboutShowsNameAndVersion() {
        CAboutDlg dialog(QStringLiteral("2.5.1"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About ZN420 CPS"));
        auto* name = dialog.findChild<QLabel*>(QStringLiteral("nameLine"));
        auto* version = dialog.findChild<QLabel*>(QStringLiteral("versionLine"));
        QVERIFY(name && version);
        QCOMPARE(name->text(), QStringLiteral("ZN420 Customer Programming Software"));
        QCOMPARE(version->text(), QStringLiteral("Version 2.5.1"));
    }

    // Every control says what it is, Tab walks the dialog in reading order, and no two labels or
    // buttons share a key, in English and in the longest language.
    void keyboardAndNames_data() {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }
    void keyboardAndNames() {
        QFETCH(bool, german);
        if (german) {
            QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        }
        const CStringTable& strings = CStringTable::Instance();
        CTempHives hives;
        hives.WriteUser(UserHive("DealerInfoLeft=\nDealerInfoMiddle=\nDealerInfoRight=\n"));
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;

        CDealerInfoDialog dealer(config, kGerman, prompt);
        CAskPwdDlg password(QStringLiteral("1"), prompt);
        CNewProfileDlg newProfile(QString{});
        CAboutDlg about(QStringLiteral("1.0"));
        const struct {
            QDialog* dialog;
            QStringList order;
        } rows[] = {
            {&dealer, {strings.Text(266), strings.Text(268), strings.Text(267)}},
            {&password, {strings.Text(CAskPwdDlg::kPromptText)}},
            {&newProfile, {strings.Text(273)}},
        };
        for (const auto& row : rows) {
            row.dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(row.dialog));
            // The buttons in the order the platform lays them out, then round to the start.
            QStringList order = row.order;
            order << ButtonsLeftToRight(*row.dialog) << row.order.first();
            QCOMPARE(TabWalk(int(order.size())), order);
            const QList<QChar> keys = MnemonicKeys(*row.dialog);
            QCOMPARE(QSet<QChar>(keys.begin(), keys.end()).size(), keys.size());
            row.dialog->hide();
        }
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"
