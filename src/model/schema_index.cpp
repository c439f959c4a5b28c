#include "model/schema_index.h"

#include <cstring>
#include <utility>
#include <vector>

#include <QSet>
#include <QStringList>
#include <libxml/xmlregexp.h>

#include "platform/vesk_cps_exception.h"
#include "platform/xml/libxml_guard.h"
#include "platform/xml/namespaces.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"

namespace {

constexpr char kXsdNamespace[] = "http://www.w3.org/2001/XMLSchema";

// A schema nested deeper than this is not a profile schema; the limit keeps a hostile or broken
// schema from recursing without end through groups and derivations.
constexpr int kMaxDepth = 64;

bool IsXs(const xmlNode* node, const char* localName) {
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), kXsdNamespace) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

std::vector<xmlNodePtr> ElementChildren(const xmlNode* node) {
    std::vector<xmlNodePtr> children;
    for (xmlNodePtr child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            children.push_back(child);
        }
    }
    return children;
}

xmlNodePtr FirstXsChild(const xmlNode* node, const char* localName) {
    for (xmlNodePtr child : ElementChildren(node)) {
        if (IsXs(child, localName)) {
            return child;
        }
    }
    return nullptr;
}

struct SQName {
    QString namespaceUri;
    QString localName;
};

// Prefixes in attribute values (type="xs:long") are resolved against the declarations in scope
// at the node that carries the value.
SQName ResolveQName(xmlNodePtr context, const QString& qname) {
    const qsizetype colon = qname.indexOf(u':');
    const QByteArray prefix = colon < 0 ? QByteArray() : qname.left(colon).toUtf8();
    const xmlNs* ns = xmlSearchNs(
        context->doc, context,
        prefix.isEmpty() ? nullptr : reinterpret_cast<const xmlChar*>(prefix.constData()));
    return {ns ? xml::Text(ns->href) : QString(), colon < 0 ? qname : qname.mid(colon + 1)};
}

QString NodeNamespace(const xmlNode* node) {
    return node && node->ns ? xml::Text(node->ns->href) : QString();
}

// An xs:integer-style text: an optional sign and decimal digits, nothing else.
struct SInteger {
    bool negative = false;
    quint64 magnitude = 0;
};

std::optional<SInteger> ParseInteger(const QString& text) {
    SInteger number;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return std::nullopt;
        }
        const quint64 digit = text[i].unicode() - u'0';
        if (number.magnitude > (~quint64{0} - digit) / 10) {
            return std::nullopt;  // beyond 64 bits: no built-in type of ours holds it
        }
        number.magnitude = number.magnitude * 10 + digit;
    }
    if (number.magnitude == 0) {
        number.negative = false;
    }
    return number;
}

// -1, 0 or 1 as `a` is below, equal to or above `b`.
int Compare(const SInteger& a, const SInteger& b) {
    if (a.negative != b.negative) {
        return a.negative ? -1 : 1;
    }
    const int order = a.magnitude < b.magnitude ? -1 : (a.magnitude > b.magnitude ? 1 : 0);
    return a.negative ? -order : order;
}

// The value space test of the three built-in roots that numbers and flags derive from; the
// reason when `value` is outside it.
std::optional<QString> CheckBuiltIn(CSchemaIndex::ValueType type, const QString& value) {
    switch (type) {
        case CSchemaIndex::ValueType::Long: {
            const std::optional<SInteger> number = ParseInteger(value);
            if (!number || number->magnitude >
                               (number->negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull)) {
                return QStringLiteral("it is not a whole number");
            }
            return std::nullopt;
        }
        case CSchemaIndex::ValueType::UnsignedLong: {
            const std::optional<SInteger> number = ParseInteger(value);
            if (!number || number->negative) {
                return QStringLiteral("it is not a whole number of 0 or more");
            }
            return std::nullopt;
        }
        case CSchemaIndex::ValueType::Boolean:
            if (value != u"0" && value != u"1" && value != u"true" && value != u"false") {
                return QStringLiteral("it is not 0 or 1");
            }
            return std::nullopt;
        case CSchemaIndex::ValueType::Text:
            break;
    }
    return std::nullopt;
}

std::shared_ptr<void> CompilePattern(const QString& pattern) {
    const QByteArray text = pattern.toUtf8();
    CLibxmlGuard guard;
    xmlRegexpPtr compiled = xmlRegexpCompile(reinterpret_cast<const xmlChar*>(text.constData()));
    if (!compiled) {
        return nullptr;
    }
    return std::shared_ptr<void>(
        compiled, [](void* regexp) { xmlRegFreeRegexp(static_cast<xmlRegexpPtr>(regexp)); });
}

}  // namespace

// Reads the schema as a document: collects the named components first, then walks the global
// element declarations down through their content models.
class CSchemaIndexBuilder {
public:
    explicit CSchemaIndexBuilder(xmlNodePtr schema) : m_schema(schema) {
        m_target = xml::Attribute(schema, "targetNamespace").value_or(QString());
        m_qualifiedElements =
            xml::Attribute(schema, "elementFormDefault").value_or(QString()) == u"qualified";
        m_qualifiedAttributes =
            xml::Attribute(schema, "attributeFormDefault").value_or(QString()) == u"qualified";
        for (xmlNodePtr child : ElementChildren(schema)) {
            const QString name = xml::Attribute(child, "name").value_or(QString());
            if (name.isEmpty()) {
                continue;
            }
            if (IsXs(child, "simpleType")) {
                m_simpleTypes.insert(name, child);
            } else if (IsXs(child, "complexType")) {
                m_complexTypes.insert(name, child);
            } else if (IsXs(child, "element")) {
                m_elements.insert(name, child);
            } else if (IsXs(child, "attribute")) {
                m_attributes.insert(name, child);
            } else if (IsXs(child, "attributeGroup")) {
                m_attributeGroups.insert(name, child);
            } else if (IsXs(child, "group")) {
                m_groups.insert(name, child);
            }
        }
    }

    CSchemaIndex Run() {
        for (xmlNodePtr child : ElementChildren(m_schema)) {
            if (IsXs(child, "element")) {
                AddElement(child, QString(), true, 0);
            }
        }
        return std::move(m_index);
    }

private:
    using ValueType = CSchemaIndex::ValueType;

    // Looks a reference up among the named components of this schema; a name in another
    // namespace (there are no imports) has no declaration here.
    xmlNodePtr Named(const QHash<QString, xmlNodePtr>& table, xmlNodePtr context,
                     const QString& qname) const {
        const SQName resolved = ResolveQName(context, qname);
        return resolved.namespaceUri == m_target ? table.value(resolved.localName) : nullptr;
    }

    static CSchemaIndex::HandlerMap Handlers(const xmlNode* declaration) {
        CSchemaIndex::HandlerMap handlers;
        const xmlNode* extension = FindExtension(FirstXsChild(declaration, "annotation"));
        for (const xmlAttr* attr = extension ? extension->properties : nullptr; attr;
             attr = attr->next) {
            if (!attr->ns) {
                handlers.insert(xml::Text(attr->name),
                                xml::Attribute(extension, reinterpret_cast<const char*>(attr->name))
                                    .value_or(QString()));
            }
        }
        return handlers;
    }

    // The first SchemaExtension anywhere inside the annotation, in document order.
    static const xmlNode* FindExtension(const xmlNode* node) {
        for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) {
                continue;
            }
            if (NodeNamespace(child) == QLatin1String(kSchemaExtensionNamespace) &&
                xml::LocalName(child) == u"SchemaExtension") {
                return child;
            }
            if (const xmlNode* found = FindExtension(child)) {
                return found;
            }
        }
        return nullptr;
    }

    using Restrictions = std::vector<CSchemaIndex::SRestriction>;

    static CSchemaIndex::SRestriction ReadFacets(const xmlNode* restriction) {
        CSchemaIndex::SRestriction facets;
        for (xmlNodePtr facet : ElementChildren(restriction)) {
            const std::optional<QString> value = xml::Attribute(facet, "value");
            if (!value) {
                continue;
            }
            const auto count = [&value] {
                bool ok = false;
                const int number = value->trimmed().toInt(&ok);
                return ok ? std::optional<int>(number) : std::nullopt;
            };
            if (IsXs(facet, "minInclusive")) {
                facets.minInclusive = value->trimmed();
            } else if (IsXs(facet, "maxInclusive")) {
                facets.maxInclusive = value->trimmed();
            } else if (IsXs(facet, "minExclusive")) {
                facets.minExclusive = value->trimmed();
            } else if (IsXs(facet, "maxExclusive")) {
                facets.maxExclusive = value->trimmed();
            } else if (IsXs(facet, "length")) {
                facets.length = count();
            } else if (IsXs(facet, "minLength")) {
                facets.minLength = count();
            } else if (IsXs(facet, "maxLength")) {
                facets.maxLength = count();
            } else if (IsXs(facet, "pattern")) {
                facets.patterns.append(*value);
                facets.compiled.push_back(CompilePattern(*value));
            } else if (IsXs(facet, "enumeration")) {
                facets.enumerations.append(*value);
            }
        }
        return facets;
    }

    ValueType TypeByName(xmlNodePtr context, const QString& qname, QSet<const xmlNode*>& seen,
                         Restrictions* restrictions = nullptr) {
        const SQName resolved = ResolveQName(context, qname);
        if (resolved.namespaceUri == QLatin1String(kXsdNamespace)) {
            if (resolved.localName == u"long") {
                return ValueType::Long;
            }
            if (resolved.localName == u"boolean") {
                return ValueType::Boolean;
            }
            if (resolved.localName == u"unsignedLong") {
                return ValueType::UnsignedLong;
            }
            return ValueType::Text;
        }
        if (resolved.namespaceUri != m_target) {
            return ValueType::Text;
        }
        const xmlNode* type = m_simpleTypes.value(resolved.localName);
        return type ? SimpleTypeRoot(type, seen, restrictions) : ValueType::Text;
    }

    ValueType SimpleTypeRoot(const xmlNode* simpleType, QSet<const xmlNode*>& seen,
                             Restrictions* restrictions = nullptr) {
        if (seen.contains(simpleType) || seen.size() > kMaxDepth) {
            return ValueType::Text;
        }
        seen.insert(simpleType);
        xmlNodePtr restriction = FirstXsChild(simpleType, "restriction");
        if (!restriction) {
            return ValueType::Text;  // a list or a union has no single root
        }
        if (restrictions) {
            restrictions->push_back(ReadFacets(restriction));
        }
        if (const auto base = xml::Attribute(restriction, "base")) {
            return TypeByName(restriction, *base, seen, restrictions);
        }
        const xmlNode* inlineBase = FirstXsChild(restriction, "simpleType");
        return inlineBase ? SimpleTypeRoot(inlineBase, seen, restrictions) : ValueType::Text;
    }

    void AddAttribute(xmlNodePtr attribute, CSchemaIndex::SElementDecl& element) {
        xmlNodePtr declaration = attribute;
        bool qualified = false;
        if (const auto ref = xml::Attribute(attribute, "ref")) {
            declaration = Named(m_attributes, attribute, *ref);
            qualified = true;
            if (!declaration) {
                return;
            }
        } else {
            const auto form = xml::Attribute(attribute, "form");
            qualified = form ? *form == u"qualified" : m_qualifiedAttributes;
        }
        const QString name = xml::Attribute(declaration, "name").value_or(QString());
        if (name.isEmpty() ||
            xml::Attribute(attribute, "use").value_or(QString()) == u"prohibited") {
            return;
        }
        CSchemaIndex::SAttributeDecl decl;
        decl.namespaceUri = qualified ? m_target : QString();
        QSet<const xmlNode*> seen;
        if (const auto type = xml::Attribute(declaration, "type")) {
            decl.type = TypeByName(declaration, *type, seen, &decl.restrictions);
        } else if (const xmlNode* inlineType = FirstXsChild(declaration, "simpleType")) {
            decl.type = SimpleTypeRoot(inlineType, seen, &decl.restrictions);
        }
        decl.handlers = Handlers(declaration);
        if (decl.handlers.isEmpty() && declaration != attribute) {
            decl.handlers = Handlers(attribute);
        }
        element.attributes.insert(name, std::move(decl));
    }

    // Attributes go into `element`; child element declarations are gathered for the caller,
    // which adds them once the parent's declaration is stored.
    void CollectContent(const xmlNode* node, CSchemaIndex::SElementDecl& element,
                        std::vector<xmlNodePtr>& childElements, int depth) {
        if (depth > kMaxDepth) {
            return;
        }
        for (xmlNodePtr child : ElementChildren(node)) {
            if (IsXs(child, "attribute")) {
                AddAttribute(child, element);
            } else if (IsXs(child, "element")) {
                childElements.push_back(child);
            } else if (IsXs(child, "sequence") || IsXs(child, "choice") || IsXs(child, "all") ||
                       IsXs(child, "complexContent") || IsXs(child, "simpleContent")) {
                CollectContent(child, element, childElements, depth + 1);
            } else if (IsXs(child, "attributeGroup") || IsXs(child, "group")) {
                const auto ref = xml::Attribute(child, "ref");
                const xmlNode* group =
                    ref ? Named(IsXs(child, "group") ? m_groups : m_attributeGroups, child, *ref)
                        : nullptr;
                if (group) {
                    CollectContent(group, element, childElements, depth + 1);
                }
            } else if (IsXs(child, "extension") || IsXs(child, "restriction")) {
                // A derived complex type keeps its base's attributes; a restriction restates
                // its element content, an extension appends to the base's.
                const auto base = xml::Attribute(child, "base");
                const xmlNode* baseType = base ? Named(m_complexTypes, child, *base) : nullptr;
                if (baseType && !m_activeTypes.contains(baseType)) {
                    m_activeTypes.insert(baseType);
                    std::vector<xmlNodePtr> inherited;
                    CollectContent(baseType, element, inherited, depth + 1);
                    if (IsXs(child, "extension")) {
                        childElements.insert(childElements.end(), inherited.begin(),
                                             inherited.end());
                    }
                    m_activeTypes.remove(baseType);
                }
                CollectContent(child, element, childElements, depth + 1);
            }
        }
    }

    void AddElement(xmlNodePtr particle, const QString& parentPath, bool global, int depth) {
        if (depth > kMaxDepth) {
            return;
        }
        xmlNodePtr declaration = particle;
        if (const auto ref = xml::Attribute(particle, "ref")) {
            declaration = Named(m_elements, particle, *ref);
            global = true;
            if (!declaration) {
                return;
            }
        }
        const QString name = xml::Attribute(declaration, "name").value_or(QString());
        if (name.isEmpty()) {
            return;
        }
        const QString path = parentPath.isEmpty() ? name : parentPath + u'/' + name;
        if (m_index.m_elements.contains(path)) {
            return;  // the first declaration of a path wins, as it does for the validator
        }

        CSchemaIndex::SElementDecl decl;
        if (global) {
            decl.namespaceUri = m_target;
        } else {
            const auto form = xml::Attribute(declaration, "form");
            decl.namespaceUri =
                (form ? *form == u"qualified" : m_qualifiedElements) ? m_target : QString();
        }
        decl.handlers = Handlers(declaration);
        if (decl.handlers.isEmpty() && declaration != particle) {
            decl.handlers = Handlers(particle);
        }

        const xmlNode* complexType = FirstXsChild(declaration, "complexType");
        if (const auto type = xml::Attribute(declaration, "type")) {
            complexType = Named(m_complexTypes, declaration, *type);
        }
        std::vector<xmlNodePtr> children;
        // A type that contains itself would give paths without end: its second appearance on
        // the current branch keeps its attributes but not its child elements.
        const bool recursive = complexType && m_activeTypes.contains(complexType);
        if (complexType) {
            m_activeTypes.insert(complexType);
            CollectContent(complexType, decl, children, depth);
            if (recursive) {
                children.clear();
            }
        }
        m_index.m_elements.insert(path, std::move(decl));
        for (xmlNodePtr child : children) {
            AddElement(child, path, false, depth + 1);
        }
        if (complexType && !recursive) {
            m_activeTypes.remove(complexType);
        }
    }

    xmlNodePtr m_schema;
    QString m_target;
    bool m_qualifiedElements = false;
    bool m_qualifiedAttributes = false;
    QHash<QString, xmlNodePtr> m_simpleTypes;
    QHash<QString, xmlNodePtr> m_complexTypes;
    QHash<QString, xmlNodePtr> m_elements;
    QHash<QString, xmlNodePtr> m_attributes;
    QHash<QString, xmlNodePtr> m_attributeGroups;
    QHash<QString, xmlNodePtr> m_groups;
    QSet<const xmlNode*> m_activeTypes;
    CSchemaIndex m_index;
};

CSchemaIndex CSchemaIndex::Build(const CXmlDocument& xsd) {
    xmlNodePtr root = xsd.Root();
    if (!IsXs(root, "schema")) {
        throw CVeskCPSException(model_msg::kFatalError102, QStringLiteral("CSchemaIndex::Build"),
                                QStringLiteral("the profile schema has no xs:schema root"));
    }
    return CSchemaIndexBuilder(root).Run();
}

const CSchemaIndex::SElementDecl* CSchemaIndex::FindElement(const xmlNode* element) const {
    if (!element || element->type != XML_ELEMENT_NODE) {
        return nullptr;
    }
    std::vector<const xmlNode*> chain;
    for (const xmlNode* node = element; node && node->type == XML_ELEMENT_NODE;
         node = node->parent) {
        chain.push_back(node);
    }
    QString path;
    const SElementDecl* decl = nullptr;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += (path.isEmpty() ? QString() : QStringLiteral("/")) + xml::LocalName(*it);
        const auto found = m_elements.constFind(path);
        if (found == m_elements.constEnd() || found->namespaceUri != NodeNamespace(*it)) {
            return nullptr;
        }
        decl = &*found;
    }
    return decl;
}

const CSchemaIndex::SAttributeDecl* CSchemaIndex::FindAttribute(const xmlNode* element,
                                                                const QString& name,
                                                                const QString& namespaceUri) const {
    const SElementDecl* decl = FindElement(element);
    if (!decl) {
        return nullptr;
    }
    const auto found = decl->attributes.constFind(name);
    return found != decl->attributes.constEnd() && found->namespaceUri == namespaceUri ? &*found
                                                                                       : nullptr;
}

std::optional<CSchemaIndex::ValueType> CSchemaIndex::FindAttributeType(
    const xmlNode* element, const QString& attribute) const {
    const SAttributeDecl* decl = FindAttribute(element, attribute, QString());
    return decl ? std::optional(decl->type) : std::nullopt;
}

CSchemaIndex::ValueType CSchemaIndex::AttributeType(const xmlNode* element,
                                                    const QString& attribute) const {
    return FindAttributeType(element, attribute).value_or(ValueType::Text);
}

std::optional<QString> CSchemaIndex::CheckAttributeValue(const xmlNode* element,
                                                         const QString& attribute,
                                                         const QString& text) const {
    const SAttributeDecl* decl = FindAttribute(element, attribute, QString());
    if (!decl) {
        return std::nullopt;
    }
    // Blanks around a number are refused, not collapsed: the validator that opening a profile
    // runs refuses them too, and its verdict is the one that counts.
    const QString& value = text;
    if (std::optional<QString> refused = CheckBuiltIn(decl->type, value)) {
        return refused;
    }
    for (const SRestriction& restriction : decl->restrictions) {
        if (std::optional<QString> refused = CheckRestriction(restriction, decl->type, value)) {
            return refused;
        }
    }
    return std::nullopt;
}

std::optional<QString> CSchemaIndex::CheckRestriction(const SRestriction& restriction,
                                                      ValueType type, const QString& value) {
    if (type == ValueType::Long || type == ValueType::UnsignedLong) {
        const std::optional<SInteger> number = ParseInteger(value);
        const auto beyond = [&number](const std::optional<QString>& bound, bool below,
                                      bool inclusive) {
            const std::optional<SInteger> limit = bound ? ParseInteger(*bound) : std::nullopt;
            if (!number || !limit) {
                return false;
            }
            const int order = Compare(*number, *limit);
            return below ? (inclusive ? order < 0 : order <= 0)
                         : (inclusive ? order > 0 : order >= 0);
        };
        if (beyond(restriction.minInclusive, true, true)) {
            return QStringLiteral("the smallest value is %1").arg(*restriction.minInclusive);
        }
        if (beyond(restriction.maxInclusive, false, true)) {
            return QStringLiteral("the largest value is %1").arg(*restriction.maxInclusive);
        }
        if (beyond(restriction.minExclusive, true, false)) {
            return QStringLiteral("it must be above %1").arg(*restriction.minExclusive);
        }
        if (beyond(restriction.maxExclusive, false, false)) {
            return QStringLiteral("it must be below %1").arg(*restriction.maxExclusive);
        }
    }
    // Lengths count characters, not the 16-bit units a QString holds.
    const qsizetype length = value.toUcs4().size();
    if (restriction.length && length != *restriction.length) {
        return QStringLiteral("it must be %1 characters long").arg(*restriction.length);
    }
    if (restriction.minLength && length < *restriction.minLength) {
        return QStringLiteral("it must be at least %1 characters long").arg(*restriction.minLength);
    }
    if (restriction.maxLength && length > *restriction.maxLength) {
        return QStringLiteral("it must be at most %1 characters long").arg(*restriction.maxLength);
    }
    if (!restriction.patterns.isEmpty()) {
        const QByteArray text = value.toUtf8();
        bool matched = false;
        for (const std::shared_ptr<void>& compiled : restriction.compiled) {
            // A pattern libxml2 cannot compile stops the whole schema from compiling, so a
            // profile never gets this far with one; it decides nothing here.
            if (!compiled ||
                xmlRegexpExec(static_cast<xmlRegexpPtr>(compiled.get()),
                              reinterpret_cast<const xmlChar*>(text.constData())) == 1) {
                matched = true;
                break;
            }
        }
        if (!matched) {
            return QStringLiteral("it does not have the form %1")
                .arg(restriction.patterns.join(QStringLiteral(" or ")));
        }
    }
    if (!restriction.enumerations.isEmpty() && !restriction.enumerations.contains(value)) {
        return QStringLiteral("it is none of %1").arg(restriction.enumerations.join(u", "));
    }
    return std::nullopt;
}

std::optional<QString> CSchemaIndex::Handler(const xmlNode* node, const QString& key) const {
    const HandlerMap* handlers = nullptr;
    if (node && node->type == XML_ATTRIBUTE_NODE) {
        const SAttributeDecl* decl =
            FindAttribute(node->parent, xml::LocalName(node), NodeNamespace(node));
        handlers = decl ? &decl->handlers : nullptr;
    } else if (const SElementDecl* decl = FindElement(node)) {
        handlers = &decl->handlers;
    }
    if (!handlers) {
        return std::nullopt;
    }
    const auto found = handlers->constFind(key);
    return found != handlers->constEnd() ? std::optional(*found) : std::nullopt;
}
