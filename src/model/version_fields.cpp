#include "model/version_fields.h"

#include <QSet>
#include <libxml/tree.h>

#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

namespace {

const QString kCompute = QStringLiteral("CVersionFields::Compute");

// Names come from a settings file; one that is not an XML name would make the query fail or,
// worse, the saved text unreadable.
bool IsXmlName(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    return !bytes.isEmpty() &&
           xmlValidateNCName(reinterpret_cast<const xmlChar*>(bytes.constData()), 0) == 0;
}

void RequireNames(const SVersionEntry& entry, int messageId, const char* operation) {
    if (!IsXmlName(entry.name) || !IsXmlName(entry.node) ||
        (!entry.replaceBy.isEmpty() && !IsXmlName(entry.replaceBy))) {
        throw CVeskCPSException(
            messageId, QString::fromLatin1(operation),
            QStringLiteral("the version entry '%1' on '%2' does not name XML elements and "
                           "attributes")
                .arg(entry.name, entry.node));
    }
}

std::optional<SVersionEntry> EntryOf(xmlNodePtr node) {
    SVersionEntry entry;
    const QString kind = xml::LocalName(node);
    entry.name = xml::Attribute(node, "name").value_or(QString());
    if (kind == QLatin1String("CPField")) {
        entry.kind = SVersionEntry::EKind::Field;
        entry.node = xml::Attribute(node, "nodename").value_or(QString());
        entry.defaultText = xml::Attribute(node, "defaulvalue").value_or(QString());
        entry.replaceBy = xml::Attribute(node, "replaceby").value_or(QString());
    } else if (kind == QLatin1String("CPTag")) {
        entry.kind = SVersionEntry::EKind::Tag;
        entry.node = xml::Attribute(node, "parentNode").value_or(QString());
    } else {
        return std::nullopt;
    }
    return entry;
}

QString Path(const QString& element) {
    return QStringLiteral("//dfns:") + element;
}

}  // namespace

CVersionFields::CVersionFields(std::vector<SVersionEntry> entries)
    : m_entries(std::move(entries)) {}

CVersionFields CVersionFields::Compute(const CXmlDocument& rules, const QString& region,
                                       int version) {
    if (rules.IsNull()) {
        return {};
    }
    CXPathContext xpath(rules, model_msg::kFailedToLoadProfile);
    const QString regionStep = QStringLiteral("dfns:") + region;
    if (!IsXmlName(region)) {
        throw CVeskCPSException(
            model_msg::kFailedToLoadProfile, kCompute,
            QStringLiteral("the region name '%1' is not an XML name").arg(region));
    }
    const QString present = QStringLiteral("/dfns:*[@isExist='1']");
    const QString absent = QStringLiteral("/dfns:*[@isExist='0']");

    // A version the rules do not know (a newer profile, a development build) is taken as it is:
    // guessing its fields could only overwrite values it has.
    const QString own = QStringLiteral("//dfns:CodePlugSetting/dfns:CPVer%1").arg(version);
    if (!xpath.SelectSingle(own)) {
        return {};
    }

    // What the profile's own version has.
    QSet<QString> keep;
    for (const QString& group : {regionStep, QStringLiteral("dfns:RegionCommon")}) {
        for (xmlNodePtr node : xpath.SelectNodes(own + QLatin1Char('/') + group + present)) {
            keep.insert(xml::Attribute(node, "name").value_or(QString()));
        }
    }

    // From the newest version down, the first entry of a name decides; the oldest version is
    // never visited, since nothing is older than it.
    std::vector<SVersionEntry> entries;
    QSet<QString> added;
    const std::vector<xmlNodePtr> versions =
        xpath.SelectNodes(QStringLiteral("//dfns:CodePlugSetting/dfns:*"));
    for (std::size_t index = versions.size(); index-- > 1;) {
        const bool isOwn = static_cast<int>(index + 1) == version;
        for (const QString& group : {regionStep, QStringLiteral("dfns:RegionCommon")}) {
            for (xmlNodePtr node :
                 xpath.SelectNodes(group + (isOwn ? absent : present), versions[index])) {
                const QString name = xml::Attribute(node, "name").value_or(QString());
                if (added.contains(name) || keep.contains(name)) {
                    continue;
                }
                std::optional<SVersionEntry> entry = EntryOf(node);
                if (!entry) {
                    continue;
                }
                added.insert(name);
                entries.push_back(std::move(*entry));
            }
        }
    }
    return CVersionFields(std::move(entries));
}

void CVersionFields::PutOn(CXmlDocument& document) const {
    if (m_entries.empty()) {
        return;
    }
    CXPathContext xpath(document, model_msg::kFailedToLoadProfile);
    for (const SVersionEntry& entry : m_entries) {
        RequireNames(entry, model_msg::kFailedToLoadProfile, "CVersionFields::PutOn");
        const QByteArray name = entry.name.toUtf8();
        for (xmlNodePtr element : xpath.SelectNodes(Path(entry.node))) {
            if (entry.kind == SVersionEntry::EKind::Tag) {
                bool has = false;
                for (xmlNodePtr child = xmlFirstElementChild(element); child && !has;
                     child = xmlNextElementSibling(child)) {
                    has = xmlStrEqual(child->name,
                                      reinterpret_cast<const xmlChar*>(name.constData()));
                }
                if (!has) {
                    xmlNewChild(element, element->ns,
                                reinterpret_cast<const xmlChar*>(name.constData()), nullptr);
                }
                continue;
            }
            QString value = entry.defaultText;
            if (!entry.replaceBy.isEmpty()) {
                const QString replacement =
                    xml::Attribute(element, entry.replaceBy.toUtf8().constData())
                        .value_or(QString());
                if (!replacement.isEmpty()) {
                    value = replacement;
                }
            }
            xml::SetAttribute(element, name.constData(), value);
        }
    }
}

void CVersionFields::TakeOff(CXmlDocument& document) const {
    if (m_entries.empty()) {
        return;
    }
    CXPathContext xpath(document, model_msg::kFailedToSave);
    for (const SVersionEntry& entry : m_entries) {
        RequireNames(entry, model_msg::kFailedToSave, "CVersionFields::TakeOff");
        const QByteArray name = entry.name.toUtf8();
        for (xmlNodePtr element : xpath.SelectNodes(Path(entry.node))) {
            if (entry.kind == SVersionEntry::EKind::Field) {
                xml::RemoveAttribute(element, name.constData());
                continue;
            }
            for (xmlNodePtr child = xmlFirstElementChild(element); child;) {
                xmlNodePtr next = xmlNextElementSibling(child);
                // PutOn appended the tag after the element's last indentation, so removing the
                // tag alone gives the text back as it was.
                if (xmlStrEqual(child->name, reinterpret_cast<const xmlChar*>(name.constData()))) {
                    xmlUnlinkNode(child);
                    xmlFreeNode(child);
                }
                child = next;
            }
        }
    }
}
