// The cost of loading the largest sample profile into a model whose rule script engine is
// already running (schema compile, parse, validation and the script's view of the document), and
// of a dealer's open and save of it as a profile file.

#include <QFile>
#include <QString>

#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/radio_data_model.h"
#include "platform/user_prompt.h"
#include "radio/data_adaptor.h"
#include "radio/virtual_cp.h"
#include "temp_hives.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

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

// A throw-away installation with the rule script and the schema.
void Install(CTempHives& hives) {
    hives.WriteMachine("[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() +
                       "\n");
    for (const char* name : {"DataProfile.vbs", "DataProfile.xsd"}) {
        CTempHives::Write(
            hives.Path(QStringLiteral("install/profiletemplate/") + QString::fromUtf8(name)),
            ReadAll(kSourceDir + QStringLiteral("/install/profiletemplate/") +
                    QString::fromUtf8(name)));
    }
}

const QString kFullProfile = kSourceDir + QStringLiteral("/tests/data/profiles/good/full.xml");

void BM_LoadProfile(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
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

// Unscrambling alone, for the largest profile.
void BM_DecodeProfileFile(benchmark::State& state) {
    const QByteArray bytes = profile_file::Encode(QString::fromUtf8(ReadAll(kFullProfile)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(profile_file::Decode(bytes));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeProfileFile)->Unit(benchmark::kMicrosecond);

// Open (read, unscramble, load) and save (serialise, scramble, write beside, rename) of a profile
// file, as File > Open and File > Save do.
void BM_OpenAndSaveProfileFile(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    const QString path = hives.Path(QStringLiteral("full.vk4"));
    CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(ReadAll(kFullProfile))));
    CProfileDocument document(config, prompt, nullptr);
    const bool save = state.range(0) != 0;
    if (!document.Open(path)) {
        state.SkipWithError("the profile does not open");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(save ? document.SaveTo(path) : document.Open(path));
    }
}
BENCHMARK(BM_OpenAndSaveProfileFile)
    ->ArgName("save")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// The conversions of a write (profile text to image) and of a read (image to profile text) for the
// largest profile: 19 channels, 99 frequencies.
void BM_ProfileToImage(benchmark::State& state) {
    const QString text = QString::fromUtf8(ReadAll(kFullProfile));
    CVirtualCP image;
    const CRadioInfo radio;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CDataAdaptor::XML2VirtualCP(text, image, radio));
    }
}
BENCHMARK(BM_ProfileToImage)->Unit(benchmark::kMicrosecond);

void BM_ImageToProfile(benchmark::State& state) {
    CVirtualCP image;
    CDataAdaptor::XML2VirtualCP(QString::fromUtf8(ReadAll(kFullProfile)), image, CRadioInfo());
    CSilentPrompt prompt;
    QString text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CDataAdaptor::VirtualCP2XML(image, text, prompt));
    }
}
BENCHMARK(BM_ImageToProfile)->Unit(benchmark::kMicrosecond);

// --- Undo history ---
// A step keeps the working document's text; these measure what a step costs on top of the edit,
// what an undo costs, and what 200 steps keep, for the largest template and for the largest
// profile (19 channels, 99 frequencies). Run:
//   build/dev/tests/bench/vesk_bench_profile --benchmark_filter=Undo

const QString kLargestTemplate =
    kSourceDir + QStringLiteral("/install/profiletemplate/CUD41600.vk4");

// Opens the template (range 0) or the largest profile (range 1) into `document`.
bool OpenForUndo(benchmark::State& state, CTempHives& hives, CProfileDocument& document) {
    if (state.range(0) == 0) {
        return document.NewFromTemplate(kLargestTemplate);
    }
    const QString path = hives.Path(QStringLiteral("full.vk4"));
    CTempHives::Write(path, profile_file::Encode(QString::fromUtf8(ReadAll(kFullProfile))));
    return document.Open(path);
}

CEditResult RenameFirstChannel(CProfileDocument& document, int n) {
    return document.Model()
        .RootItem()
        .GetChildByName(QStringLiteral("channels"))
        .GetChildByIndex(0)
        .SetAttributeValue(QStringLiteral("name"), QStringLiteral("N%1").arg(n % 1000));
}

// The state a step keeps: the working document as text.
void BM_UndoSnapshot(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    CProfileDocument document(config, prompt, nullptr);
    if (!OpenForUndo(state, hives, document)) {
        state.SkipWithError("the profile does not open");
        return;
    }
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray text = document.Model().SaveWorkingState();
        bytes = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["state_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_UndoSnapshot)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A channel rename through its rule, as a page makes it, with (range 1) and without (range 0) the
// document recording a step for it; the difference is what the history adds to an edit.
void BM_UndoEditStep(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    CProfileDocument document(config, prompt, nullptr);
    if (!document.NewFromTemplate(kLargestTemplate)) {
        state.SkipWithError("the template does not open");
        return;
    }
    if (state.range(0) == 0) {
        document.Model().Journal().SetObserver(nullptr);
    }
    int n = 0;
    for (auto _ : state) {
        if (!RenameFirstChannel(document, n++).IsAccepted()) {
            state.SkipWithError("the rename was refused");
            return;
        }
    }
}
BENCHMARK(BM_UndoEditStep)->ArgName("history")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One undo and one redo: each restores a state (a parse, a new root item, the script's new view).
void BM_UndoAndRedo(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    CProfileDocument document(config, prompt, nullptr);
    if (!OpenForUndo(state, hives, document) || !RenameFirstChannel(document, 1).IsAccepted()) {
        state.SkipWithError("the profile does not open");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.Undo());
        benchmark::DoNotOptimize(document.Redo());
    }
}
BENCHMARK(BM_UndoAndRedo)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What a full history keeps: 200 steps, as the kept texts and as the heap grew for them.
void BM_UndoHistoryOf200Steps(benchmark::State& state) {
    CTempHives hives;
    Install(hives);
    const CConfiguration config = hives.Config();
    CSilentPrompt prompt;
    for (auto _ : state) {
        CProfileDocument document(config, prompt, nullptr);
        if (!OpenForUndo(state, hives, document)) {
            state.SkipWithError("the profile does not open");
            return;
        }
        const size_t heapBefore = mallinfo2().uordblks;
        for (int n = 0; n < CEditHistory::kDefaultDepth; ++n) {
            RenameFirstChannel(document, n);
        }
        const size_t heapAfter = mallinfo2().uordblks;
        state.counters["steps"] = document.History().StepCount();
        state.counters["state_bytes"] = static_cast<double>(document.History().StateBytes());
        state.counters["heap_bytes"] = static_cast<double>(heapAfter - heapBefore);
    }
}
BENCHMARK(BM_UndoHistoryOf200Steps)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
