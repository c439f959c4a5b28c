#include "platform/script/script_file.h"

#include <QFile>
#include <libxml/tree.h>

#include "platform/script/dom.h"
#include "platform/script/host.h"

namespace vbs {

namespace {

// WScript.Echo: its arguments joined by blanks, one line per call.
class CWScript : public IScriptObject {
public:
    explicit CWScript(const std::function<void(const QString&)>& print) : m_print(print) {}

    QString TypeName() const override { return QStringLiteral("WScript"); }

    CVariant Invoke(const QString& name, std::span<const CVariant> args, InvokeKind kind) override {
        if (name.compare(QLatin1String("Echo"), Qt::CaseInsensitive) == 0 &&
            kind != InvokeKind::Let && kind != InvokeKind::Set) {
            QStringList parts;
            for (const CVariant& arg : args) {
                const CVariant value = DefaultValue(arg);
                parts << (value.IsNull() ? QStringLiteral("Null") : value.ToString());
            }
            m_print(parts.join(u' '));
            return {};
        }
        throw CScriptError(err::kNoSuchMember, ErrorDescription(err::kNoSuchMember) +
                                                   QStringLiteral(": '") + name + u'\'');
    }

private:
    const std::function<void(const QString&)>& m_print;
};

class CCollectingSite : public IScriptSite {
public:
    void OnScriptError(const SScriptDiagnostic& error) override { errors.push_back(error); }
    ObjectPtr GetItemInfo(const QString& name) override {
        if (name == u"WScript") {
            return wscript;
        }
        if (name == u"Document") {
            return document;
        }
        return nullptr;
    }

    std::vector<SScriptDiagnostic> errors;
    ObjectPtr wscript;
    std::shared_ptr<CDomDocument> document;
};

QString ReadText(const QString& path, QString* failure) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *failure = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

std::optional<CVariant> ParseArgument(const QString& text, CDomDocument* document,
                                      QString* failure) {
    if (text.startsWith(QLatin1String("xpath:"))) {
        if (!document) {
            *failure = QStringLiteral("argument '%1' needs --xml").arg(text);
            return std::nullopt;
        }
        const CVariant query(text.mid(6));
        try {
            CVariant node =
                document->Invoke(QStringLiteral("selectSingleNode"),
                                 std::span<const CVariant>(&query, 1), InvokeKind::Method);
            if (node.IsNothing()) {
                *failure = QStringLiteral("argument '%1' selects no node").arg(text);
                return std::nullopt;
            }
            return node;
        } catch (const CScriptError& error) {
            *failure = QStringLiteral("argument '%1': %2").arg(text, error.Description());
            return std::nullopt;
        }
    }
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return CVariant(true);
    }
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return CVariant(false);
    }
    if (text.compare(QLatin1String("nothing"), Qt::CaseInsensitive) == 0) {
        return CVariant::Nothing();
    }
    bool whole = false;
    const qlonglong integer = text.toLongLong(&whole);
    if (whole) {
        return CVariant::Number(integer);
    }
    bool real = false;
    const double number = text.toDouble(&real);
    if (real) {
        return CVariant::Double(number);
    }
    return CVariant(text);
}

}  // namespace

QString DescribeValue(const CVariant& value) {
    if (value.IsEmpty()) {
        return QStringLiteral("Empty");
    }
    if (value.IsNull()) {
        return QStringLiteral("Null");
    }
    if (value.IsNothing()) {
        return QStringLiteral("Nothing");
    }
    if (value.IsObject()) {
        return u'[' + value.AsObject()->TypeName() + u']';
    }
    if (value.IsString()) {
        return u'"' + value.AsString() + u'"';
    }
    if (value.IsArray()) {
        QStringList items;
        for (const CVariant& item : value.AsArray()->Items()) {
            items << DescribeValue(item);
        }
        return u'(' + items.join(QStringLiteral(", ")) + u')';
    }
    return value.ToString();
}

SScriptFileResult RunScriptFile(const SScriptFileRun& run,
                                const std::function<void(const QString&)>& print) {
    SScriptFileResult result;
    const QString text = ReadText(run.scriptPath, &result.failure);
    if (!result.failure.isEmpty()) {
        return result;
    }

    CCollectingSite site;
    site.wscript = std::make_shared<CWScript>(print);
    if (!run.xmlPath.isEmpty()) {
        QFile xml(run.xmlPath);
        if (!xml.open(QIODevice::ReadOnly)) {
            result.failure = run.xmlPath + QStringLiteral(": ") + xml.errorString();
            return result;
        }
        QString error;
        site.document = CDomDocument::Parse(xml.readAll(), &error);
        if (!site.document) {
            result.failure = run.xmlPath + QStringLiteral(":") + error;
            return result;
        }
        // Queries use "dfns:" for the namespace of the document element.
        if (xmlNodePtr root = xmlDocGetRootElement(site.document->Doc()); root && root->ns) {
            site.document->SetSelectionNamespaces(
                {{QStringLiteral("dfns"),
                  QString::fromUtf8(reinterpret_cast<const char*>(root->ns->href))}});
        }
    }

    std::unique_ptr<CScriptEngine> engine = CScriptEngine::Create(QStringLiteral("VBScript"));
    engine->SetLimits(run.limits);
    engine->SetScriptSite(&site);
    engine->InitNew();
    engine->AddNamedItem(QStringLiteral("WScript"));
    if (site.document) {
        engine->AddNamedItem(QStringLiteral("Document"));
    }
    const QString fileName = run.scriptPath.section(u'/', -1);
    if (!engine->ParseScriptText(text, fileName) || !engine->SetScriptState(ScriptState::Started)) {
        result.errors = site.errors;
        if (site.document) {
            site.document->Release();
        }
        return result;
    }

    result.ok = true;
    if (!run.callName.isEmpty()) {
        CScriptDispatch* dispatch = engine->GetScriptDispatch();
        const std::optional<int> id = dispatch->GetIDsOfNames(run.callName);
        std::vector<SHostArg> args;
        for (const QString& argText : run.callArgs) {
            const bool byRef = argText.startsWith(u'&');
            std::optional<CVariant> value = ParseArgument(byRef ? argText.mid(1) : argText,
                                                          site.document.get(), &result.failure);
            if (!value) {
                result.ok = false;
                break;
            }
            args.push_back({*std::move(value), byRef});
        }
        if (result.ok && !id) {
            result.failure = QStringLiteral("no procedure '%1' in %2").arg(run.callName, fileName);
            result.ok = false;
        }
        CVariant value;
        if (result.ok && !dispatch->Invoke(*id, args, &value)) {
            result.errors = site.errors;
            result.ok = false;
        }
        if (result.ok) {
            print(QStringLiteral("result: ") + DescribeValue(value));
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (args[i].byRef) {
                    print(QStringLiteral("byref %1: %2")
                              .arg(i + 1)
                              .arg(DescribeValue(args[i].value)));
                }
            }
        }
    }
    if (site.document) {
        site.document->Release();
    }
    return result;
}

}  // namespace vbs
