// Read, Write and Reset from the main window against the radio simulator on a pseudo-terminal,
// through the real progress dialog, password prompt and New Profile dialog.

#include <csignal>

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/ask_pwd_dlg.h"
#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/new_profile_dlg.h"
#include "app/read_write_dialog.h"
#include "app/vesk_cps_doc.h"
#include "app_fixture.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/string_table.h"
#include "sim_process.h"

namespace {

constexpr int kRadioTimeoutMs = 90000;

QString Template(const char* model) {
    return QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate/%1.vk4")
        .arg(QLatin1String(model));
}

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

// Clicks OK in the progress dialog once the transfer has its answer, keeping its text.
void AcknowledgeTransfer(QString* text) {
    WhenModal<CReadWriteDialog>(
        [text](CReadWriteDialog* dialog) {
            *text = dialog->Text();
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        },
        [](CReadWriteDialog* dialog) {
            return dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled();
        });
}

// A simulated radio in the fixture's cable folder, its memory built from a template.
std::unique_ptr<CSimProcess> StartRadio(CAppFixture& fixture, QStringList options,
                                        const char* model = "CUD41600") {
    options << QStringLiteral("--memory") << fixture.Path(QStringLiteral("radio.bin"))
            << QStringLiteral("--from") << Template(model);
    return std::make_unique<CSimProcess>(fixture.CableFolder(), options);
}

CVeskCPSDoc* NewProfile(CAppFixture& fixture, const QString& model) {
    WhenModal<CNewProfileDlg>([model](CNewProfileDlg* dialog) {
        auto* list = dialog->findChild<QListWidget*>();
        const QList<QListWidgetItem*> items = list->findItems(model, Qt::MatchExactly);
        if (!items.isEmpty()) {
            list->setCurrentItem(items.constFirst());
        }
        dialog->accept();
    });
    return fixture.App().OnFileNew();
}

QString ChannelCount(CVeskCPSDoc& document) {
    return document.Profile()
        .Model()
        .RootItem()
        .GetChildByName(QStringLiteral("setting"))
        .AttributeText(QStringLiteral("numberChannels"))
        .value_or(QString());
}

}  // namespace

class RadioCommandsTest : public QObject {
    Q_OBJECT

    // Runs one radio command and waits until it has ended, dialogs and all.
    static bool Run(CMainFrame& frame, void (CMainFrame::*command)()) {
        QSignalSpy ended(&frame, &CMainFrame::RadioCommandEnded);
        (frame.*command)();
        return ended.count() > 0 || ended.wait(kRadioTimeoutMs);
    }

    static bool CableReady(CMainFrame& frame) {
        return QTest::qWaitFor([&frame] { return frame.Command(cmd::kRead)->isEnabled(); }, 20000);
    }

private Q_SLOTS:
    void theCableStatusDecidesReadResetAndWrite() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(!frame.Command(cmd::kRead)->isEnabled());
        QCOMPARE(frame.StatusText(), T(336));
        {
            CSimProcess sim(fixture.CableFolder(),
                            {QStringLiteral("--fast"), QStringLiteral("--memory"),
                             fixture.Path(QStringLiteral("radio.bin"))});
            QVERIFY2(sim.Ready(), qPrintable(sim.Error()));
            QVERIFY(CableReady(frame));
            QVERIFY(frame.Command(cmd::kReset)->isEnabled());
            QCOMPARE(frame.StatusText(), T(334));
            // Write needs a profile window, even with the cable ready.
            QVERIFY(!frame.Command(cmd::kWrite)->isEnabled());
            QVERIFY(NewProfile(fixture, QStringLiteral("CUD41600")) != nullptr);
            QVERIFY(frame.Command(cmd::kWrite)->isEnabled());
        }
        QTRY_VERIFY_WITH_TIMEOUT(!frame.Command(cmd::kRead)->isEnabled(), 5000);
        QVERIFY(!frame.Command(cmd::kWrite)->isEnabled());
        QCOMPARE(frame.StatusText(), T(336));

        // Two cables: one message, however many status posts say so while it is on screen.
        CSimProcess one(fixture.CableFolder(),
                        {QStringLiteral("--fast"), QStringLiteral("--cable"), QStringLiteral("one"),
                         QStringLiteral("--memory"), fixture.Path(QStringLiteral("one.bin"))});
        CSimProcess two(fixture.CableFolder(),
                        {QStringLiteral("--fast"), QStringLiteral("--cable"), QStringLiteral("two"),
                         QStringLiteral("--memory"), fixture.Path(QStringLiteral("two.bin"))});
        QVERIFY(one.Ready() && two.Ready());
        fixture.prompt.whileShown = [](int id) {
            if (id == 397) {
                QTest::qWait(2500);
            }
        };
        QTRY_VERIFY_WITH_TIMEOUT(fixture.prompt.ids.contains(397), 5000);
        QCOMPARE(fixture.prompt.ids.count(397), 1);
        QVERIFY(fixture.prompt.texts.constLast().contains(u'2'));
        QVERIFY(!frame.Command(cmd::kRead)->isEnabled());
    }

    void readOpensANewProfileThenOverwritesOrKeepsTheOpenOne() {
        CAppFixture fixture;
        const auto sim = StartRadio(fixture, {QStringLiteral("--fast")});
        QVERIFY2(sim->Ready(), qPrintable(sim->Error()));
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(CableReady(frame));

        // Nothing open: the radio's profile opens without a question.
        QString text;
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(text, T(332));
        QVERIFY(fixture.prompt.ids.isEmpty());
        QCOMPARE(frame.ChildFrames().size(), 1);
        CVeskCPSDoc* read = frame.ActiveDocument();
        QVERIFY(read->IsModified());
        QCOMPARE(ChannelCount(*read), QStringLiteral("16"));

        // No: the open profile becomes the radio's.
        read->SetModifiedFlag(false);
        QVERIFY(CableReady(frame));
        fixture.prompt.answers[CMainFrame::kMsgNewOrOverwrite] = {PromptAnswer::No};
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(fixture.prompt.ids, QList<int>{CMainFrame::kMsgNewOrOverwrite});
        QCOMPARE(frame.ChildFrames().size(), 1);
        QVERIFY(read->IsModified());

        // Cancel: everything stays.
        read->SetModifiedFlag(false);
        QVERIFY(CableReady(frame));
        fixture.prompt.answers[CMainFrame::kMsgNewOrOverwrite] = {PromptAnswer::Cancel};
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(frame.ChildFrames().size(), 1);
        QVERIFY(!read->IsModified());
    }

    void writeAsksAProtectedRadioForItsPasswordUntilItIsRight() {
        CAppFixture fixture;
        const auto sim = StartRadio(
            fixture,
            {QStringLiteral("--fast"), QStringLiteral("--password"), QStringLiteral("1234")});
        QVERIFY2(sim->Ready(), qPrintable(sim->Error()));
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(NewProfile(fixture, QStringLiteral("CUD41600")) != nullptr);
        QVERIFY(CableReady(frame));

        int asked = 0;
        WhenModal<CAskPwdDlg>([&asked](CAskPwdDlg* dialog) {
            ++asked;
            QTest::keyClicks(dialog->Field(), QStringLiteral("9999"));
            dialog->accept();  // wrong: 279, and the prompt stays
            dialog->Field()->clear();
            QTest::keyClicks(dialog->Field(), QStringLiteral("1234"));
            dialog->accept();
        });
        QString text;
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnWrite));
        QCOMPARE(asked, 1);
        QCOMPARE(fixture.prompt.ids, QList<int>{279});
        // The dialog says where the radio's earlier contents went, and that it was verified.
        QVERIFY2(text.startsWith(T(333)), qPrintable(text));
        QVERIFY2(text.contains(T(613)), qPrintable(text));
        const QString backup = text.section(u'\n', 3, 3);
        QVERIFY2(QFileInfo(backup).isFile() && backup.endsWith(QLatin1String(".vk4")),
                 qPrintable(text));

        // The password is proven for this radio now: the next write does not ask.
        QVERIFY(CableReady(frame));
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnWrite));
        QCOMPARE(asked, 1);
        QVERIFY(text.startsWith(T(333)));
    }

    void aLowerTierRadioAsksBeforeChannelsAreDropped_data() {
        QTest::addColumn<PromptAnswer>("answer");
        QTest::newRow("No writes nothing") << PromptAnswer::No;
        QTest::newRow("Yes writes eight channels") << PromptAnswer::Yes;
    }
    void aLowerTierRadioAsksBeforeChannelsAreDropped() {
        QFETCH(PromptAnswer, answer);
        CAppFixture fixture;
        const QString memory = fixture.Path(QStringLiteral("radio.bin"));
        const auto sim = StartRadio(fixture, {QStringLiteral("--fast"), QStringLiteral("--model"),
                                              QStringLiteral("CUD40800")});
        QVERIFY2(sim->Ready(), qPrintable(sim->Error()));
        QFile before(memory);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray original = before.readAll();
        before.close();
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(NewProfile(fixture, QStringLiteral("CUD41600")) != nullptr);
        QVERIFY(CableReady(frame));

        fixture.prompt.answers[319] = {answer};
        QString text;
        if (answer == PromptAnswer::Yes) {
            AcknowledgeTransfer(&text);
        }
        QVERIFY(Run(frame, &CMainFrame::OnWrite));
        QCOMPARE(fixture.prompt.ids.value(0), 319);
        QFile after(memory);
        QVERIFY(after.open(QIODevice::ReadOnly));
        if (answer == PromptAnswer::No) {
            QCOMPARE(after.readAll(), original);
            QVERIFY(text.isEmpty());
            // Cleaned up: the commands come back with the next status.
            QVERIFY(CableReady(frame));
            return;
        }
        QVERIFY2(text.startsWith(T(333)), qPrintable(text));
        QVERIFY(after.readAll() != original);
        // Read back, the radio holds eight channels.
        QVERIFY(CableReady(frame));
        AcknowledgeTransfer(&text);
        fixture.prompt.answers[CMainFrame::kMsgNewOrOverwrite] = {PromptAnswer::Yes};
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(frame.ChildFrames().size(), 2);
        QCOMPARE(ChannelCount(*frame.ActiveDocument()), QStringLiteral("8"));
    }

    void resetPausesTheCommandsAndARadioWarningIsTold() {
        CAppFixture fixture;
        const auto sim = StartRadio(
            fixture,
            {QStringLiteral("--fast"), QStringLiteral("--status-code"), QStringLiteral("8")});
        QVERIFY2(sim->Ready(), qPrintable(sim->Error()));
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(CableReady(frame));
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(fixture.prompt.ids, QList<int>{390});
        QCOMPARE(fixture.prompt.texts.value(0), T(409) + QStringLiteral(": ") + T(390));
        QVERIFY(frame.ChildFrames().isEmpty());

        QVERIFY(CableReady(frame));
        QVERIFY(Run(frame, &CMainFrame::OnReset));
        QCOMPARE(fixture.prompt.ids.size(), 1);
        QVERIFY(!frame.Command(cmd::kReset)->isEnabled());
        QVERIFY(CableReady(frame));
    }

    void aSecondCopyWaitsForTheFirstAndOutlivesItsDeath() {
        CAppFixture fixture;
        // Paced like the wire, so that the other copy's read takes long enough to be seen.
        const auto sim = StartRadio(fixture, {});
        QVERIFY2(sim->Ready(), qPrintable(sim->Error()));
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        QVERIFY(CableReady(frame));

        QProcess first;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), fixture.Path(QStringLiteral("first")));
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(VESKCTL_PROGRAM), {QStringLiteral("read"), QStringLiteral("-o"),
                                                      fixture.Path(QStringLiteral("first.vk4"))});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!frame.Command(cmd::kRead)->isEnabled(), 10000);
        QVERIFY(first.state() == QProcess::Running);
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        // Two status posts at most, and a moment for the second one to reach the window on a
        // loaded machine.
        QTRY_VERIFY_WITH_TIMEOUT(frame.Command(cmd::kRead)->isEnabled(), 2 * 1000 + 1500);

        QString text;
        AcknowledgeTransfer(&text);
        QVERIFY(Run(frame, &CMainFrame::OnRead));
        QCOMPARE(text, T(332));
        QCOMPARE(frame.ChildFrames().size(), 1);
    }
};

QTEST_MAIN(RadioCommandsTest)
#include "radio_commands_test.moc"
