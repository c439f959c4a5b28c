#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>

#include "dialog_keys.h"
#include "env_guard.h"
#include "modal_driver.h"
#include "platform/settings/config_hive.h"
#include "platform/string_table.h"
#include "recording_prompt.h"
#include "report/print/report_print.h"
#include "report/report_generator.h"
#include "report/report_margins.h"
#include "report/window/report_dlg.h"
#include "report/window/report_option_dlg.h"
#include "temp_hives.h"

namespace {

using report::EReportKind;
using SReportPage = CReportDlg::SReportPage;

const QString kAbsent = QStringLiteral("<absent>");
const QStringList kMarginNames = {QStringLiteral("margin_left"), QStringLiteral("margin_right"),
                                  QStringLiteral("margin_top"), QStringLiteral("margin_bottom")};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteJpeg(const QString& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "JPG")) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// A report folder as the generation leaves it: the report file (UTF-8 with a byte order mark)
// and the handout pictures of the set, less those named in `missing`.
QString MakeReportFolder(const QTemporaryDir& dir, const QString& fileName, bool display,
                         const QStringList& missing) {
    const QString folder = dir.filePath(QStringLiteral("Report"));
    QDir().mkpath(folder);
    for (const QString& name : report::HandoutImageSet(display)) {
        if (!missing.contains(name)) {
            WriteJpeg(QDir(folder).filePath(name), QSize(40, 30), Qt::darkCyan);
        }
    }
    WriteFile(QDir(folder).filePath(fileName),
              "\xEF\xBB\xBF<html><head><title>R\xC3\xA9port</title></head><body>"
              "<img src=\"HandoutHeader.jpg\"><p>Kan\xC3\xA4le</p></body></html>");
    return folder;
}

// A stand-in for xdg-email that writes its arguments, one a line, to `argvFile`, after waiting
// `seconds`.
void WriteMailProgram(const QString& folder, const QString& argvFile, const char* seconds) {
    const QString script = QDir(folder).filePath(QStringLiteral("xdg-email"));
    WriteFile(script, QByteArray("#!/bin/sh\n/bin/sleep ") + seconds +
                          "\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                          argvFile.toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList Lines(const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

int PdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next()) {
        ++count;
    }
    return count;
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        CStringTable::Instance().UnloadLanguageModule();
        QLocale::setDefault(QLocale::system());
    }

    // The report's margins while the window is open, and afterwards the user's own texts exactly,
    // an absent value as an empty text. A store that cannot be written is left alone.
    void marginsRoundTrip_data() {
        QTest::addColumn<QByteArray>("userHive");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("after");  // kAbsent: no value at all
        QTest::newRow("never set") << QByteArray("[General]\nCurrentLanguage=German\n") << true
                                   << QStringList{QString(), QString(), QString(), QString()};
        QTest::newRow("the user's own, one of them not a number")
            << QByteArray(
                   "[PageSetup]\nmargin_left=0.75\nmargin_right=0.5\n"
                   "margin_top=wide\nmargin_bottom=1.0\n")
            << true
            << QStringList{QStringLiteral("0.75"), QStringLiteral("0.5"), QStringLiteral("wide"),
                           QStringLiteral("1.0")};
        QTest::newRow("store cannot be written")
            << QByteArray("[PageSetup]\nmargin_left=0.75\n") << false
            << QStringList{QStringLiteral("0.75"), kAbsent, kAbsent, kAbsent};
    }
    void marginsRoundTrip() {
        QFETCH(QByteArray, userHive);
        QFETCH(bool, writable);
        QFETCH(QStringList, after);
        CTempHives hives;
        hives.WriteUser(userHive);
        const CConfigHive hive(hives.UserFile(), writable ? CConfigHive::Access::ReadWrite
                                                          : CConfigHive::Access::ReadOnly);
        const QByteArray before = hives.UserText();
        const QTemporaryDir dir;
        const QString folder =
            MakeReportFolder(dir, QStringLiteral("Detailed Report.htm"), false, {});
        const SReportPage page{QDir(folder).filePath(QStringLiteral("Detailed Report.htm")), folder,
                               EReportKind::Detailed, false};
        CRecordingPrompt prompt;
        QMarginsF during;
        CModalDriver person([&](QDialog& dialog) {
            if (qobject_cast<CReportDlg*>(&dialog) == nullptr) {
                return false;
            }
            during = report::CReportMargins(hive).Current();
            dialog.reject();
            return true;
        });
        CReportDlg::Run(page, hive, prompt, nullptr);
        QCOMPARE(person.unexpected, 0);
        QVERIFY(prompt.ids.isEmpty());
        if (writable) {
            QCOMPARE(during, QMarginsF(0.23667, 0.16667, 0.23667, 0.16667));
            QCOMPARE(report::CReportMargins::ReportMargins(), during);
        } else {
            QCOMPARE(hives.UserText(), before);
        }
        for (int i = 0; i < kMarginNames.size(); ++i) {
            const std::optional<QString> text =
                hive.ReadText(report::kPageSetupKey, kMarginNames.at(i));
            QCOMPARE(text.value_or(kAbsent), after.at(i));
        }
    }

    // Handout first and chosen; OK only with a choice; a double click chooses; Escape nothing.
    void choiceDialog() {
        CReportOptionDlg dialog;
        QListWidget* list = dialog.List();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Customer Handout"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Detailed Report"));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!list->item(i)->icon().pixmap(list->iconSize()).isNull());
        }
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), list);

        // Ctrl+click takes the choice away: OK goes grey and Enter does nothing.
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, first);
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!dialog.OkButton()->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(dialog.isVisible());

        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QVERIFY(dialog.OkButton()->isEnabled());
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Kind(), EReportKind::Detailed);

        CReportOptionDlg again;
        again.show();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        const QPoint handout = again.List()->visualItemRect(again.List()->item(0)).center();
        QTest::mouseClick(again.List()->viewport(), Qt::LeftButton, Qt::NoModifier, handout);
        QTest::mouseDClick(again.List()->viewport(), Qt::LeftButton, Qt::NoModifier, handout);
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QCOMPARE(again.Kind(), EReportKind::Handout);

        CModalDriver escape([](QDialog&) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            return true;
        });
        QCOMPARE(CReportOptionDlg::Ask(nullptr), std::nullopt);
    }

    // What the mail program is given: the report, then the pictures found, in the set's order;
    // nothing at all without pictures or without the program. The windows take no input while it
    // runs and take it again afterwards.
    void mailAttachments_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("display");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<bool>("program");
        QTest::addColumn<QList<int>>("onOpening");
        QTest::addColumn<QList<int>>("onMail");
        QTest::addColumn<QStringList>("pictures");  // mailed after the report; "-": nothing
        const QStringList display = report::HandoutImageSet(true);
        const QStringList rotary = report::HandoutImageSet(false);
        QStringList withoutSeven = display;
        withoutSeven.removeAll(QStringLiteral("7.jpg"));
        QTest::newRow("detailed report") << int(EReportKind::Detailed) << false << QStringList{}
                                         << true << QList<int>{} << QList<int>{} << QStringList{};
        QTest::newRow("display handout without 7.jpg")
            << int(EReportKind::Handout) << true << QStringList{QStringLiteral("7.jpg")} << true
            << QList<int>{315} << QList<int>{} << withoutSeven;
        QTest::newRow("rotary handout") << int(EReportKind::Handout) << false << QStringList{}
                                        << true << QList<int>{} << QList<int>{} << rotary;
        QTest::newRow("handout without pictures")
            << int(EReportKind::Handout) << true << display << true << QList<int>{315}
            << QList<int>{315} << QStringList{QStringLiteral("-")};
        QTest::newRow("no mail program")
            << int(EReportKind::Handout) << true << QStringList{} << false << QList<int>{}
            << QList<int>{393} << QStringList{QStringLiteral("-")};
    }
    void mailAttachments() {
        QFETCH(int, kind);
        QFETCH(bool, display);
        QFETCH(QStringList, missing);
        QFETCH(bool, program);
        QFETCH(QList<int>, onOpening);
        QFETCH(QList<int>, onMail);
        QFETCH(QStringList, pictures);
        const QTemporaryDir dir;
        const QString name = kind == int(EReportKind::Handout)
                                 ? QStringLiteral("Customer Handout.htm")
                                 : QStringLiteral("Detailed Report.htm");
        const QString folder = MakeReportFolder(dir, name, display, missing);
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        const QString argvFile = dir.filePath(QStringLiteral("argv"));
        if (program) {
            WriteMailProgram(bin, argvFile, "0.3");
        }
        const CEnvGuard env({"PATH"});
        qputenv("PATH", bin.toLocal8Bit());

        CTempHives hives;
        const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
        const report::CReportMargins margins(hive);
        CRecordingPrompt prompt;
        const QString path = QDir(folder).filePath(name);
        CReportDlg dialog({path, folder, EReportKind(kind), display}, margins, prompt);
        QCOMPARE(prompt.ids, onOpening);
        QVERIFY(!dialog.View()->toPlainText().startsWith(QChar(0xFEFF)));
        QVERIFY(dialog.View()->toPlainText().contains(QStringLiteral("Kan\u00e4le")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        prompt.ids.clear();

        bool enabledWhileRunning = true;
        QTimer::singleShot(100, &dialog, [&dialog, &enabledWhileRunning] {
            enabledWhileRunning = dialog.isEnabled();
        });
        dialog.Mail();
        QCOMPARE(prompt.ids, onMail);
        QVERIFY(dialog.isEnabled());
        if (pictures == QStringList{QStringLiteral("-")}) {
            QVERIFY(!QFile::exists(argvFile));
            return;
        }
        QVERIFY(!enabledWhileRunning);
        QStringList expected{QStringLiteral("--attach"), path};
        for (const QString& picture : pictures) {
            expected << QStringLiteral("--attach") << QDir(folder).filePath(picture);
        }
        QCOMPARE(Lines(ReadFile(argvFile)), expected);
    }

    // A mail program that does not come back in time gives the windows back, and is left running
    // rather than killed with the message the user is writing.
    void mailProgramThatStaysOpen() {
        const QTemporaryDir dir;
        const QString name = QStringLiteral("Detailed Report.htm");
        const QString folder = MakeReportFolder(dir, name, false, {});
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        const QString argvFile = dir.filePath(QStringLiteral("argv"));
        WriteMailProgram(bin, argvFile, "2");
        const CEnvGuard env({"PATH"});
        qputenv("PATH", bin.toLocal8Bit());
        CTempHives hives;
        const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
        const report::CReportMargins margins(hive);
        CRecordingPrompt prompt;
        {
            CReportDlg dialog({QDir(folder).filePath(name), folder, EReportKind::Detailed, false},
                              margins, prompt);
            dialog.SetMailTimeLimit(200);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.Mail();
            QVERIFY(dialog.isEnabled());
            QVERIFY(!QFile::exists(argvFile));
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(argvFile), 10000);
        QVERIFY(prompt.ids.isEmpty());
    }

    // Save As writes the report and, for a handout, its pictures beside it, so that the saved
    // page opens whole; saved into its own folder, nothing is lost.
    void saveAsKeepsThePictures_data() {
        QTest::addColumn<bool>("ownFolder");
        QTest::newRow("another folder") << false;
        QTest::newRow("the report's own folder") << true;
    }
    void saveAsKeepsThePictures() {
        QFETCH(bool, ownFolder);
        const QTemporaryDir dir;
        const QString name = QStringLiteral("Customer Handout.htm");
        const QString folder = MakeReportFolder(dir, name, true, {QStringLiteral("3.jpg")});
        const QString target = ownFolder ? QDir(folder).filePath(QStringLiteral("Copy.htm"))
                                         : dir.filePath(QStringLiteral("saved/Copy.htm"));
        QDir().mkpath(QFileInfo(target).absolutePath());
        CTempHives hives;
        const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
        const report::CReportMargins margins(hive);
        CRecordingPrompt prompt;
        CReportDlg dialog({QDir(folder).filePath(name), folder, EReportKind::Handout, true},
                          margins, prompt);
        QString filter;
        dialog.SetFileChooser([&](const QString&, const QString& asked) {
            filter = asked;
            return target;
        });
        dialog.SaveAs();
        QCOMPARE(prompt.ids, QList<int>{315});
        QVERIFY(filter.contains(QStringLiteral("*.htm")));
        QCOMPARE(ReadFile(target), ReadFile(QDir(folder).filePath(name)));
        const QDir saved(QFileInfo(target).absolutePath());
        for (const QString& picture : report::HandoutImageSet(true)) {
            const QByteArray original = ReadFile(QDir(folder).filePath(picture));
            QCOMPARE(original.isEmpty(), picture == QStringLiteral("3.jpg"));
            QCOMPARE(ReadFile(saved.filePath(picture)), original);
        }
    }

    // The preview, the printer and the PDF break the pages in the same places, on the same paper,
    // and nothing is cut off at the right edge: a table wider than the page is printed smaller.
    void pdfPagesAsPreviewed() {
        const QTemporaryDir dir;
        const QString name = QStringLiteral("Detailed Report.htm");
        const QString folder = MakeReportFolder(dir, name, false, {});
        WriteJpeg(QDir(folder).filePath(QStringLiteral("tall.jpg")), QSize(200, 700), Qt::darkBlue);
        QByteArray html =
            "\xEF\xBB\xBF<html><body><img src=\"tall.jpg\">"
            "<table width=\"1500\" border=\"1\"><tr>";
        for (int column = 0; column < 12; ++column) {
            html += "<td>Spalte " + QByteArray::number(column) + "</td>";
        }
        html += "</tr></table><table border=\"1\">";
        for (int row = 0; row < 400; ++row) {
            html += "<tr><td>" + QByteArray::number(row) +
                    "</td><td>464.5000</td><td>Kanal mit einem langen Namen</td></tr>";
        }
        html += "</table></body></html>";
        const QString path = QDir(folder).filePath(name);
        WriteFile(path, html);

        CTempHives hives;
        const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
        report::CReportMargins margins(hive);
        margins.SetReportMargins();
        CRecordingPrompt prompt;
        CReportDlg dialog({path, folder, EReportKind::Detailed, false}, margins, prompt);
        int previewPages = 0;
        QPageLayout previewLayout;
        CModalDriver person([&](QDialog& active) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(&active);
            auto* widget = preview ? preview->findChild<QPrintPreviewWidget*>() : nullptr;
            if (widget == nullptr) {
                return false;
            }
            previewPages = widget->pageCount();
            previewLayout = preview->printer()->pageLayout();
            active.reject();
            return true;
        });
        dialog.PrintPreview();
        QCOMPARE(person.unexpected, 0);
        QVERIFY(prompt.ids.isEmpty());
        QCOMPARE(previewLayout.margins(QPageLayout::Inch), margins.Current());

        // The PDF on the paper the preview showed.
        const bool letter = previewLayout.pageSize().id() == QPageSize::Letter;
        QVERIFY(letter || previewLayout.pageSize().id() == QPageSize::A4);
        QLocale::setDefault(letter ? QLocale(QLocale::English, QLocale::UnitedStates)
                                   : QLocale(QLocale::German, QLocale::Germany));
        const QString pdfPath = dir.filePath(QStringLiteral("out/report.pdf"));
        QDir().mkpath(QFileInfo(pdfPath).absolutePath());
        dialog.SetFileChooser([&](const QString&, const QString&) { return pdfPath; });
        dialog.SaveAsPdf();
        QVERIFY(prompt.ids.isEmpty());
        const QByteArray pdf = ReadFile(pdfPath);
        QVERIFY(pdf.startsWith("%PDF-"));

        QString error;
        const std::unique_ptr<QTextDocument> document = report::LoadReportDocument(path, &error);
        QVERIFY2(document, qPrintable(error));
        QVERIFY(!document->toPlainText().startsWith(QChar(0xFEFF)));
        QCOMPARE(document->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("tall.jpg")))
                     .value<QImage>()
                     .size(),
                 QSize(200, 700));
        QPdfWriter writer(dir.filePath(QStringLiteral("unused.pdf")));
        writer.setPageSize(report::DefaultPageSize());
        report::SetReportPageMargins(writer, margins.Current());
        report::PaginateForDevice(*document, writer);
        QVERIFY(document->pageCount() >= 3);
        QCOMPARE(previewPages, document->pageCount());
        QCOMPARE(PdfPageCount(pdf), document->pageCount());

        const qreal pageWidth = document->pageSize().width();
        int tables = 0;
        QList<QTextFrame*> frames = document->rootFrame()->childFrames();
        while (!frames.isEmpty()) {
            QTextFrame* frame = frames.takeFirst();
            frames << frame->childFrames();
            if (qobject_cast<QTextTable*>(frame) == nullptr) {
                continue;
            }
            ++tables;
            const QRectF box = document->documentLayout()->frameBoundingRect(frame);
            QVERIFY2(box.right() <= pageWidth + 0.5,
                     qPrintable(QStringLiteral("table %1 ends at %2 on a page %3 wide")
                                    .arg(tables)
                                    .arg(box.right())
                                    .arg(pageWidth)));
        }
        QCOMPARE(tables, 2);
        margins.Restore();
    }

    // Every control says what it is, Tab walks the window in reading order, no two mnemonics
    // clash, in English and in the longest language.
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
        const QTemporaryDir dir;
        const QString name = QStringLiteral("Customer Handout.htm");
        const QString folder = MakeReportFolder(dir, name, true, {});
        CTempHives hives;
        const CConfigHive hive(hives.UserFile(), CConfigHive::Access::ReadWrite);
        const report::CReportMargins margins(hive);
        CRecordingPrompt prompt;
        CReportDlg window({QDir(folder).filePath(name), folder, EReportKind::Handout, true},
                          margins, prompt);
        CReportOptionDlg choice;
        const struct {
            QDialog* dialog;
            QStringList order;
        } rows[] = {
            {&window,
             {strings.Text(report::kCustomerHandoutName), strings.Text(1104), strings.Text(1098),
              strings.Text(1099), strings.Text(1105), strings.Text(954), strings.Text(955),
              strings.Text(report::kCustomerHandoutName)}},
            {&choice,
             {strings.Text(951), strings.Text(140).remove(u'&'), strings.Text(141).remove(u'&'),
              strings.Text(951)}},
        };
        for (const auto& row : rows) {
            row.dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(row.dialog));
            QStringList walked = TabWalk(int(row.order.size()));
            if (row.dialog == &choice && walked.size() == 4 && walked.at(1) != row.order.at(1)) {
                // The platform may put Cancel first; both must be there.
                walked.swapItemsAt(1, 2);
            }
            QCOMPARE(walked, row.order);
            const QList<QChar> keys = MnemonicKeys(*row.dialog);
            QCOMPARE(QSet<QChar>(keys.begin(), keys.end()).size(), keys.size());
            row.dialog->hide();
        }
        QVERIFY(prompt.ids.isEmpty());
    }
};

QTEST_MAIN(ReportWindowTest)
#include "report_window_test.moc"
