// Feeds arbitrary text to the script engine: it must compile or refuse it, and run what compiles
// within its limits, without crashing, hanging or leaking, whatever the text does to the DOM.

#include <cstddef>
#include <cstdint>

#include <libxml/tree.h>

#include "platform/script/dom.h"
#include "platform/script/host.h"

namespace {

class CQuietSite : public vbs::IScriptSite {
public:
    void OnScriptError(const vbs::SScriptDiagnostic&) override {}
    vbs::ObjectPtr GetItemInfo(const QString& name) override {
        return name == u"Document" ? document : nullptr;
    }
    std::shared_ptr<vbs::CDomDocument> document;
};

const char kProfile[] =
    "<VeskProfile xmlns=\"urn:vesk:profile:1\"><factory_setting model=\"AVD81670\"/>"
    "<channels><channel name=\"CH1\" rx_freq_ndx=\"0\"/><channel name=\"CH2\"/></channels>"
    "</VeskProfile>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CQuietSite site;
    QString error;
    site.document = vbs::CDomDocument::Parse(QByteArray(kProfile), &error);
    site.document->SetSelectionNamespaces(
        {{QStringLiteral("dfns"), QStringLiteral("urn:vesk:profile:1")}});
    {
        auto engine = vbs::CScriptEngine::Create(QStringLiteral("VBScript"));
        engine->SetLimits({.maxSteps = 1000, .maxCallDepth = 40});
        engine->SetScriptSite(&site);
        engine->InitNew();
        engine->AddNamedItem(QStringLiteral("Document"));
        if (engine->ParseScriptText(text, QStringLiteral("fuzz.vbs")) &&
            engine->SetScriptState(vbs::ScriptState::Started)) {
            // Call the first procedures as the rule host does: a node and numbers, some ByRef;
            // once with six arguments and once with one.
            vbs::CScriptDispatch* dispatch = engine->GetScriptDispatch();
            const vbs::CVariant root(
                site.document->NodeObject(xmlDocGetRootElement(site.document->Doc())));
            for (int id = 0; id < 4; ++id) {
                for (const std::size_t count : {std::size_t{6}, std::size_t{1}}) {
                    std::vector<vbs::SHostArg> args;
                    for (std::size_t i = 0; i < count; ++i) {
                        args.push_back(
                            {i % 2 ? vbs::CVariant::Long(static_cast<std::int32_t>(i)) : root,
                             i % 3 == 0});
                    }
                    vbs::CVariant result;
                    dispatch->Invoke(id, args, &result);
                }
            }
        }
    }
    site.document->Release();
    return 0;
}
