// The navigation tree of a profile window, worked with the mouse and the keyboard as a dealer
// works it, with the profile checked after each step.

#include "editor/tree_view.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/vesk_cps_doc.h"
#include "app_fixture.h"
#include "editor/channel_view.h"
#include "editor/help_view.h"
#include "model/data_item.h"
#include "model/profile_csv.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "platform/string_table.h"

namespace {

// The test profile with `kept` channel elements, `number` of them in use, and the given edits.
QByteArray Profile(int kept, int number,
                   const QList<std::pair<QByteArray, QByteArray>>& edits = {}) {
    QFile file(QStringLiteral(VESK_TEST_DATA "/profiles/good/handheld_uhf.xml"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    int seen = 0;
    const QRegularExpression channel(QStringLiteral("\\s*<channel [^>]*/>"));
    QString result;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : channel.globalMatch(text)) {
        result += text.mid(from, match.capturedStart() - from);
        if (seen++ < kept) {
            result += match.captured();
        }
        from = match.capturedEnd();
    }
    result += text.mid(from);
    result.replace(QStringLiteral("numberChannels=\"16\""),
                   QStringLiteral("numberChannels=\"%1\"").arg(number));
    QByteArray bytes = result.toUtf8();
    for (const auto& [what, with] : edits) {
        bytes.replace(what, with);
    }
    return bytes;
}

QStringList ChildTexts(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts << item->child(i)->text(0);
    }
    return texts;
}

QString Attribute(CVeskCPSDoc& document, const char* element, const char* name, int index = -1) {
    CDataItem item = document.Profile().Model().RootItem().GetChildByName(QLatin1String(element));
    if (index >= 0) {
        item = item.GetChildByIndex(index);
    }
    return item.AttributeText(QLatin1String(name)).value_or(QStringLiteral("<none>"));
}

}  // namespace

class TreeViewTest : public QObject {
    Q_OBJECT

    struct SOpen {
        CChildFrame* frame = nullptr;
        CVeskCPSTreeView* tree = nullptr;
    };

    static SOpen Open(CAppFixture& fixture, const QByteArray& text) {
        const QString path = fixture.Path(QStringLiteral("tree.vk4"));
        CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(text)));
        if (!fixture.Start({path})) {
            return {};
        }
        CMainFrame& main = fixture.Frame();
        main.show();
        if (!QTest::qWaitForWindowExposed(&main) || main.ChildFrames().isEmpty()) {
            return {};
        }
        CChildFrame* frame = main.ChildFrames().constFirst();
        return {frame, &frame->Tree()};
    }

    static void Click(CVeskCPSTreeView* tree, QTreeWidgetItem* item) {
        const QRect area = tree->visualItemRect(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, area.center());
    }

private Q_SLOTS:
    void nodesFollowTheProfile_data() {
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("maxCodes");
        QTest::addColumn<QStringList>("topNodes");
        QTest::addColumn<int>("channelNodes");
        const QStringList fixed = {
            QStringLiteral("General Settings"), QStringLiteral("Audio Settings"),
            QStringLiteral("Buttons"),          QStringLiteral("RF Frequency"),
            QStringLiteral("Channels"),         QStringLiteral("Scan List")};
        QTest::newRow("all codes") << 16 << 16 << QByteArray("213")
                                   << fixed + QStringList{QStringLiteral("Customized KT")} << 16;
        QTest::newRow("more elements than in use")
            << 6 << 4 << QByteArray("300")
            << fixed +
                   QStringList{QStringLiteral("Customized KT"), QStringLiteral("Customized VRC")}
            << 4;
        QTest::newRow("no customized codes") << 4 << 4 << QByteArray("122") << fixed << 4;
    }
    void nodesFollowTheProfile() {
        QFETCH(int, kept);
        QFETCH(int, number);
        QFETCH(QByteArray, maxCodes);
        QFETCH(QStringList, topNodes);
        QFETCH(int, channelNodes);
        CAppFixture fixture;
        const SOpen open =
            Open(fixture,
                 Profile(kept, number, {{"maxCodes=\"213\"", "maxCodes=\"" + maxCodes + "\""}}));
        QVERIFY(open.tree != nullptr);
        QTreeWidgetItem* root = open.tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("ZN420"));
        QCOMPARE(ChildTexts(root), topNodes);
        QCOMPARE(open.tree->ChannelsNode()->childCount(), channelNodes);
        QCOMPARE(open.tree->ChannelsNode()->child(0)->text(0), QStringLiteral("CH 01"));
        QCOMPARE(open.tree->currentItem(), root);
        QCOMPARE(open.frame->CurrentKind(), quint16{0});
    }

    void addRenameAndDeleteAChannelWithTheKeyboard() {
        CAppFixture fixture;
        const SOpen open = Open(fixture, Profile(4, 4));
        QVERIFY(open.tree != nullptr);
        CMainFrame& main = fixture.Frame();
        CVeskCPSDoc& document = open.frame->Document();

        // Add: the Channels node, then Ctrl+A.
        Click(open.tree, open.tree->ChannelsNode());
        QVERIFY(open.tree->hasFocus());
        QVERIFY(main.Command(cmd::kAdd)->isEnabled());
        QTest::keyClick(open.tree, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Attribute(document, "setting", "numberChannels"), QStringLiteral("5"));
        QCOMPARE(open.tree->ChannelsNode()->childCount(), 5);
        QTreeWidgetItem* added = open.tree->ChannelsNode()->child(4);
        QCOMPARE(open.tree->currentItem(), added);
        QCOMPARE(added->text(0), Attribute(document, "channels", "name", 4));
        QCOMPARE(open.frame->CurrentKind(), quint16{6});
        QVERIFY(document.IsModified());
        // The new channel's page takes the focus in its name field, all selected, for typing.
        auto* page = qobject_cast<CChannelView*>(open.frame->CurrentPage());
        QVERIFY(page != nullptr);
        auto* nameField = page->ControlAs<QLineEdit>(CChannelView::kName);
        QTRY_VERIFY(nameField->hasFocus());
        QCOMPARE(nameField->selectedText(), added->text(0));

        // Rename in the tree: F2, a name, Enter.
        QTest::keyClick(open.tree, Qt::Key_F2);
        auto* editor = open.tree->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->maxLength(), 8);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("LOBBY"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The item view commits an edit ended by a key once the key has been handled.
        QTRY_COMPARE(Attribute(document, "channels", "name", 4), QStringLiteral("LOBBY"));
        QCOMPARE(added->text(0), QStringLiteral("LOBBY"));
        // The channel page on show heard of the new name: its title and name field.
        QCOMPARE(open.frame->CurrentPage(), page);
        QCOMPARE(page->ControlAs<QLabel>(CChannelView::kTitle)->text(),
                 QStringLiteral("LOBBY (5)"));
        QCOMPARE(nameField->text(), QStringLiteral("LOBBY"));

        // Spaces only: the old name stays and nothing is said.
        QTest::keyClick(open.tree, Qt::Key_F2);
        editor = open.tree->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("   "));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(open.tree->viewport()->findChild<QLineEdit*>() == nullptr ||
                    !open.tree->viewport()->findChild<QLineEdit*>()->isVisible());
        QCOMPARE(Attribute(document, "channels", "name", 4), QStringLiteral("LOBBY"));
        QVERIFY(fixture.prompt.ids.isEmpty());

        // Delete key on the selected channel.
        QTest::keyClick(open.tree, Qt::Key_Delete);
        QCOMPARE(Attribute(document, "setting", "numberChannels"), QStringLiteral("4"));
        QCOMPARE(open.tree->ChannelsNode()->childCount(), 4);
        QVERIFY(!ChildTexts(open.tree->ChannelsNode()).contains(QStringLiteral("LOBBY")));

        // A page asks the tree for a new channel (the Channels page's Add) through the navigator.
        Click(open.tree, open.tree->ChannelsNode());
        document.Navigator().NotifyViews(
            open.frame->CurrentPage(),
            view_hint::Make(view_hint::kItemAdded, tree_data::kChannels));
        QCOMPARE(Attribute(document, "setting", "numberChannels"), QStringLiteral("5"));
        QCOMPARE(open.tree->ChannelsNode()->childCount(), 5);
    }

    void aNameTheRulesRefuseIsToldAndStopsSave() {
        CAppFixture fixture;
        const SOpen open = Open(fixture, Profile(4, 4));
        QVERIFY(open.tree != nullptr);
        CVeskCPSDoc& document = open.frame->Document();
        const QString path = document.PathName();
        QFile before(path);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray original = before.readAll();
        before.close();

        QTreeWidgetItem* first = open.tree->ChannelsNode()->child(0);
        Click(open.tree, first);
        QTest::keyClick(open.tree, Qt::Key_F2);
        auto* editor = open.tree->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("a#"));
        // Save while the refused name is still being typed: one message, nothing saved.
        fixture.Frame().Command(cmd::kSave)->trigger();
        QCOMPARE(fixture.prompt.ids, QList<int>{222});
        QCOMPARE(first->text(0), QStringLiteral("CH 01"));
        QCOMPARE(Attribute(document, "channels", "name", 0), QStringLiteral("CH 01"));
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), original);
    }

    void treeChangesUndoAndRedoToTheIdenticalProfile() {
        CAppFixture fixture;
        const SOpen open = Open(fixture, Profile(4, 4));
        QVERIFY(open.tree != nullptr);
        CMainFrame& main = fixture.Frame();
        CVeskCPSDoc& document = open.frame->Document();
        auto state = [&document] { return document.Profile().Model().SaveWorkingState(); };
        auto channelNodes = [&open] { return open.frame->Tree().ChannelsNode()->childCount(); };

        const QByteArray original = state();
        Click(open.tree, open.tree->ChannelsNode());
        QTest::keyClick(open.tree, Qt::Key_A, Qt::ControlModifier);
        // The new channel's name field takes the focus once the page is up, as a person sees it.
        QCoreApplication::processEvents();
        const QByteArray added = state();
        QVERIFY(added != original);
        QCOMPARE(channelNodes(), 5);

        main.Command(cmd::kUndo)->trigger();
        QCOMPARE(state(), original);
        QCOMPARE(channelNodes(), 4);
        QVERIFY(!document.IsModified());
        main.Command(cmd::kRedo)->trigger();
        QCOMPARE(state(), added);
        QCOMPARE(channelNodes(), 5);
        // The tree follows the change: the channel it touched is selected.
        QCOMPARE(tree_data::Kind(open.frame->Tree().SelectedData()), tree_data::kChannel);

        // Rename, then delete, each undone in turn.
        CVeskCPSTreeView& tree = open.frame->Tree();
        Click(&tree, tree.ChannelsNode()->child(1));
        QTest::keyClick(&tree, Qt::Key_F2);
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("POOL"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(tree.ChannelsNode()->child(1)->text(0), QStringLiteral("POOL"));
        const QByteArray renamed = state();
        Click(&tree, tree.ChannelsNode()->child(1));
        QTest::keyClick(&tree, Qt::Key_Delete);
        QCOMPARE(tree.ChannelsNode()->childCount(), 4);

        main.Command(cmd::kUndo)->trigger();
        QCOMPARE(state(), renamed);
        QCOMPARE(open.frame->Tree().ChannelsNode()->child(1)->text(0), QStringLiteral("POOL"));
        main.Command(cmd::kUndo)->trigger();
        QCOMPARE(state(), added);
        QCOMPARE(open.frame->Tree().ChannelsNode()->child(1)->text(0), QStringLiteral("CH 02"));
        main.Command(cmd::kUndo)->trigger();
        QCOMPARE(state(), original);
        QVERIFY(!document.IsModified());
    }

    void theHelpPaneComesAndGoesAndKeepsThePage() {
        CAppFixture fixture;
        const SOpen open = Open(fixture, Profile(4, 4));
        QVERIFY(open.tree != nullptr);
        CMainFrame& main = fixture.Frame();
        // The installation's setting shows the pane from the start.
        QVERIFY(open.frame->HelpPaneShown());
        QVERIFY(main.Command(cmd::kHelpPane)->isChecked());
        Click(open.tree, open.tree->ChannelsNode()->child(2));
        QCOMPARE(open.frame->CurrentKind(), quint16{6});
        open.frame->ShowHelpTopic(QStringLiteral("channel.html"));
        QVERIFY(open.frame->HelpPane()->toPlainText().contains(QStringLiteral("channel"),
                                                               Qt::CaseInsensitive));
        QVERIFY(!open.frame->HelpPane()->toPlainText().isEmpty());
        // The pane is for reading: a right click opens no menu.
        QContextMenuEvent menuRequest(
            QContextMenuEvent::Mouse, QPoint(5, 5),
            open.frame->HelpPane()->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(open.frame->HelpPane()->viewport(), &menuRequest);
        QVERIFY(QApplication::activePopupWidget() == nullptr);

        main.Command(cmd::kHelpPane)->trigger();
        QVERIFY(!open.frame->HelpPaneShown());
        QVERIFY(!main.Command(cmd::kHelpPane)->isChecked());
        main.Command(cmd::kHelpPane)->trigger();
        QVERIFY(open.frame->HelpPaneShown());
        QCOMPARE(open.frame->CurrentKind(), quint16{6});
        QCOMPARE(tree_data::Index(open.tree->SelectedData()), quint16{2});

        // A new page starts with a blank pane; the pane taking the focus clears Add/Delete/Rename.
        Click(open.tree, open.tree->ChannelsNode());
        QVERIFY(open.frame->HelpPane()->toPlainText().isEmpty());
        QVERIFY(main.Command(cmd::kAdd)->isEnabled());
        open.frame->HelpPane()->setFocus();
        QTRY_VERIFY(!main.Command(cmd::kAdd)->isEnabled());
    }

    // The File menu's spreadsheet commands: an export, a bad file that changes nothing and names
    // its line, a good file that replaces the table as one undo step.
    void spreadsheetImportAndExport() {
        CAppFixture fixture;
        const SOpen open = Open(fixture, Profile(4, 4));
        QVERIFY(open.tree != nullptr);
        CMainFrame& main = fixture.Frame();
        CVeskCPSDoc& document = open.frame->Document();
        auto choose = [](const QString& path) {
            WhenModal<QFileDialog>([path](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                QMetaObject::invokeMethod(dialog, "accept");
            });
        };
        const QString exported = fixture.Path(QStringLiteral("plan"));
        choose(exported);
        main.Command(cmd::kExportFrequencies)->trigger();
        QFile file(exported + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray table = file.readAll();
        QCOMPARE(table, profile_csv::Export(document.Profile().Model().RootItem(),
                                            profile_csv::ETable::Frequencies));
        const QByteArray original = document.Profile().Model().SaveWorkingState();

        // Line 3 carries a MURS frequency: nothing changes, and the message names the line.
        QByteArray bad = table;
        const qsizetype third = bad.indexOf('\n', bad.indexOf('\n') + 1) + 1;
        bad.replace(bad.indexOf(',', third) + 1, 10, "151.820000");
        const QString badPath = fixture.Path(QStringLiteral("bad.csv"));
        CTempHives::Write(badPath, bad);
        choose(badPath);
        main.Command(cmd::kImportFrequencies)->trigger();
        QCOMPARE(fixture.prompt.ids, QList<int>{kSystemMessage});
        QVERIFY2(fixture.prompt.texts.constFirst().contains(QStringLiteral("3")),
                 qPrintable(fixture.prompt.texts.constFirst()));
        QCOMPARE(document.Profile().Model().SaveWorkingState(), original);
        QVERIFY(!document.IsModified());

        // The first two rows swapped: applied, the page of the table on show, one undo step.
        fixture.prompt.ids.clear();
        QList<QByteArray> lines = table.split('\n');
        lines.swapItemsAt(1, 2);
        const QString goodPath = fixture.Path(QStringLiteral("good.csv"));
        CTempHives::Write(goodPath, lines.join('\n'));
        choose(goodPath);
        main.Command(cmd::kImportFrequencies)->trigger();
        QVERIFY2(fixture.prompt.ids.isEmpty(), qPrintable(fixture.prompt.texts.join(u'|')));
        QVERIFY(document.IsModified());
        QCOMPARE(open.frame->CurrentKind(), quint16{4});
        const QByteArray imported = document.Profile().Model().SaveWorkingState();
        QVERIFY(imported != original);
        main.Command(cmd::kUndo)->trigger();
        QCOMPARE(document.Profile().Model().SaveWorkingState(), original);
        QVERIFY(!document.IsModified());
    }

    // Every installed template opens, and every node of its tree shows its page without a
    // message: the pages read every model's profile as it ships.
    void everyTemplateShowsEveryPage() {
        CAppFixture fixture;
        QVERIFY(fixture.Start());
        CMainFrame& main = fixture.Frame();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QDir templates(fixture.Install() + QStringLiteral("/profiletemplate"));
        const QStringList files = templates.entryList({QStringLiteral("*.vk4")});
        QVERIFY(files.size() >= 9);
        for (const QString& name : files) {
            fixture.App().OpenDocumentFile(templates.filePath(name));
            QVERIFY2(!main.ChildFrames().isEmpty(), qPrintable(name));
            CChildFrame* frame = main.ChildFrames().constLast();
            CVeskCPSTreeView& tree = frame->Tree();
            QTreeWidgetItemIterator it(&tree);
            int nodes = 0;
            for (; *it != nullptr; ++it, ++nodes) {
                tree.setCurrentItem(*it);
                QCOMPARE(frame->CurrentKind(), tree_data::Kind(tree.SelectedData()));
            }
            QVERIFY2(nodes > 8, qPrintable(name));
            QVERIFY2(fixture.prompt.ids.isEmpty(),
                     qPrintable(name + u':' + fixture.prompt.texts.join(u'|')));
            QVERIFY2(!frame->Document().IsModified(), qPrintable(name));
            frame->close();
        }
    }

    void theLastEnabledChannelStays() {
        CAppFixture fixture;
        // Two channels, the second switched off.
        QByteArray text = Profile(2, 2);
        const qsizetype second = text.indexOf("name=\"CH 02\" disable_channel=\"0\"");
        QVERIFY(second > 0);
        text.replace(second, 32, "name=\"CH 02\" disable_channel=\"1\"");
        const SOpen open = Open(fixture, text);
        QVERIFY(open.tree != nullptr);
        CVeskCPSDoc& document = open.frame->Document();

        Click(open.tree, open.tree->ChannelsNode()->child(0));
        QTest::keyClick(open.tree, Qt::Key_Delete);
        QCOMPARE(fixture.prompt.ids, QList<int>{338});
        QCOMPARE(Attribute(document, "setting", "numberChannels"), QStringLiteral("2"));

        Click(open.tree, open.tree->ChannelsNode()->child(1));
        QTest::keyClick(open.tree, Qt::Key_Delete);
        QCOMPARE(Attribute(document, "setting", "numberChannels"), QStringLiteral("1"));
        QCOMPARE(ChildTexts(open.tree->ChannelsNode()), QStringList{QStringLiteral("CH 01")});
    }
};

QTEST_MAIN(TreeViewTest)
#include "tree_view_test.moc"
