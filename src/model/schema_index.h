#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>
#include <libxml/tree.h>

class CXmlDocument;

// What the data items need from the profile schema: for each element declaration (by the path of
// element local names from the root, "VeskProfile/channels/channel") and each of its attributes,
// the built-in root of the declared type, the limits its derivations put on a value, and the
// rule script handlers of its annotation. libxml2 keeps its compiled schema private, so this is
// read from the schema as a document.
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
    // Why the schema refuses `text` as the value of the declared attribute: its built-in type,
    // then the ranges, lengths, patterns and enumerations of every derivation step, the most
    // derived first. Nothing when the value is admitted or the attribute is not declared.
    std::optional<QString> CheckAttributeValue(const xmlNode* element, const QString& attribute,
                                               const QString& text) const;
    // `node` is an element or an attribute of a profile document; nullopt when the node has no
    // declaration, the declaration no annotation, or the annotation no such key.
    std::optional<QString> Handler(const xmlNode* node, const QString& key) const;

    bool HasElement(const QString& path) const { return m_elements.contains(path); }
    int ElementCount() const { return static_cast<int>(m_elements.size()); }

private:
    using HandlerMap = QHash<QString, QString>;

    // The facets of one xs:restriction. Patterns (and enumerations) of one step are
    // alternatives; every step must hold.
    struct SRestriction {
        std::optional<QString> minInclusive;
        std::optional<QString> maxInclusive;
        std::optional<QString> minExclusive;
        std::optional<QString> maxExclusive;
        std::optional<int> length;
        std::optional<int> minLength;
        std::optional<int> maxLength;
        QStringList patterns;
        // Compiled as XML Schema expressions, in the order of `patterns`; shared by copies.
        std::vector<std::shared_ptr<void>> compiled;
        QStringList enumerations;
    };

    struct SAttributeDecl {
        ValueType type = ValueType::Text;
        QString namespaceUri;  // empty for an unqualified attribute
        HandlerMap handlers;
        std::vector<SRestriction> restrictions;  // the most derived first
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
    static std::optional<QString> CheckRestriction(const SRestriction& restriction, ValueType type,
                                                   const QString& value);

    QHash<QString, SElementDecl> m_elements;
};
