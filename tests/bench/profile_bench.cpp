// The cost of loading the largest sample profile into a model whose rule script engine is
// already running: schema compile, parse, validation and the script's view of the document.

#include <QFile>
#include <QString>

#include "model/radio_data_model.h"
#include "platform/user_prompt.h"
#include "temp_hives.h"

#include <benchmark/benchmark.h>

namespace {

class CSilentPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int, const QString&, PromptStyle) override { return PromptAnswer::Ok; }
};

const QString kSourceDir = QStringLiteral(VESK_SOURCE_DIR);

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_LoadProfile(benchmark::State& state) {
    CTempHives hives;
    hives.WriteMachine("[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() +
                       "\n");
    for (const char* name : {"DataProfile.vbs", "DataProfile.xsd"}) {
        CTempHives::Write(
            hives.Path(QStringLiteral("install/profiletemplate/") + QString::fromUtf8(name)),
            ReadAll(kSourceDir + QStringLiteral("/install/profiletemplate/") +
                    QString::fromUtf8(name)));
    }
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    CRadioDataModel model(config, prompt);
    if (!model.Initialize()) {
        state.SkipWithError("the rule script cannot be read");
        return;
    }
    const QString profile = kSourceDir + QStringLiteral("/tests/data/profiles/good/full.xml");
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.LoadProfile(profile, true));
    }
}
BENCHMARK(BM_LoadProfile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
