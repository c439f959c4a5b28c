#include "app/main_frame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include "app/command_ids.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"
#include "recording_prompt.h"
#include "temp_hives.h"

class MainFrameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    void titleAndMenusInEnglish() {
        CTempHives hives;
        hives.WriteUser("[General]\nCurrentLanguage=English\nShowContextHelp=1\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CMainFrame frame(config, prompt);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        QCOMPARE(frame.windowTitle(), QStringLiteral("ZN420 CPS"));
        const QStringList expected = {QStringLiteral("&File"), QStringLiteral("&Edit"),
                                      QStringLiteral("&View"), QStringLiteral("&Device"),
                                      QStringLiteral("&Help")};
        QStringList titles;
        for (QAction* top : frame.menuBar()->actions()) {
            titles << top->text();
        }
        QCOMPARE(titles, expected);
        QCOMPARE(frame.Command(cmd::kAdd)->text(), QStringLiteral("&Add\tCtrl+A"));
        QCOMPARE(frame.Command(cmd::kAbout)->text(), QStringLiteral("&About ZN420 CPS..."));
        QCOMPARE(frame.Command(cmd::kRead)->iconText(), CStringTable::EnglishText(257));
        QVERIFY(frame.Command(cmd::kLanguageEnglish)->isChecked());
    }

    void germanModuleTranslatesTheMenus() {
        QVERIFY(CStringTable::Instance().LoadLanguageModule(QStringLiteral(VESK_GERMAN_QM)));
        CTempHives hives;
        hives.WriteUser("[General]\nCurrentLanguage=German\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CMainFrame frame(config, prompt);

        QVERIFY(frame.TopMenu(0));
        QCOMPARE(frame.TopMenu(0)->title(), CStringTable::Instance().Text(menu_text::kFile));
        QVERIFY(frame.TopMenu(0)->title() != CStringTable::EnglishText(menu_text::kFile));
        QVERIFY(frame.Command(cmd::kNew)->text() != CStringTable::EnglishText(menu_text::kNew));
        QVERIFY(frame.Command(cmd::kLanguageGerman)->isChecked());
        QVERIFY(!frame.Command(cmd::kLanguageEnglish)->isChecked());
    }

    void choosingALanguageAsksForARestartOnlyWhenItChanges() {
        CTempHives hives;
        hives.WriteUser("[General]\nCurrentLanguage=English\n");
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CMainFrame frame(config, prompt);

        frame.Command(cmd::kLanguageEnglish)->trigger();
        QVERIFY(prompt.ids.isEmpty());

        frame.Command(cmd::kLanguageLaSpanish)->trigger();
        QCOMPARE(prompt.ids, QList<int>{330});
        QCOMPARE(config.GetCurrentLanguage(), QStringLiteral("LaSpanish"));
        QVERIFY(frame.Command(cmd::kLanguageLaSpanish)->isChecked());
        QVERIFY(!frame.Command(cmd::kLanguageEnglish)->isChecked());
        // The texts stay as they were until the next start.
        QCOMPARE(frame.TopMenu(0)->title(), QStringLiteral("&File"));
    }

    void toolbarAndStatusBarFollowTheViewMenu() {
        CTempHives hives;
        const CConfiguration config = hives.Config();
        CRecordingPrompt prompt;
        CMainFrame frame(config, prompt);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* toolbar = frame.findChild<QWidget*>(QStringLiteral("mainToolBar"));
        QVERIFY(toolbar && toolbar->isVisible());
        frame.Command(cmd::kToolbar)->trigger();
        QVERIFY(!toolbar->isVisible());
        frame.Command(cmd::kStatusBar)->trigger();
        QVERIFY(!frame.statusBar()->isVisible());
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
