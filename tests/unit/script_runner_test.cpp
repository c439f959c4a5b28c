// Runs every script under tests/script. A script says what it must print and how it must fail in
// comments:
//   ' expect: TEXT                   the next line the script prints (WScript.Echo, or the
//                                    "result:"/"byref N:" lines of a call)
//   ' expect error: TEXT             an error whose message contains TEXT
//   ' expect error line N: TEXT      ... reported at line N
//   ' xml: FILE                      runs with FILE (beside the script) as the global Document
//   ' call: NAME ARG...              calls NAME after the global code (arguments as on the
//                                    veskctl script command line)
//   ' steps: N                       runs with a step budget of N

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "platform/script/script_file.h"

#include <gtest/gtest.h>

namespace {

struct SExpectedError {
    int line = 0;  // 0: any line
    QString text;
};

struct SScriptCase {
    QString path;
    QStringList expectedOutput;
    std::vector<SExpectedError> expectedErrors;
    vbs::SScriptFileRun run;
};

SScriptCase ReadCase(const QString& path) {
    SScriptCase c;
    c.path = path;
    c.run.scriptPath = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << qPrintable(path);
        return c;
    }
    static const QRegularExpression directive(
        QStringLiteral("'\\s*(expect|expect error(?: line (\\d+))?|xml|call|steps):\\s?(.*)$"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        // Not trimmed: an expected line may end in blanks.
        const QRegularExpressionMatch m = directive.match(line);
        if (!m.hasMatch()) {
            continue;
        }
        const QString kind = m.captured(1);
        const QString value = m.captured(3).trimmed();
        if (kind == u"expect") {
            c.expectedOutput << m.captured(3);
        } else if (kind.startsWith(QLatin1String("expect error"))) {
            c.expectedErrors.push_back({m.captured(2).toInt(), value});
        } else if (kind == u"xml") {
            c.run.xmlPath = QFileInfo(path).dir().filePath(value);
        } else if (kind == u"call") {
            QStringList words = value.split(u' ', Qt::SkipEmptyParts);
            c.run.callName = words.value(0);
            c.run.callArgs = words.mid(1);
        } else if (kind == u"steps") {
            c.run.limits.maxSteps = value.toLongLong();
        }
    }
    return c;
}

std::vector<std::string> ScriptFiles() {
    std::vector<std::string> files;
    QDirIterator it(QStringLiteral(VESK_SCRIPT_TESTS), {QStringLiteral("*.vbs")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.push_back(
            QDir(QStringLiteral(VESK_SCRIPT_TESTS)).relativeFilePath(it.next()).toStdString());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ScriptFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptFile, PrintsAndFailsAsItsCommentsSay) {
    const SScriptCase c = ReadCase(
        QDir(QStringLiteral(VESK_SCRIPT_TESTS)).filePath(QString::fromStdString(GetParam())));
    ASSERT_TRUE(!c.expectedOutput.isEmpty() || !c.expectedErrors.empty())
        << "a script test must expect something";

    QStringList output;
    const vbs::SScriptFileResult result =
        vbs::RunScriptFile(c.run, [&output](const QString& line) { output << line; });
    ASSERT_TRUE(result.failure.isEmpty()) << qPrintable(result.failure);

    EXPECT_EQ(output.join(u'\n').toStdString(), c.expectedOutput.join(u'\n').toStdString());

    QStringList reported;
    for (const vbs::SScriptDiagnostic& error : result.errors) {
        reported << error.ToString();
    }
    EXPECT_EQ(result.ok, c.expectedErrors.empty()) << qPrintable(reported.join(u'\n'));
    ASSERT_EQ(result.errors.size(), c.expectedErrors.size()) << qPrintable(reported.join(u'\n'));
    for (std::size_t i = 0; i < c.expectedErrors.size(); ++i) {
        const SExpectedError& expected = c.expectedErrors[i];
        EXPECT_TRUE(result.errors[i].message.contains(expected.text))
            << qPrintable(reported[qsizetype(i)]) << "\n  expected: " << qPrintable(expected.text);
        if (expected.line != 0) {
            EXPECT_EQ(result.errors[i].line, expected.line) << qPrintable(reported[qsizetype(i)]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptFile, ::testing::ValuesIn(ScriptFiles()),
                         [](const ::testing::TestParamInfo<std::string>& row) {
                             std::string name = row.param.substr(0, row.param.size() - 4);
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) {
                                     ch = '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
