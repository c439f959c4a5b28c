#include "model/profile_diff.h"

#include <QHash>

#include "model/data_item.h"

namespace {

// Attributes holding a frequency in hertz, shown in megahertz as the pages show them.
bool IsFrequency(const QString& name) {
    return name == u"freq" || name == u"start_freq" || name == u"end_freq";
}

QString Shown(const QString& name, const QString& text) {
    bool ok = false;
    const qulonglong hertz = text.toULongLong(&ok);
    if (!IsFrequency(name) || !ok) {
        return text;
    }
    QString megahertz = QString::number(hertz / 1000000) + u'.' +
                        QStringLiteral("%1").arg(hertz % 1000000, 6, 10, QLatin1Char('0'));
    while (megahertz.endsWith(u'0') && megahertz.indexOf(u'.') < megahertz.size() - 5) {
        megahertz.chop(1);
    }
    return megahertz + QStringLiteral(" MHz");
}

class CDiffer {
public:
    std::vector<SProfileDifference> differences;

    void Element(const CDataItem& left, const CDataItem& right, const QString& place) {
        CompareAttributes(left, right, place);
        Children(left, right, place);
    }

private:
    void CompareAttributes(const CDataItem& left, const CDataItem& right, const QString& place) {
        QStringList names = left.AttributeNames();
        for (const QString& name : right.AttributeNames()) {
            if (!names.contains(name)) {
                names.append(name);
            }
        }
        for (const QString& name : names) {
            const std::optional<QString> a = left.AttributeText(name);
            const std::optional<QString> b = right.AttributeText(name);
            if (a != b) {
                differences.push_back({place, name,
                                       a ? std::optional(Shown(name, *a)) : std::nullopt,
                                       b ? std::optional(Shown(name, *b)) : std::nullopt});
            }
        }
    }

    static std::vector<CDataItem> ChildrenOf(const CDataItem& item) {
        std::vector<CDataItem> children;
        const int count = item.IsEmpty() ? 0 : item.GetChildCount();
        for (int i = 0; i < count; ++i) {
            children.push_back(item.GetChildByIndex(i));
        }
        return children;
    }

    // Children pair up by name and, among children of one name, by position; a name that occurs
    // more than once on either side is a list whose records are numbered from 1.
    void Children(const CDataItem& left, const CDataItem& right, const QString& place) {
        const std::vector<CDataItem> a = ChildrenOf(left);
        const std::vector<CDataItem> b = ChildrenOf(right);
        QStringList names;
        QHash<QString, int> countA;
        QHash<QString, int> countB;
        for (const CDataItem& child : a) {
            names.append(child.Name());
            ++countA[child.Name()];
        }
        for (const CDataItem& child : b) {
            names.append(child.Name());
            ++countB[child.Name()];
        }
        names.removeDuplicates();
        // A container whose only content is a list adds nothing a dealer would name.
        const bool plainContainer =
            left.AttributeNames().isEmpty() && right.AttributeNames().isEmpty();
        for (const QString& name : names) {
            const auto nth = [&name](const std::vector<CDataItem>& list, int n) {
                for (const CDataItem& child : list) {
                    if (child.Name() == name && n-- == 0) {
                        return child;
                    }
                }
                return CDataItem();
            };
            const int records = std::max(countA.value(name), countB.value(name));
            const bool numbered = records > 1;
            const QString base = place.isEmpty() || (plainContainer && numbered)
                                     ? name
                                     : place + QStringLiteral(" / ") + name;
            for (int i = 0; i < records; ++i) {
                const QString childPlace = numbered ? base + u' ' + QString::number(i + 1) : base;
                const CDataItem x = nth(a, i);
                const CDataItem y = nth(b, i);
                if (x.IsEmpty() != y.IsEmpty()) {
                    differences.push_back({childPlace, QString(),
                                           x.IsEmpty() ? std::nullopt : std::optional(Summary(x)),
                                           y.IsEmpty() ? std::nullopt : std::optional(Summary(y))});
                    continue;
                }
                Element(x, y, childPlace);
            }
        }
    }

    // A record present on one side, in a few words: its name or frequency where it has one.
    static QString Summary(const CDataItem& item) {
        for (const char* key : {"name", "freq"}) {
            const QString name = QString::fromLatin1(key);
            if (const std::optional<QString> text = item.AttributeText(name)) {
                return Shown(name, *text);
            }
        }
        return QString();
    }
};

}  // namespace

std::vector<SProfileDifference> DiffProfiles(const CDataItem& left, const CDataItem& right) {
    CDiffer differ;
    differ.Element(left, right, QString());
    return std::move(differ.differences);
}

QString DescribeDifference(const SProfileDifference& difference, const QString& leftName,
                           const QString& rightName) {
    const QString where =
        difference.setting.isEmpty()
            ? difference.place
            : (difference.place.isEmpty() ? difference.setting
                                          : difference.place + u' ' + difference.setting);
    if (difference.setting.isEmpty()) {
        const bool inLeft = difference.left.has_value();
        const QString& summary = inLeft ? *difference.left : *difference.right;
        QString line = where + QStringLiteral(": only in ") + (inLeft ? leftName : rightName);
        if (!summary.isEmpty()) {
            line += QStringLiteral(" (") + summary + u')';
        }
        return line;
    }
    const auto value = [](const std::optional<QString>& text) {
        return text ? *text : QStringLiteral("(none)");
    };
    return where + QStringLiteral(": ") + value(difference.left) + QStringLiteral(" -> ") +
           value(difference.right);
}
