#include "app/main_frame.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/new_profile_dlg.h"
#include "app/splash_screen.h"
#include "app/vesk_cps_doc.h"
#include "app_fixture.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "platform/string_table.h"

namespace {

QByteArray HandheldProfile() {
    QFile file(QStringLiteral(VESK_TEST_DATA "/profiles/good/handheld_uhf.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList MenuTitles(CMainFrame& frame) {
    QStringList titles;
    for (int i = 0; frame.TopMenu(i) != nullptr; ++i) {
        titles << frame.TopMenu(i)->title();
    }
    return titles;
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CStringTable::Instance().UnloadLanguageModule(); }

    void plainStartOpensNothingAndADocumentBringsItsMenus() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(fixture.prompt.ids.isEmpty());
        QVERIFY(frame.ChildFrames().isEmpty());
        QCOMPARE(frame.windowTitle(), QStringLiteral("ZN420 CPS"));
        const QStringList main = {QStringLiteral("&File"), QStringLiteral("&Edit"),
                                  QStringLiteral("&View"), QStringLiteral("&Device"),
                                  QStringLiteral("&Help")};
        QCOMPARE(MenuTitles(frame), main);
        QVERIFY(!frame.Command(cmd::kSave)->isEnabled());
        QCOMPARE(frame.Command(cmd::kAbout)->text(), QStringLiteral("&About ZN420 CPS..."));

        WhenModal<CNewProfileDlg>([](CNewProfileDlg* dialog) { dialog->accept(); });
        CVeskCPSDoc* document = fixture.App().OnFileNew();
        QVERIFY(document != nullptr);
        QCOMPARE(document->Title(), QStringLiteral("Profile1"));
        QVERIFY(!document->IsModified());
        QCOMPARE(frame.windowTitle(), QStringLiteral("ZN420 CPS - [Profile1]"));
        QCOMPARE(MenuTitles(frame).size(), 7);
        QCOMPARE(frame.TopMenu(4)->title(), CStringTable::Instance().Text(347));
        QVERIFY(frame.Command(cmd::kSave)->isEnabled());
    }

    void startUpEndsWhenAnInstalledFileIsMissing_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QList<int>>("messages");
        QTest::newRow("settings document")
            << QStringLiteral("lib/HelpPanMap.stv") << QList<int>{315};
        QTest::newRow("schema") << QStringLiteral("profiletemplate/DataProfile.xsd")
                                << QList<int>{315};
        QTest::newRow("rule script")
            << QStringLiteral("profiletemplate/DataProfile.vbs") << QList<int>{315};
    }
    void startUpEndsWhenAnInstalledFileIsMissing() {
        QFETCH(QString, missing);
        QFETCH(QList<int>, messages);
        CAppFixture fixture;
        QVERIFY(QFile::remove(fixture.Install() + u'/' + missing));
        QVERIFY(!fixture.Start());
        QCOMPARE(fixture.prompt.ids, messages);
        QVERIFY(fixture.App().MainFrame() == nullptr);
    }

    void aMissingLanguageModuleStartsInEnglish() {
        CAppFixture fixture;
        fixture.Hives().WriteUser("[General]\nCurrentLanguage=German\nShowContextHelp=1\n");
        QVERIFY(QFile::remove(fixture.Install() + QStringLiteral("/veskcps_de.qm")));
        QVERIFY(fixture.Start());
        QCOMPARE(fixture.prompt.ids, QList<int>{325});
        QCOMPARE(fixture.App().Config().GetCurrentLanguage(), QStringLiteral("English"));
        QCOMPARE(fixture.App().DecimalSeparator(), QStringLiteral("."));
        QCOMPARE(fixture.Frame().TopMenu(0)->title(), QStringLiteral("&File"));
    }

    void germanStartTranslatesMenusAndUsesTheDecimalComma() {
        CAppFixture fixture;
        fixture.Hives().WriteUser("[General]\nCurrentLanguage=German\nShowContextHelp=1\n");
        QVERIFY(fixture.Start());
        QVERIFY(fixture.prompt.ids.isEmpty());
        QCOMPARE(fixture.App().DecimalSeparator(), QStringLiteral(","));
        CMainFrame& frame = fixture.Frame();
        QVERIFY(frame.TopMenu(0)->title() != CStringTable::EnglishText(343));
        QVERIFY(frame.Command(cmd::kLanguageGerman)->isChecked());
        // Choosing the language in effect says nothing; another one needs a restart.
        frame.Command(cmd::kLanguageGerman)->trigger();
        QVERIFY(fixture.prompt.ids.isEmpty());
        frame.Command(cmd::kLanguageEnglish)->trigger();
        QCOMPARE(fixture.prompt.ids, QList<int>{330});
        QCOMPARE(fixture.App().Config().GetCurrentLanguage(), QStringLiteral("English"));
    }

    void theLanguageMenuOffersTheInstalledLanguages_data() {
        QTest::addColumn<QByteArray>("languages");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("two") << QByteArray(
                                    "<language name=\"English\" displayName=\"English\"/>"
                                    "<language name=\"German\" displayName=\"Deutsch\"/>")
                             << QStringList{QStringLiteral("English"), QStringLiteral("Deutsch")};
        QTest::newRow("English alone")
            << QByteArray("<language name=\"English\" displayName=\"English\"/>") << QStringList();
    }
    void theLanguageMenuOffersTheInstalledLanguages() {
        QFETCH(QByteArray, languages);
        QFETCH(QStringList, offered);
        CAppFixture fixture;
        const QString region = fixture.Install() + QStringLiteral("/lib/Region.stv");
        QFile file(region);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        const qsizetype from = text.indexOf("<SupportLanguages>");
        const qsizetype to = text.indexOf("</SupportLanguages>");
        QVERIFY(from > 0 && to > from);
        text.replace(from, to - from, "<SupportLanguages>" + languages);
        CTempHives::Write(region, text);
        QVERIFY(fixture.Start());
        auto* menu = fixture.Frame().findChild<QMenu*>(QStringLiteral("languageMenu"));
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->menuAction()->isVisible(), !offered.isEmpty());
        QStringList shown;
        for (QAction* action : menu->actions()) {
            if (action->isVisible()) {
                shown << action->text();
            }
        }
        if (!offered.isEmpty()) {
            QCOMPARE(shown, offered);
        }
    }

    void newWithoutTemplatesSaysSoAndOpensNothing() {
        CAppFixture fixture;
        for (const QString& name : QDir(fixture.Install() + QStringLiteral("/profiletemplate"))
                                       .entryList({QStringLiteral("*.vk4")})) {
            QVERIFY(QFile::remove(fixture.Install() + QStringLiteral("/profiletemplate/") + name));
        }
        QVERIFY(fixture.Start());
        QVERIFY(fixture.App().OnFileNew() == nullptr);
        QCOMPARE(fixture.prompt.ids, QList<int>{296});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(fixture.Frame().ChildFrames().isEmpty());
    }

    void refusedProfilesDoNotOpen_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("message");
        QTest::newRow("MURS frequency")
            << QByteArray("freq=\"461037500\"") << QByteArray("freq=\"151820000\"") << 284;
        QTest::newRow("region") << QByteArray("model=\"CUD41600\"")
                                << QByteArray("model=\"CUD41602\"") << 310;
        QTest::newRow("codeplug version")
            << QByteArray("codeplug_phase=\"R\" codeplug_version=\"3\"")
            << QByteArray("codeplug_phase=\"R\" codeplug_version=\"9\"") << 342;
    }
    void refusedProfilesDoNotOpen() {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, message);
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        QByteArray text = HandheldProfile();
        QVERIFY(text.contains(from));
        text.replace(from, to);
        const QString path = fixture.Path(QStringLiteral("refused.vk4"));
        CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(text)));
        QVERIFY(fixture.App().OpenDocumentFile(path) == nullptr);
        QCOMPARE(fixture.prompt.ids.value(0), message);
        QVERIFY(fixture.Frame().ChildFrames().isEmpty());
        QVERIFY(fixture.App().RecentFiles().Entries().isEmpty());
    }

    void aProfileOnTheCommandLineOpensAndEntersTheRecentFiles() {
        CAppFixture fixture;
        const QString path = fixture.Path(QStringLiteral("given.vk4"));
        CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(HandheldProfile())));
        QVERIFY(fixture.Start({path}));
        QCOMPARE(fixture.Frame().ChildFrames().size(), 1);
        QCOMPARE(fixture.App().RecentFiles().Entries(), QStringList{path});
        // Opening it again brings its window forward instead of a second copy.
        QVERIFY(fixture.App().OpenDocumentFile(path) != nullptr);
        QCOMPARE(fixture.Frame().ChildFrames().size(), 1);
    }

    void aRecentFileThatWasDeletedLeavesTheList() {
        CAppFixture fixture;
        const QString kept = fixture.Path(QStringLiteral("kept.vk4"));
        const QString gone = fixture.Path(QStringLiteral("gone.vk4"));
        for (const QString& path : {kept, gone}) {
            CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(HandheldProfile())));
        }
        QVERIFY(fixture.Start());
        fixture.App().RecentFiles().Add(kept);
        fixture.App().RecentFiles().Add(gone);
        QVERIFY(QFile::remove(gone));
        fixture.App().OnRecentFile(0);
        QCOMPARE(fixture.App().RecentFiles().Entries(), QStringList{kept});
        QCOMPARE(fixture.prompt.ids, QList<int>{kSystemMessage});
        QVERIFY(fixture.Frame().ChildFrames().isEmpty());
        // The list is the user's: the next start sees the same.
        CRecentFileList again(fixture.App().Config());
        again.Load();
        QCOMPARE(again.Entries(), QStringList{kept});
    }

    void saveRefusesAChannelOutsideTheBandBeforeAskingForAName() {
        CAppFixture fixture;
        QByteArray text = HandheldProfile();
        text.replace("start_freq=\"450000000\"", "start_freq=\"462000000\"");
        const QString path = fixture.Path(QStringLiteral("band.vk4"));
        const QByteArray original = profile_file::Encode(QString::fromUtf8(text));
        CTempHives::Write(path, original);
        QVERIFY(fixture.Start({path}));
        CVeskCPSDoc* document = fixture.Frame().ActiveDocument();
        QVERIFY(document != nullptr);
        for (int command : {cmd::kSave, cmd::kSaveAs}) {
            fixture.prompt.ids.clear();
            fixture.Frame().Command(command)->trigger();
            QCOMPARE(fixture.prompt.ids, QList<int>{511});
            QVERIFY(fixture.Frame().findChild<QFileDialog*>() == nullptr);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), original);
    }

    void saveAsWritesTheChosenFileAndRenamesTheWindow() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        WhenModal<CNewProfileDlg>([](CNewProfileDlg* dialog) { dialog->accept(); });
        CVeskCPSDoc* document = fixture.App().OnFileNew();
        QVERIFY(document != nullptr);
        const QString target = fixture.Path(QStringLiteral("saved"));
        WhenModal<QFileDialog>([target](QFileDialog* dialog) {
            // Typed into the name field, as a user would; the dialog's own selection follows its
            // folder listing, which loads in the background.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(target);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        fixture.Frame().Command(cmd::kSave)->trigger();
        // The default extension is added to a name given without one.
        QVERIFY2(QFileInfo::exists(target + QStringLiteral(".vk4")),
                 qPrintable(QDir(fixture.Path(QString())).entryList().join(u',') +
                            QString::number(fixture.prompt.ids.size())));
        QCOMPARE(document->Title(), QStringLiteral("saved.vk4"));
        QCOMPARE(fixture.Frame().ChildFrames().constFirst()->windowTitle(),
                 QStringLiteral("saved.vk4"));
        QCOMPARE(fixture.App().RecentFiles().Entries().value(0), target + QStringLiteral(".vk4"));
        QVERIFY(fixture.prompt.ids.isEmpty());
    }

    void closingAChangedProfileAsks_data() {
        QTest::addColumn<PromptAnswer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("fileChanged");
        QTest::newRow("Yes saves and closes") << PromptAnswer::Yes << true << true;
        QTest::newRow("No closes unsaved") << PromptAnswer::No << true << false;
        QTest::newRow("Cancel keeps it open") << PromptAnswer::Cancel << false << false;
    }
    void closingAChangedProfileAsks() {
        QFETCH(PromptAnswer, answer);
        QFETCH(bool, closed);
        QFETCH(bool, fileChanged);
        CAppFixture fixture;
        const QString path = fixture.Path(QStringLiteral("changed.vk4"));
        // A plain profile file: a save writes it scrambled, so any save shows.
        CTempHives::Write(path, HandheldProfile());
        QVERIFY(fixture.Start({path}));
        CVeskCPSDoc* document = fixture.Frame().ActiveDocument();
        QVERIFY(document != nullptr);
        document->SetModifiedFlag(true);
        fixture.prompt.answers[CVeskCPSDoc::kMsgSaveChanges] = {answer};
        fixture.Frame().Command(cmd::kClose)->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(fixture.prompt.ids, QList<int>{CVeskCPSDoc::kMsgSaveChanges});
        QCOMPARE(fixture.prompt.texts.value(0), QStringLiteral("Save changes to changed.vk4?"));
        QCOMPARE(fixture.Frame().ChildFrames().isEmpty(), closed);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2) == QByteArray("\xFF\xFE", 2), fileChanged);
        // Closing the main window asks again for a window that stayed.
        if (!closed) {
            fixture.prompt.answers[CVeskCPSDoc::kMsgSaveChanges] = {PromptAnswer::Cancel};
            QVERIFY(!fixture.Frame().close());
            QCOMPARE(fixture.Frame().ChildFrames().size(), 1);
        }
    }

    void cutCopyPasteFollowTheFocusedFieldAndNeverAPassword() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* field = new QLineEdit(QStringLiteral("channel"), frame.centralWidget());
        auto* password = new QLineEdit(QStringLiteral("1234"), frame.centralWidget());
        password->setProperty("vesk_password", true);
        field->show();
        password->show();
        QApplication::clipboard()->setText(QStringLiteral("x"));

        field->setFocus();
        field->selectAll();
        frame.UpdateCommandStates();
        QVERIFY(frame.Command(cmd::kCut)->isEnabled());
        QVERIFY(frame.Command(cmd::kCopy)->isEnabled());
        QVERIFY(frame.Command(cmd::kPaste)->isEnabled());
        QVERIFY(frame.Command(cmd::kDelete)->isEnabled());
        frame.Command(cmd::kCut)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("channel"));
        QVERIFY(field->text().isEmpty());

        password->setFocus();
        password->selectAll();
        frame.UpdateCommandStates();
        QVERIFY(!frame.Command(cmd::kCut)->isEnabled());
        QVERIFY(!frame.Command(cmd::kCopy)->isEnabled());
        QVERIFY(!frame.Command(cmd::kPaste)->isEnabled());
        frame.Command(cmd::kCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("channel"));
    }

    // A change made through the model is undone and redone from the keyboard, with the menu
    // naming it, the window's modified mark following, and the windows told where it happened.
    void undoAndRedoKeysFollowTheActiveProfilesHistory() {
        CAppFixture fixture;
        const QString path = fixture.Path(QStringLiteral("undo.vk4"));
        CTempHives::Write(path, HandheldProfile());
        QVERIFY(fixture.Start({path}));
        CMainFrame& frame = fixture.Frame();
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CVeskCPSDoc* document = frame.ActiveDocument();
        QVERIFY(document != nullptr);
        CChildFrame* window = frame.ChildFrames().value(0);
        QVERIFY(!frame.Command(cmd::kUndo)->isEnabled());
        QCOMPARE(frame.Command(cmd::kUndo)->text(), QStringLiteral("&Undo"));
        QSignalSpy restored(document, &CVeskCPSDoc::Restored);
        const auto name = [document] {
            return document->Profile()
                .Model()
                .RootItem()
                .GetChildByName(QStringLiteral("channels"))
                .GetChildByIndex(2)
                .GetAttributeValue(QStringLiteral("name"))
                .toString();
        };

        CDataItem channel = document->Profile()
                                .Model()
                                .RootItem()
                                .GetChildByName(QStringLiteral("channels"))
                                .GetChildByIndex(2);
        QVERIFY(
            channel.SetAttributeValue(QStringLiteral("name"), QStringLiteral("BASE")).IsAccepted());
        QVERIFY(frame.Command(cmd::kUndo)->isEnabled());
        QCOMPARE(frame.Command(cmd::kUndo)->text(), QStringLiteral("&Undo Rename channel 3"));
        QVERIFY(window->windowTitle().endsWith(QStringLiteral(" *")));

        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name(), QStringLiteral("CH 03"));
        QVERIFY(!document->IsModified());
        QVERIFY(!window->windowTitle().endsWith(QStringLiteral(" *")));
        QVERIFY(!frame.Command(cmd::kUndo)->isEnabled());
        QCOMPARE(frame.Command(cmd::kRedo)->text(), QStringLiteral("&Redo Rename channel 3"));
        QCOMPARE(restored.size(), 1);
        QCOMPARE(restored.at(0), (QVariantList{QStringLiteral("channels"), 2}));

        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(name(), QStringLiteral("BASE"));
        QVERIFY(document->IsModified());
        QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(name(), QStringLiteral("BASE"));
        QCOMPARE(restored.size(), 4);
        QVERIFY(window->windowTitle().endsWith(QStringLiteral(" *")));
    }

    void droppedProfilesOpenAndOtherFilesAreRefused() {
        CAppFixture fixture;
        const QString good = fixture.Path(QStringLiteral("dropped.vk4"));
        CTempHives::Write(good, profile_file::Encode(QString::fromUtf8(HandheldProfile())));
        const QString other = fixture.Path(QStringLiteral("notes.txt"));
        CTempHives::Write(other, "not a profile");
        QVERIFY(fixture.Start());
        CMainFrame& frame = fixture.Frame();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(good), QUrl::fromLocalFile(other)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        QTRY_COMPARE(frame.ChildFrames().size(), 1);
        QTRY_VERIFY(!fixture.prompt.ids.isEmpty());
        QCOMPARE(frame.ActiveDocument()->PathName(), good);
    }

    void theSplashSwallowsInputWhileItIsUp() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        QLineEdit field;
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        CSplashWnd* splash = CSplashWnd::ShowSplashScreen();
        QVERIFY(splash != nullptr);
        QTest::keyClicks(&field, QStringLiteral("typed blind"));
        QTest::mouseClick(splash, Qt::LeftButton);
        QVERIFY(field.text().isEmpty());
        QVERIFY(CSplashWnd::Visible());
        // Shown once in the program's life.
        QVERIFY(CSplashWnd::ShowSplashScreen() == nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashWnd::Visible(), CSplashWnd::kShowMilliseconds + 2000);
        QTest::keyClicks(&field, QStringLiteral("now"));
        QCOMPARE(field.text(), QStringLiteral("now"));
    }

    void theToolbarStaysWhereTheUserPutIt() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        {
            CMainFrame& frame = fixture.Frame();
            auto* bar = frame.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
            frame.addToolBar(Qt::LeftToolBarArea, bar);
            frame.Command(cmd::kStatusBar)->trigger();
            QVERIFY(frame.close());
        }
        QVERIFY(fixture.Start());
        CMainFrame& again = fixture.Frame();
        auto* bar = again.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        QCOMPARE(again.toolBarArea(bar), Qt::LeftToolBarArea);
        QVERIFY(!again.Command(cmd::kStatusBar)->isChecked());
        QVERIFY(again.Command(cmd::kToolbar)->isChecked());
    }

    void helpOpensAtItsContentsOrSaysWhatIsWrong() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        fixture.Frame().Command(cmd::kContentAndIndex)->trigger();
        QVERIFY(fixture.prompt.ids.isEmpty());
        QWidget* help = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("helpWindow") && window->isVisible()) {
                help = window;
            }
        }
        QVERIFY(help != nullptr);
        help->close();
        QVERIFY(QFile::remove(fixture.Install() + QStringLiteral("/help/veskcps_en.qhc")));
        fixture.Frame().Command(cmd::kContentAndIndex)->trigger();
        QCOMPARE(fixture.prompt.ids, QList<int>{148});
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
