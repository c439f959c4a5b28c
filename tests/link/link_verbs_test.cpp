// veskctl's cable verbs as a dealer runs them, against simulated radios on virtual cables.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "qt_print.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace {

class LinkVerbs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(CableFolder()));
        // No real converter of this machine may join the count.
        ASSERT_TRUE(QDir().mkpath(m_scratch.filePath(QStringLiteral("sys"))));
    }

    QString CableFolder() const { return m_scratch.filePath(QStringLiteral("cables")); }

    SRun Veskctl(const QStringList& args) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VESKCPS_CABLE_DIR"), CableFolder());
        env.insert(QStringLiteral("VESKCPS_SYSFS_ROOT"), m_scratch.filePath(QStringLiteral("sys")));
        return RunVeskctl(env, args);
    }

    QStringList Sim(const QString& cable, const QString& description = QString()) const {
        QStringList args{QStringLiteral("--fast"), QStringLiteral("--cable"), cable};
        if (!description.isEmpty()) {
            args << QStringLiteral("--description") << description;
        }
        return args;
    }

    QTemporaryDir m_scratch;
};

TEST_F(LinkVerbs, CablesListsWhatACountSees) {
    SRun none = Veskctl({QStringLiteral("cables")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.contains(QLatin1String("USB Cable Not Connected")))
        << qPrintable(none.out);

    CSimProcess first(CableFolder(), Sim(QStringLiteral("a-radio")));
    ASSERT_TRUE(first.Ready()) << qPrintable(first.Error());
    // A longer description is not a programming cable, however close.
    CSimProcess other(CableFolder(),
                      Sim(QStringLiteral("b-other"), QStringLiteral("ZT CPS Cable 2")));
    ASSERT_TRUE(other.Ready()) << qPrintable(other.Error());
    SRun one = Veskctl({QStringLiteral("cables")});
    EXPECT_EQ(one.exitCode, 0) << qPrintable(one.out + one.err);
    EXPECT_TRUE(one.out.contains(QStringLiteral("0  virtual  %1").arg(first.Device())))
        << qPrintable(one.out);
    EXPECT_TRUE(one.out.contains(QLatin1String("\"ZT CPS Cable\"  programming cable")));
    EXPECT_TRUE(one.out.contains(QLatin1String("\"ZT CPS Cable 2\"\n")));
    EXPECT_TRUE(one.out.contains(QLatin1String("USB Cable Connected: device 0")));

    CSimProcess second(CableFolder(),
                       Sim(QStringLiteral("c-radio"), QStringLiteral("QMV Series CPS Cable")));
    ASSERT_TRUE(second.Ready()) << qPrintable(second.Error());
    SRun two = Veskctl({QStringLiteral("cables")});
    EXPECT_EQ(two.exitCode, 1);
    EXPECT_TRUE(two.out.contains(QLatin1String(
        "There are 2 USB connections. Please remove the unused one and keep one connection only.")))
        << qPrintable(two.out);
}

TEST_F(LinkVerbs, PeekReadsRadioMemory) {
    CSimProcess sim(CableFolder(), Sim(QStringLiteral("radio"))
                                       << QStringLiteral("--model") << QStringLiteral("CUR40801"));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    // The identification block: the model first, its letters as characters and its digits as
    // numbers.
    SRun peek = Veskctl({QStringLiteral("peek"), QStringLiteral("0x10E22"), QStringLiteral("8")});
    EXPECT_EQ(peek.exitCode, 0) << qPrintable(peek.err);
    EXPECT_EQ(peek.out, QStringLiteral("0x010E22  43 55 52 04 00 08 00 01%1 CUR.....\n")
                            .arg(QString(48 - 23, QLatin1Char(' '))));

    // 40 bytes in three rows, across a chunk boundary, at a decimal address.
    SRun rows = Veskctl({QStringLiteral("peek"), QString::number(0x10000), QStringLiteral("40")});
    EXPECT_EQ(rows.exitCode, 0) << qPrintable(rows.err);
    EXPECT_EQ(rows.out.count(QLatin1Char('\n')), 3) << qPrintable(rows.out);
    EXPECT_TRUE(rows.out.startsWith(QLatin1String("0x010000  "))) << qPrintable(rows.out);
    EXPECT_TRUE(rows.out.contains(QLatin1String("\n0x010020  "))) << qPrintable(rows.out);
}

TEST_F(LinkVerbs, PeekRefusals) {
    struct SRow {
        QStringList args;
        int exitCode;
        const char* says;
    };
    const SRow rows[] = {
        {{QStringLiteral("0x10000")}, 2, "usage: veskctl peek"},
        {{QStringLiteral("0x10000"), QStringLiteral("0")}, 2, "1 to 4096 bytes"},
        {{QStringLiteral("0x10000"), QStringLiteral("4097")}, 2, "1 to 4096 bytes"},
        {{QStringLiteral("0xFFFFFF"), QStringLiteral("2")}, 2, "below 0x1000000"},
        {{QStringLiteral("ten"), QStringLiteral("2")}, 2, "usage: veskctl peek"},
        {{QStringLiteral("0x10000"), QStringLiteral("4")}, 1, "USB Cable Not Connected"},
    };
    for (const SRow& row : rows) {
        const SRun run = Veskctl(QStringList{QStringLiteral("peek")} + row.args);
        EXPECT_EQ(run.exitCode, row.exitCode) << qPrintable(row.args.join(u' '));
        EXPECT_TRUE(run.err.contains(QLatin1String(row.says)))
            << qPrintable(row.args.join(u' ') + QStringLiteral(": ") + run.err);
        EXPECT_TRUE(run.out.isEmpty()) << qPrintable(run.out);
    }

    // A radio that never answers: the communication error, and which request failed.
    CSimProcess silent(CableFolder(), Sim(QStringLiteral("radio")) << QStringLiteral("--fault")
                                                                   << QStringLiteral("silence"));
    ASSERT_TRUE(silent.Ready()) << qPrintable(silent.Error());
    const SRun run =
        Veskctl({QStringLiteral("peek"), QStringLiteral("0x10009"), QStringLiteral("4")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QLatin1String("Error: Communication Error.\n")))
        << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QLatin1String("read memory 0x010009 (4 bytes)")))
        << qPrintable(run.err);
}

}  // namespace
