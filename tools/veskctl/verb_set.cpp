// veskctl set: attributes of a profile changed under the same rules as a change made by hand.

#include <optional>

#include <QRegularExpression>
#include <QVariant>

#include "cli_prompt.h"
#include "edit_session.h"
#include "verbs.h"

namespace {

// The `number`-th (from 1) child element called `name`; empty when there is none.
CDataItem NamedChild(const CDataItem& parent, const QString& name, int number) {
    int seen = 0;
    const int count = parent.GetChildCount();
    for (int i = 0; i < count; ++i) {
        CDataItem child = parent.GetChildByIndex(i);
        if (child.Name() == name && ++seen == number) {
            return child;
        }
    }
    return CDataItem();
}

// "channels/channel[3]/name": element names from the root, a 1-based position in brackets, the
// attribute last.
struct SAttributePath {
    CDataItem element;
    QString attribute;
};

// Nothing when the profile has no such element or the element no such attribute.
std::optional<SAttributePath> ResolvePath(const CDataItem& root, const QString& path) {
    static const QRegularExpression kStep(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\[([1-9][0-9]{0,4})\\])?$"));
    static const QRegularExpression kAttribute(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QStringList steps = path.split(u'/');
    if (steps.size() < 2 || !kAttribute.match(steps.last()).hasMatch()) {
        return std::nullopt;
    }
    CDataItem element = root;
    for (qsizetype i = 0; i + 1 < steps.size(); ++i) {
        const QRegularExpressionMatch step = kStep.match(steps[i]);
        if (!step.hasMatch()) {
            return std::nullopt;
        }
        const int number = step.captured(2).isEmpty() ? 1 : step.captured(2).toInt();
        element = NamedChild(element, step.captured(1), number);
        if (element.IsEmpty()) {
            return std::nullopt;
        }
    }
    if (!element.HasAttribute(steps.last())) {
        return std::nullopt;
    }
    return SAttributePath{element, steps.last()};
}

// The value typed as the attribute's current value is, so that the rule script compares what the
// pages would hand it. Nothing when the text does not fit that type.
std::optional<QVariant> TypedLike(const QVariant& current, const QString& text) {
    static const QRegularExpression kSigned(QStringLiteral("^[+-]?[0-9]+$"));
    static const QRegularExpression kUnsigned(QStringLiteral("^\\+?[0-9]+$"));
    bool ok = false;
    switch (current.typeId()) {
        case QMetaType::Int: {
            const qint32 number = text.toInt(&ok, 10);
            if (ok && kSigned.match(text).hasMatch()) {
                return QVariant::fromValue<qint32>(number);
            }
            return std::nullopt;
        }
        case QMetaType::UInt: {
            const quint32 number = text.toUInt(&ok, 10);
            if (ok && kUnsigned.match(text).hasMatch()) {
                return QVariant::fromValue<quint32>(number);
            }
            return std::nullopt;
        }
        case QMetaType::Bool:
            if (text == QLatin1String("0") || text == QLatin1String("1")) {
                return QVariant(text == QLatin1String("1"));
            }
            return std::nullopt;
        default:
            return QVariant(text);
    }
}

const char* TypeDescription(const QVariant& current) {
    switch (current.typeId()) {
        case QMetaType::Int:
            return "a whole number";
        case QMetaType::UInt:
            return "a whole number from 0 to 4294967295";
        case QMetaType::Bool:
            return "0 or 1";
        default:
            return "text";
    }
}

}  // namespace

int RunSet(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput | kOptYes, parsed) || parsed.operands.size() < 2) {
        return TellUsage(
            "veskctl set FILE.vk4 PATH=VALUE... [-o OUT.vk4] [--yes]\n"
            "  PATH: element names from the root, a 1-based position in brackets, the "
            "attribute last,\n"
            "        e.g. setting/powerupString, channels/channel[3]/name");
    }
    QList<std::pair<QString, QString>> assignments;
    for (const QString& operand : parsed.operands.mid(1)) {
        const qsizetype equals = operand.indexOf(u'=');
        if (equals <= 0) {
            TellError(QStringLiteral("'%1' is not PATH=VALUE").arg(operand));
            return kExitUsage;
        }
        assignments.append({operand.left(equals), operand.mid(equals + 1)});
    }
    return RunEdit(parsed, [&assignments](CDataItem& root, CCliPrompt& prompt) {
        for (const auto& [path, text] : assignments) {
            const std::optional<SAttributePath> target = ResolvePath(root, path);
            if (!target) {
                TellError(QStringLiteral("the profile has no attribute '%1'").arg(path));
                return kExitUsage;
            }
            const QVariant current = target->element.GetAttributeValue(target->attribute);
            const std::optional<QVariant> value = TypedLike(current, text);
            if (!value) {
                TellError(QStringLiteral("%1 takes %2, not '%3'")
                              .arg(path, QString::fromLatin1(TypeDescription(current)), text));
                return kExitUsage;
            }
            CDataItem element = target->element;
            // Without a rule the value goes into the profile as it is, so the schema has the only
            // say: a value it refuses would make a file that no longer opens.
            if (const std::optional<QString> refusal =
                    element.SchemaRefusal(target->attribute, *value)) {
                TellError(
                    QStringLiteral("%1: '%2' is not allowed here: %3").arg(path, text, *refusal));
                return kExitRefused;
            }
            const int settled = Settle(prompt, [&](EConfirmation confirmation) {
                return element.SetAttributeValue(target->attribute, *value, confirmation);
            });
            if (settled != kExitOk) {
                return settled;
            }
        }
        return kExitOk;
    });
}
