#include "model/data_item.h"

#include <array>
#include <limits>
#include <vector>

#include "model/rule_script_host.h"
#include "model/schema_index.h"
#include "platform/script/dom.h"
#include "platform/script/value.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

namespace {

const char kGetChildByName[] = "CDataItem::GetChildByName";
const char kGetAttributeValue[] = "CDataItem::GetAttributeValue";
const char kGetChildCount[] = "CDataItem::GetChildCount";
const char kGetChildByIndex[] = "CDataItem::GetChildByIndex";
const char kSetAttributeValue[] = "CDataItem::SetAttributeValue";
const char kCanAddChild[] = "CDataItem::CanAddChild";
const char kAddNewChild[] = "CDataItem::AddNewChild";
const char kRemoveChildByIndex[] = "CDataItem::RemoveChildByIndex";
const char kCanDeleteChild[] = "CDataItem::CanDeleteChild";
const char kAddFrequency[] = "CDataItem::AddFrequency";
const char kProcessChannelName[] = "CDataItem::ProcessChannelName";
const char kCanDeleteFrequency[] = "CDataItem::CanDeleteFrequency";
const char kSetFreqAttributeValue[] = "CDataItem::SetFreqAttributeValue";
const char kCopyReceiveToTransmit[] = "CDataItem::CopyReceiveToTransmit";
const char kResetSubRegion[] = "CDataItem::ResetSubRegion";

const xmlChar* Xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

bool IsProfileElement(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
           xmlStrEqual(node->ns->href, Xml(kProfileNamespace));
}

// The script sees numbers as the narrowest of its types that holds them, as its own arithmetic
// would produce them; an unsigned value past the signed range only fits a Double.
vbs::CVariant ToScript(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
            return vbs::CVariant(value.toBool());
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return vbs::CVariant::Long(value.toInt());
        case QMetaType::UInt: {
            const quint32 number = value.toUInt();
            if (number <= static_cast<quint32>(std::numeric_limits<qint32>::max())) {
                return vbs::CVariant::Long(static_cast<qint32>(number));
            }
            return vbs::CVariant::Double(static_cast<double>(number));
        }
        case QMetaType::LongLong: {
            const qint64 number = value.toLongLong();
            if (number >= std::numeric_limits<qint32>::min() &&
                number <= std::numeric_limits<qint32>::max()) {
                return vbs::CVariant::Long(static_cast<qint32>(number));
            }
            return vbs::CVariant::Double(static_cast<double>(number));
        }
        case QMetaType::ULongLong: {
            const quint64 number = value.toULongLong();
            if (number <= static_cast<quint64>(std::numeric_limits<qint32>::max())) {
                return vbs::CVariant::Long(static_cast<qint32>(number));
            }
            return vbs::CVariant::Double(static_cast<double>(number));
        }
        case QMetaType::Double:
        case QMetaType::Float:
            return vbs::CVariant::Double(value.toDouble());
        case QMetaType::UnknownType:
            return vbs::CVariant();
        default:
            return vbs::CVariant::String(value.toString());
    }
}

QString TypeName(CSchemaIndex::ValueType type) {
    switch (type) {
        case CSchemaIndex::ValueType::Long:
            return QStringLiteral("long");
        case CSchemaIndex::ValueType::Boolean:
            return QStringLiteral("boolean");
        case CSchemaIndex::ValueType::UnsignedLong:
            return QStringLiteral("unsignedLong");
        case CSchemaIndex::ValueType::Text:
            break;
    }
    return QStringLiteral("string");
}

}  // namespace

CDataItem::CDataItem(xmlNodePtr element, std::shared_ptr<const SDataContext> context)
    : m_node(element), m_context(std::move(context)) {}

void CDataItem::RequireNode(const char* operation) const {
    if (m_node == nullptr) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("the data item holds no element"));
    }
}

void CDataItem::GetChildByName(const QString& name, CDataItem& out) const {
    RequireNode(kGetChildByName);
    const QByteArray wanted = name.toUtf8();
    for (xmlNodePtr child = m_node->children; child != nullptr; child = child->next) {
        if (IsProfileElement(child) && xmlStrEqual(child->name, Xml(wanted.constData()))) {
            out = CDataItem(child, m_context);
            return;
        }
    }
    throw CVeskCPSException(model_msg::kProgrammingError107, QString::fromUtf8(kGetChildByName),
                            QStringLiteral("Name='%1'").arg(name));
}

QVariant CDataItem::GetAttributeValue(const QString& name) const {
    RequireNode(kGetAttributeValue);
    const QByteArray key = name.toUtf8();
    xmlAttrPtr attribute = xmlHasProp(m_node, Xml(key.constData()));
    if (attribute == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kGetAttributeValue),
                                QStringLiteral("Name='%1'").arg(name));
    }
    const QString text = xml::NodeText(reinterpret_cast<const xmlNode*>(attribute));
    const CSchemaIndex::ValueType type = m_context != nullptr && m_context->schema != nullptr
                                             ? m_context->schema->AttributeType(m_node, name)
                                             : CSchemaIndex::ValueType::Text;
    QVariant value;
    switch (type) {
        case CSchemaIndex::ValueType::Long:
            if (const auto number = xml::ParseInt32(text)) {
                value = QVariant::fromValue<qint32>(*number);
            }
            break;
        case CSchemaIndex::ValueType::Boolean:
            if (const auto flag = xml::ParseBool(text)) {
                value = QVariant(*flag);
            }
            break;
        case CSchemaIndex::ValueType::UnsignedLong:
            if (const auto number = xml::ParseUInt32(text)) {
                value = QVariant::fromValue<quint32>(*number);
            }
            break;
        case CSchemaIndex::ValueType::Text:
            value = QVariant(text);
            break;
    }
    if (!value.isValid()) {
        // A validated document cannot get here; a document changed behind the schema's back can.
        throw CVeskCPSException(
            model_msg::kUnknownError, QString::fromUtf8(kGetAttributeValue),
            QStringLiteral("Name='%1' Value='%2' is no %3").arg(name, text, TypeName(type)));
    }
    return value;
}

xmlNodePtr CDataItem::ElementChild(int index) const {
    if (index < 0) {
        return nullptr;
    }
    int seen = 0;
    for (xmlNodePtr child = m_node->children; child != nullptr; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (seen == index) {
            return child;
        }
        ++seen;
    }
    return nullptr;
}

int CDataItem::GetChildCount() const {
    RequireNode(kGetChildCount);
    return static_cast<int>(xmlChildElementCount(m_node));
}

void CDataItem::GetChildByIndex(int index, CDataItem& out) const {
    RequireNode(kGetChildByIndex);
    xmlNodePtr child = ElementChild(index);
    out = child != nullptr ? CDataItem(child, m_context) : CDataItem();
}

bool CDataItem::GetScriptHandler(const xmlNode* node, const QString& key, QString& name) const {
    if (node == nullptr || m_context == nullptr || m_context->schema == nullptr) {
        return false;
    }
    const std::optional<QString> handler = m_context->schema->Handler(node, key);
    if (!handler || handler->isEmpty()) {
        return false;
    }
    name = *handler;
    return true;
}

std::optional<QString> CDataItem::Handler(const xmlNode* node, const QString& key,
                                          const char* operation) const {
    QString name;
    if (!GetScriptHandler(node, key, name)) {
        return std::nullopt;
    }
    // A schema that names a rule must never be bypassed silently because no script runs.
    if (m_context->script == nullptr || !m_context->script->IsStarted()) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("Invoke script function failed\nfunction name=%1: "
                                               "no rule script is running")
                                    .arg(name));
    }
    return name;
}

CRuleScriptHost& CDataItem::Script(const char* operation) const {
    if (m_context == nullptr || m_context->script == nullptr) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("no rule script"));
    }
    return *m_context->script;
}

qint32 CDataItem::SetAttributeValue(const QString& name, const QVariant& value, qint32& out1,
                                    qint32 arg, qint32& out2) {
    out1 = 0;
    out2 = 0;
    RequireNode(kSetAttributeValue);
    const QByteArray key = name.toUtf8();
    xmlAttrPtr attribute = xmlHasProp(m_node, Xml(key.constData()));
    if (attribute == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kSetAttributeValue),
                                QStringLiteral("Name='%1'").arg(name));
    }
    xmlNodePtr attributeNode = reinterpret_cast<xmlNodePtr>(attribute);
    if (const auto handler = Handler(attributeNode, QStringLiteral("SetVal"), kSetAttributeValue)) {
        return Script(kSetAttributeValue)
            .SetVal(*handler, m_node, attributeNode, ToScript(value), out1, arg, out2);
    }

    QString text = value.toString();
    if (value.typeId() == QMetaType::Bool) {
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (m_context != nullptr && m_context->schema != nullptr &&
               m_context->schema->AttributeType(m_node, name) == CSchemaIndex::ValueType::Boolean) {
        // "true" typed into a flag must still be stored in the one form the radio mapping reads.
        if (const auto flag = xml::ParseBool(text)) {
            text = *flag ? QStringLiteral("1") : QStringLiteral("0");
        }
    }
    const char* namespaceUri =
        attribute->ns != nullptr ? reinterpret_cast<const char*>(attribute->ns->href) : nullptr;
    xml::SetAttribute(m_node, key.constData(), text, namespaceUri);
    return 0;
}

bool CDataItem::CanAddChild() const {
    RequireNode(kCanAddChild);
    const auto handler = Handler(m_node, QStringLiteral("CanAddChild"), kCanAddChild);
    return handler && Script(kCanAddChild).CanAddChild(*handler, m_node);
}

bool CDataItem::AddNewChild(CDataItem& out) {
    RequireNode(kAddNewChild);
    out = CDataItem();
    const auto handler = Handler(m_node, QStringLiteral("OnAddNew"), kAddNewChild);
    if (!handler) {
        return false;
    }
    xmlNodePtr child = Script(kAddNewChild).OnAddNew(*handler, m_node);
    if (child == nullptr) {
        return false;
    }
    out = CDataItem(child, m_context);
    return true;
}

qint32 CDataItem::RemoveChildByIndex(int index, qint32& out1, qint32 arg, qint32& out2) {
    out1 = 0;
    out2 = 0;
    RequireNode(kRemoveChildByIndex);
    xmlNodePtr child = ElementChild(index);
    if (child == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kRemoveChildByIndex),
                                QStringLiteral("Index='%1'").arg(index));
    }
    if (const auto handler = Handler(child, QStringLiteral("OnDelete"), kRemoveChildByIndex)) {
        return Script(kRemoveChildByIndex).OnDelete(*handler, child, index, out1, arg, out2);
    }

    // While the script's view of the document lives, it may hold an object for this very node;
    // removing through that view keeps the node alive until the view is released, so no script
    // object is ever left pointing at freed memory.
    const std::shared_ptr<vbs::CDomDocument> view =
        m_context != nullptr && m_context->script != nullptr ? m_context->script->Document()
                                                             : nullptr;
    if (view != nullptr && view->Doc() == m_node->doc) {
        try {
            const vbs::CVariant argument(view->NodeObject(child));
            view->NodeObject(m_node)->Invoke(QStringLiteral("removeChild"),
                                             std::span<const vbs::CVariant>(&argument, 1),
                                             vbs::InvokeKind::Method);
        } catch (const CVeskCPSException&) {
            throw;
        } catch (const std::exception& error) {
            throw CVeskCPSException(
                model_msg::kUnknownError, QString::fromUtf8(kRemoveChildByIndex),
                QStringLiteral("Index='%1': %2").arg(index).arg(QString::fromUtf8(error.what())));
        }
        return 0;
    }
    xmlUnlinkNode(child);
    xmlFreeNode(child);
    return 0;
}

bool CDataItem::CanDeleteChild() const {
    RequireNode(kCanDeleteChild);
    const auto handler = Handler(m_node, QStringLiteral("CanDeleteChild"), kCanDeleteChild);
    return handler && Script(kCanDeleteChild).CanDeleteChild(*handler, m_node);
}

bool CDataItem::AddFrequency(quint32 a, quint32 b, quint32 c, quint32 d, qint32& out1,
                             qint32& out2) {
    out1 = 0;
    out2 = 0;
    RequireNode(kAddFrequency);
    const auto handler = Handler(m_node, QStringLiteral("OnAddNewFrequency"), kAddFrequency);
    if (!handler) {
        return false;
    }
    return Script(kAddFrequency).OnAddNewFrequency(*handler, m_node, {a, b, c, d}, out1, out2) == 0;
}

bool CDataItem::CanDeleteFrequency(quint32 index) const {
    RequireNode(kCanDeleteFrequency);
    const auto handler = Handler(m_node, QStringLiteral("CanDeleteChild"), kCanDeleteFrequency);
    return handler && Script(kCanDeleteFrequency).CanDeleteFrequency(*handler, m_node, index);
}

qint32 CDataItem::SetFreqAttributeValue(const QVariant& v1, const QVariant& v2, const QVariant& v3,
                                        const QVariant& v4, const QVariant& v5, qint32& out1,
                                        qint32& out2, qint32 arg) {
    out1 = 0;
    out2 = 0;
    RequireNode(kSetFreqAttributeValue);
    const auto handler = Handler(m_node, QStringLiteral("SetFreqAttr"), kSetFreqAttributeValue);
    if (!handler) {
        return 1;
    }
    const std::array<vbs::CVariant, 5> values = {ToScript(v1), ToScript(v2), ToScript(v3),
                                                 ToScript(v4), ToScript(v5)};
    return Script(kSetFreqAttributeValue).SetFreqAttr(*handler, m_node, values, out1, out2, arg);
}

void CDataItem::ProcessChannelName(QByteArray& profileText) {
    CXmlDocument document;
    try {
        document =
            CXmlDocument::Parse(profileText, QStringLiteral("profile"), model_msg::kInvalidProfile);
    } catch (CVeskCPSException& error) {
        error.AddContext(QString::fromUtf8(kProcessChannelName),
                         QStringLiteral("the profile text does not parse"));
        throw;
    }
    CXPathContext xpath(document);
    xmlNodePtr channels = xpath.SelectSingle(QStringLiteral("//dfns:channels"));
    if (channels == nullptr) {
        throw CVeskCPSException(model_msg::kInvalidProfile, QString::fromUtf8(kProcessChannelName),
                                QStringLiteral("the profile has no channels element"));
    }
    std::vector<xmlNodePtr> list;
    for (xmlNodePtr child = channels->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            list.push_back(child);
        }
    }
    const auto taken = [&list](const QString& name) {
        for (xmlNodePtr channel : list) {
            if (xml::Attribute(channel, "name").value_or(QString()) == name) {
                return true;
            }
        }
        return false;
    };
    quint32 n = 1;
    for (xmlNodePtr channel : list) {
        if (!xml::Attribute(channel, "name").value_or(QString()).isEmpty()) {
            continue;
        }
        QString name = QStringLiteral("CHAN %1").arg(n);
        while (taken(name)) {
            ++n;
            name = QStringLiteral("CHAN %1").arg(n);
        }
        xml::SetAttribute(channel, "name", name);
        ++n;
    }
    profileText = document.ToXml();
}

void CDataItem::CopyReceiveToTransmit() {
    RequireNode(kCopyReceiveToTransmit);
    CXPathContext xpath(m_node->doc);
    static const std::array<std::pair<const char*, const char*>, 3> kPairs = {{
        {"rx_code", "tx_code"},
        {"rx_freq_ndx", "tx_freq_ndx"},
        {"rx_bw", "tx_bw"},
    }};
    for (xmlNodePtr node : xpath.SelectNodes(QStringLiteral("//dfns:channels/*"))) {
        CDataItem channel(node, m_context);
        for (const auto& [from, to] : kPairs) {
            qint32 out1 = 0;
            qint32 out2 = 0;
            channel.SetAttributeValue(QString::fromUtf8(to),
                                      channel.GetAttributeValue(QString::fromUtf8(from)), out1, 0,
                                      out2);
        }
    }
}

void CDataItem::ResetSubRegion() {
    RequireNode(kResetSubRegion);
    CXPathContext xpath(m_node->doc);
    xmlNodePtr factory = xpath.SelectSingle(QStringLiteral("//dfns:factory_setting"));
    if (factory == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError107, QString::fromUtf8(kResetSubRegion),
                                QStringLiteral("Name='factory_setting'"));
    }
    CDataItem item(factory, m_context);
    qint32 out1 = 0;
    qint32 out2 = 0;
    item.SetAttributeValue(QStringLiteral("sub_region"), QVariant::fromValue<qint32>(0), out1, 0,
                           out2);
}
