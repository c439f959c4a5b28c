#include "model/data_item.h"

#include <array>
#include <limits>
#include <vector>

#include "model/profile_checks.h"
#include "model/profile_node_access.h"
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
const char kHasAttribute[] = "CDataItem::HasAttribute";
const char kAttributeNames[] = "CDataItem::AttributeNames";
const char kAttributeText[] = "CDataItem::AttributeText";
const char kGetScriptHandler[] = "CDataItem::GetScriptHandler";
const char kSchemaRefusal[] = "CDataItem::SchemaRefusal";

const xmlChar* Xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

xmlNodePtr NodeOf(const CProfileNode& node) {
    return CProfileNodeAccess::Xml(node);
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

int ElementIndex(const xmlNode* node) {
    int index = 0;
    for (const xmlNode* sibling = node->prev; sibling != nullptr; sibling = sibling->prev) {
        if (sibling->type == XML_ELEMENT_NODE) {
            ++index;
        }
    }
    return index;
}

// Where a change on `element` happened: the top-level element it lies in, and the entry of that
// element it lies in. A change on the top-level element itself concerns its child `childIndex`
// (the one added, deleted or edited), when there is one.
SEditPlace PlaceOf(const xmlNode* element, int childIndex = -1) {
    SEditPlace place;
    const xmlNode* root = xmlDocGetRootElement(element->doc);
    if (element == root) {
        return place;
    }
    const xmlNode* entry = nullptr;
    const xmlNode* section = element;
    while (section->parent != nullptr && section->parent != root &&
           section->parent->type == XML_ELEMENT_NODE) {
        entry = section;
        section = section->parent;
    }
    place.section = QString::fromUtf8(reinterpret_cast<const char*>(section->name));
    place.index = entry != nullptr ? ElementIndex(entry) : childIndex;
    return place;
}

SEditChange Change(SEditChange::EKind kind, const xmlNode* element, SEditPlace place,
                   const QString& attribute = QString()) {
    SEditChange change;
    change.kind = kind;
    change.place = std::move(place);
    change.element = QString::fromUtf8(reinterpret_cast<const char*>(element->name));
    change.attribute = attribute;
    return change;
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

CDataItem::CDataItem(CProfileNode element, std::shared_ptr<const SDataContext> context)
    : m_node(element), m_context(std::move(context)) {}

void CDataItem::RequireCurrent(const char* operation) const {
    if (m_context != nullptr && m_context->retired) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("the data item belongs to a state of the profile "
                                               "that was replaced; fetch it again from the root"));
    }
}

CEditJournal* CDataItem::Journal() const {
    return m_context != nullptr ? m_context->journal : nullptr;
}

void CDataItem::RequireNode(const char* operation) const {
    RequireCurrent(operation);
    if (m_node.IsNull()) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("the data item holds no element"));
    }
}

CDataItem CDataItem::GetChildByName(const QString& name) const {
    RequireNode(kGetChildByName);
    const QByteArray wanted = name.toUtf8();
    for (xmlNodePtr child = NodeOf(m_node)->children; child != nullptr; child = child->next) {
        if (IsProfileElement(child) && xmlStrEqual(child->name, Xml(wanted.constData()))) {
            return CDataItem(CProfileNodeAccess::Wrap(child), m_context);
        }
    }
    throw CVeskCPSException(model_msg::kProgrammingError107, QString::fromUtf8(kGetChildByName),
                            QStringLiteral("Name='%1'").arg(name));
}

QVariant CDataItem::GetAttributeValue(const QString& name) const {
    RequireNode(kGetAttributeValue);
    const QByteArray key = name.toUtf8();
    xmlNodePtr element = NodeOf(m_node);
    xmlAttrPtr attribute = xmlHasProp(element, Xml(key.constData()));
    if (attribute == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kGetAttributeValue),
                                QStringLiteral("Name='%1'").arg(name));
    }
    const QString text = xml::NodeText(reinterpret_cast<const xmlNode*>(attribute));
    const CSchemaIndex::ValueType type = m_context != nullptr && m_context->schema != nullptr
                                             ? m_context->schema->AttributeType(element, name)
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

bool CDataItem::HasAttribute(const QString& name) const {
    RequireCurrent(kHasAttribute);
    const QByteArray key = name.toUtf8();
    return !m_node.IsNull() && xmlHasProp(NodeOf(m_node), Xml(key.constData())) != nullptr;
}

QStringList CDataItem::AttributeNames() const {
    RequireCurrent(kAttributeNames);
    QStringList names;
    if (m_node.IsNull()) {
        return names;
    }
    for (xmlAttrPtr attribute = NodeOf(m_node)->properties; attribute != nullptr;
         attribute = attribute->next) {
        names.append(QString::fromUtf8(reinterpret_cast<const char*>(attribute->name)));
    }
    return names;
}

std::optional<QString> CDataItem::AttributeText(const QString& name) const {
    RequireCurrent(kAttributeText);
    if (m_node.IsNull()) {
        return std::nullopt;
    }
    return xml::Attribute(NodeOf(m_node), name.toUtf8().constData());
}

void CDataItem::KeepFrequencyCount() const {
    xmlNodePtr element = NodeOf(m_node);
    xmlNodePtr root = xmlDocGetRootElement(element->doc);
    if (!IsProfileElement(element) || element->parent != root ||
        !xmlStrEqual(element->name, Xml("frequencies"))) {
        return;
    }
    profile_checks::CorrectFrequencyCount(CDataItem(CProfileNodeAccess::Wrap(root), m_context));
}

CProfileNode CDataItem::ElementChild(int index) const {
    if (index < 0) {
        return CProfileNode();
    }
    int seen = 0;
    for (xmlNodePtr child = NodeOf(m_node)->children; child != nullptr; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) {
            continue;
        }
        if (seen == index) {
            return CProfileNodeAccess::Wrap(child);
        }
        ++seen;
    }
    return CProfileNode();
}

int CDataItem::GetChildCount() const {
    RequireNode(kGetChildCount);
    return static_cast<int>(xmlChildElementCount(NodeOf(m_node)));
}

CDataItem CDataItem::GetChildByIndex(int index) const {
    RequireNode(kGetChildByIndex);
    const CProfileNode child = ElementChild(index);
    return child.IsNull() ? CDataItem() : CDataItem(child, m_context);
}

std::optional<QString> CDataItem::GetScriptHandler(const CProfileNode& node,
                                                   const QString& key) const {
    RequireCurrent(kGetScriptHandler);
    if (node.IsNull() || m_context == nullptr || m_context->schema == nullptr) {
        return std::nullopt;
    }
    std::optional<QString> handler = m_context->schema->Handler(NodeOf(node), key);
    if (!handler || handler->isEmpty()) {
        return std::nullopt;
    }
    return handler;
}

std::optional<QString> CDataItem::Handler(const CProfileNode& node, const QString& key,
                                          const char* operation) const {
    std::optional<QString> name = GetScriptHandler(node, key);
    if (!name) {
        return std::nullopt;
    }
    // A schema that names a rule must never be bypassed silently because no script runs.
    if (m_context->script == nullptr || !m_context->script->IsStarted()) {
        throw CVeskCPSException(model_msg::kUnknownError, QString::fromUtf8(operation),
                                QStringLiteral("Invoke script function failed\nfunction name=%1: "
                                               "no rule script is running")
                                    .arg(*name));
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

std::optional<QString> CDataItem::SchemaRefusal(const QString& name, const QVariant& value) const {
    RequireCurrent(kSchemaRefusal);
    if (m_node.IsNull() || m_context == nullptr || m_context->schema == nullptr) {
        return std::nullopt;
    }
    xmlNodePtr element = NodeOf(m_node);
    const QByteArray key = name.toUtf8();
    const xmlAttrPtr attribute = xmlHasProp(element, Xml(key.constData()));
    if (attribute != nullptr &&
        GetScriptHandler(CProfileNodeAccess::Wrap(attribute), QStringLiteral("SetVal"))) {
        return std::nullopt;
    }
    // The text SetAttributeValue writes when no handler takes the value.
    QString text = value.toString();
    if (value.typeId() == QMetaType::Bool) {
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (m_context->schema->AttributeType(element, name) ==
               CSchemaIndex::ValueType::Boolean) {
        if (const auto flag = xml::ParseBool(text)) {
            text = *flag ? QStringLiteral("1") : QStringLiteral("0");
        }
    }
    return m_context->schema->CheckAttributeValue(element, name, text);
}

CEditResult CDataItem::SetAttributeValue(const QString& name, const QVariant& value,
                                         EConfirmation confirmation) {
    RequireNode(kSetAttributeValue);
    CEditJournal::CScope scope(Journal());
    const QByteArray key = name.toUtf8();
    xmlNodePtr element = NodeOf(m_node);
    xmlAttrPtr attribute = xmlHasProp(element, Xml(key.constData()));
    if (attribute == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kSetAttributeValue),
                                QStringLiteral("Name='%1'").arg(name));
    }
    xmlNodePtr attributeNode = reinterpret_cast<xmlNodePtr>(attribute);
    const SEditChange change = Change(
        name == QLatin1String("name") ? SEditChange::EKind::Rename : SEditChange::EKind::Attribute,
        element, PlaceOf(element), name);
    if (const auto handler = Handler(CProfileNodeAccess::Wrap(attribute), QStringLiteral("SetVal"),
                                     kSetAttributeValue)) {
        qint32 messageId = 0;
        qint32 style = 0;
        const qint32 outcome = Script(kSetAttributeValue)
                                   .SetVal(*handler, element, attributeNode, ToScript(value),
                                           messageId, static_cast<qint32>(confirmation), style);
        const CEditResult result = CEditResult::FromScript(outcome, messageId, style);
        if (result.IsAccepted()) {
            scope.Accept(change);
        }
        return result;
    }

    QString text = value.toString();
    if (value.typeId() == QMetaType::Bool) {
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    } else if (m_context != nullptr && m_context->schema != nullptr &&
               m_context->schema->AttributeType(element, name) ==
                   CSchemaIndex::ValueType::Boolean) {
        // "true" typed into a flag must still be stored in the one form the radio mapping reads.
        if (const auto flag = xml::ParseBool(text)) {
            text = *flag ? QStringLiteral("1") : QStringLiteral("0");
        }
    }
    const char* namespaceUri =
        attribute->ns != nullptr ? reinterpret_cast<const char*>(attribute->ns->href) : nullptr;
    xml::SetAttribute(element, key.constData(), text, namespaceUri);
    scope.Accept(change);
    return CEditResult::Accepted();
}

bool CDataItem::CanAddChild() const {
    RequireNode(kCanAddChild);
    const auto handler = Handler(m_node, QStringLiteral("CanAddChild"), kCanAddChild);
    return handler && Script(kCanAddChild).CanAddChild(*handler, NodeOf(m_node));
}

CDataItem CDataItem::AddNewChild() {
    RequireNode(kAddNewChild);
    CEditJournal::CScope scope(Journal());
    const auto handler = Handler(m_node, QStringLiteral("OnAddNew"), kAddNewChild);
    if (!handler) {
        return CDataItem();
    }
    xmlNodePtr child = Script(kAddNewChild).OnAddNew(*handler, NodeOf(m_node));
    if (child == nullptr) {
        return CDataItem();
    }
    scope.Accept(Change(SEditChange::EKind::ChildAdded, child,
                        PlaceOf(NodeOf(m_node), ElementIndex(child))));
    return CDataItem(CProfileNodeAccess::Wrap(child), m_context);
}

CEditResult CDataItem::RemoveChildByIndex(int index, EConfirmation confirmation) {
    RequireNode(kRemoveChildByIndex);
    CEditJournal::CScope scope(Journal());
    const CProfileNode childNode = ElementChild(index);
    if (childNode.IsNull()) {
        throw CVeskCPSException(model_msg::kProgrammingError108,
                                QString::fromUtf8(kRemoveChildByIndex),
                                QStringLiteral("Index='%1'").arg(index));
    }
    xmlNodePtr element = NodeOf(m_node);
    xmlNodePtr child = NodeOf(childNode);
    const SEditChange change =
        Change(SEditChange::EKind::ChildRemoved, child, PlaceOf(element, index));
    if (const auto handler = Handler(childNode, QStringLiteral("OnDelete"), kRemoveChildByIndex)) {
        qint32 messageId = 0;
        qint32 style = 0;
        const qint32 outcome = Script(kRemoveChildByIndex)
                                   .OnDelete(*handler, child, index, messageId,
                                             static_cast<qint32>(confirmation), style);
        const CEditResult result = CEditResult::FromScript(outcome, messageId, style);
        if (result.IsAccepted()) {
            KeepFrequencyCount();
            scope.Accept(change);
        }
        return result;
    }

    // While the script's view of the document lives, it may hold an object for this very node;
    // removing through that view keeps the node alive until the view is released, so no script
    // object is ever left pointing at freed memory.
    const std::shared_ptr<vbs::CDomDocument> view =
        m_context != nullptr && m_context->script != nullptr ? m_context->script->Document()
                                                             : nullptr;
    if (view != nullptr && view->Doc() == element->doc) {
        try {
            const vbs::CVariant argument(view->NodeObject(child));
            view->NodeObject(element)->Invoke(QStringLiteral("removeChild"),
                                              std::span<const vbs::CVariant>(&argument, 1),
                                              vbs::InvokeKind::Method);
        } catch (const CVeskCPSException&) {
            throw;
        } catch (const std::exception& error) {
            throw CVeskCPSException(
                model_msg::kUnknownError, QString::fromUtf8(kRemoveChildByIndex),
                QStringLiteral("Index='%1': %2").arg(index).arg(QString::fromUtf8(error.what())));
        }
        KeepFrequencyCount();
        scope.Accept(change);
        return CEditResult::Accepted();
    }
    xmlUnlinkNode(child);
    xmlFreeNode(child);
    KeepFrequencyCount();
    scope.Accept(change);
    return CEditResult::Accepted();
}

bool CDataItem::CanDeleteChild() const {
    RequireNode(kCanDeleteChild);
    const auto handler = Handler(m_node, QStringLiteral("CanDeleteChild"), kCanDeleteChild);
    return handler && Script(kCanDeleteChild).CanDeleteChild(*handler, NodeOf(m_node));
}

CEditResult CDataItem::AddFrequency(const SFrequencyEntry& entry) {
    RequireNode(kAddFrequency);
    CEditJournal::CScope scope(Journal());
    const auto handler = Handler(m_node, QStringLiteral("OnAddNewFrequency"), kAddFrequency);
    if (!handler) {
        return CEditResult::Refused();
    }
    qint32 messageId = 0;
    qint32 style = 0;
    const qint32 outcome =
        Script(kAddFrequency)
            .OnAddNewFrequency(*handler, NodeOf(m_node),
                               {entry.hertz, entry.bandwidth, entry.power, entry.compander},
                               messageId, style);
    // Anything but 0 is a refusal here: adding asks no questions.
    const CEditResult result = CEditResult::FromScript(outcome == 0 ? 0 : 1, messageId, style);
    if (result.IsAccepted()) {
        KeepFrequencyCount();
        const int added = GetChildCount() - 1;
        const CProfileNode addedNode = ElementChild(added);
        scope.Accept(Change(SEditChange::EKind::FrequencyAdded,
                            addedNode.IsNull() ? NodeOf(m_node) : NodeOf(addedNode),
                            PlaceOf(NodeOf(m_node), added)));
    }
    return result;
}

bool CDataItem::CanDeleteFrequency(quint32 index) const {
    RequireNode(kCanDeleteFrequency);
    const auto handler = Handler(m_node, QStringLiteral("CanDeleteChild"), kCanDeleteFrequency);
    return handler &&
           Script(kCanDeleteFrequency).CanDeleteFrequency(*handler, NodeOf(m_node), index);
}

CEditResult CDataItem::SetFreqAttributeValue(quint32 index, const SFrequencyEntry& entry,
                                             EConfirmation confirmation) {
    RequireNode(kSetFreqAttributeValue);
    CEditJournal::CScope scope(Journal());
    const auto handler = Handler(m_node, QStringLiteral("SetFreqAttr"), kSetFreqAttributeValue);
    if (!handler) {
        return CEditResult::Refused();
    }
    const std::array<vbs::CVariant, 5> values = {
        ToScript(QVariant::fromValue(index)), ToScript(QVariant::fromValue(entry.hertz)),
        ToScript(QVariant::fromValue(entry.bandwidth)), ToScript(QVariant::fromValue(entry.power)),
        ToScript(QVariant::fromValue(entry.compander))};
    qint32 messageId = 0;
    qint32 style = 0;
    const qint32 outcome = Script(kSetFreqAttributeValue)
                               .SetFreqAttr(*handler, NodeOf(m_node), values, messageId, style,
                                            static_cast<qint32>(confirmation));
    const CEditResult result = CEditResult::FromScript(outcome, messageId, style);
    if (result.IsAccepted()) {
        const CProfileNode edited = ElementChild(static_cast<int>(index));
        scope.Accept(Change(SEditChange::EKind::FrequencyEdited,
                            edited.IsNull() ? NodeOf(m_node) : NodeOf(edited),
                            PlaceOf(NodeOf(m_node), static_cast<int>(index))));
    }
    return result;
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
    CEditJournal::CScope scope(Journal());
    CXPathContext xpath(NodeOf(m_node)->doc);
    static const std::array<std::pair<const char*, const char*>, 3> kPairs = {{
        {"rx_code", "tx_code"},
        {"rx_freq_ndx", "tx_freq_ndx"},
        {"rx_bw", "tx_bw"},
    }};
    for (xmlNodePtr node : xpath.SelectNodes(QStringLiteral("//dfns:channels/*"))) {
        CDataItem channel(CProfileNodeAccess::Wrap(node), m_context);
        for (const auto& [from, to] : kPairs) {
            channel.SetAttributeValue(QString::fromUtf8(to),
                                      channel.GetAttributeValue(QString::fromUtf8(from)));
        }
    }
    if (xmlNodePtr channels = xpath.SelectSingle(QStringLiteral("//dfns:channels"))) {
        scope.Accept(Change(SEditChange::EKind::Attribute, channels, PlaceOf(channels),
                            QStringLiteral("tx_freq_ndx")));
    }
}

void CDataItem::ResetSubRegion() {
    RequireNode(kResetSubRegion);
    CXPathContext xpath(NodeOf(m_node)->doc);
    xmlNodePtr factory = xpath.SelectSingle(QStringLiteral("//dfns:factory_setting"));
    if (factory == nullptr) {
        throw CVeskCPSException(model_msg::kProgrammingError107, QString::fromUtf8(kResetSubRegion),
                                QStringLiteral("Name='factory_setting'"));
    }
    CEditJournal::CScope scope(Journal());
    CDataItem item(CProfileNodeAccess::Wrap(factory), m_context);
    item.SetAttributeValue(QStringLiteral("sub_region"), QVariant::fromValue<qint32>(0));
    scope.Accept(Change(SEditChange::EKind::Attribute, factory, PlaceOf(factory),
                        QStringLiteral("sub_region")));
}
