#pragma once

#include <optional>

#include <QHash>
#include <QString>
#include <libxml/tree.h>

class CXmlDocument;

// What the data items need from the profile schema: for each element declaration (by the path of
// element local names from the root, "VeskProfile/channels/channel") and each of its attributes,
// the built-in root of the declared type and the rule script handlers of its annotation.
// libxml2 keeps its compiled schema private, so this is read from the schema as a document.
class CSchemaIndex {
public:
    enum class ValueType { Long, Boolean, UnsignedLong, Text };

    // Raises CVeskCPSException 134 when the document is not a schema.
    static CSchemaIndex Build(const CXmlDocument& xsd);

    // The declared attribute's type; nullopt when the element or the attribute is not declared.
    std::optional<ValueType> FindAttributeType(const xmlNode* element,
                                               const QString& attribute) const;
    // As FindAttributeType, with undeclared attributes read as text.
    ValueType AttributeType(const xmlNode* element, const QString& attribute) const;
    // `node` is an element or an attribute of a profile document; nullopt when the node has no
    // declaration, the declaration no annotation, or the annotation no such key.
    std::optional<QString> Handler(const xmlNode* node, const QString& key) const;

    bool HasElement(const QString& path) const { return m_elements.contains(path); }
    int ElementCount() const { return static_cast<int>(m_elements.size()); }

private:
    using HandlerMap = QHash<QString, QString>;

    struct SAttributeDecl {
        ValueType type = ValueType::Text;
        QString namespaceUri;  // empty for an unqualified attribute
        HandlerMap handlers;
    };
    struct SElementDecl {
        QString namespaceUri;
        HandlerMap handlers;
        QHash<QString, SAttributeDecl> attributes;
    };

    friend class CSchemaIndexBuilder;

    // The declaration of `element`, checking the namespace of every element on the way.
    const SElementDecl* FindElement(const xmlNode* element) const;
    const SAttributeDecl* FindAttribute(const xmlNode* element, const QString& name,
                                        const QString& namespaceUri) const;

    QHash<QString, SElementDecl> m_elements;
};
