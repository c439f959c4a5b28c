// The cost of one small rule handler call as a data item makes it: an attribute check and a
// setAttribute on the profile document.

#include <libxml/tree.h>

#include "model/rule_script_host.h"
#include "platform/script/dom.h"
#include "platform/script/parser.h"
#include "platform/user_prompt.h"

#include <benchmark/benchmark.h>

namespace {

class CSilentPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int, const QString&, PromptStyle) override { return PromptAnswer::Ok; }
};

const QString kRules = QStringLiteral(
    "Function SetName(elem, attr, value, ByRef out1, limit, ByRef out2)\n"
    "    If Len(value) > limit Or InStr(value, \"$\") > 0 Then\n"
    "        out1 = 222\n"
    "        SetName = 1\n"
    "    Else\n"
    "        elem.setAttribute attr.nodeName, UCase(value)\n"
    "        SetName = 0\n"
    "    End If\n"
    "End Function\n");

void BM_SmallHandlerCall(benchmark::State& state) {
    QString error;
    auto document = vbs::CDomDocument::Parse(
        "<VeskProfile xmlns=\"urn:vesk:profile:1\"><channel name=\"CH1\"/></VeskProfile>", &error);
    CSilentPrompt prompt;
    CRuleScriptHost host(prompt);
    host.Start(kRules, QStringLiteral("bench.vbs"));
    host.SetDocument(document);
    xmlNodePtr channel = xmlFirstElementChild(xmlDocGetRootElement(document->Doc()));
    auto* name =
        reinterpret_cast<xmlNodePtr>(xmlHasProp(channel, reinterpret_cast<const xmlChar*>("name")));
    const vbs::CVariant value(QStringLiteral("Base 1"));
    qint32 out1 = 0;
    qint32 out2 = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            host.SetVal(QStringLiteral("SetName"), channel, name, value, out1, 8, out2));
    }
    document->Release();
}
BENCHMARK(BM_SmallHandlerCall)->Unit(benchmark::kMicrosecond);

// Parsing must stay linear in the length of the script: a quadratic step would show as a
// complexity far above O(N) here.
void BM_ParseScript(benchmark::State& state) {
    const QString chunk = QStringLiteral(
        "' a comment line\n"
        "For i = 1 To UBound(list) Step 2\n"
        "    If list(i).Text = \"abc\" & i Then total = total + i * 2 Else Foo (i), \"x\"\n"
        "Next\n");
    const QString script = chunk.repeated(static_cast<qsizetype>(state.range(0) / chunk.size()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(vbs::Parse(script, QStringLiteral("bench.vbs")));
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseScript)->RangeMultiplier(4)->Range(1 << 14, 1 << 20)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
