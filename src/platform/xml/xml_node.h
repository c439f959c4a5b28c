#pragma once

#include <optional>

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <libxml/tree.h>

// Typed reads and writes of attributes. A null `namespaceUri` means an attribute in no namespace
// (an unprefixed attribute, even inside a namespaced element). Reads give nullopt for a missing
// attribute or a value that does not fit the type; writes raise CVeskCPSException 131 for a null
// node, an undeclarable namespace or a value XML cannot carry.
namespace xml {

QString Text(const xmlChar* text);
QString LocalName(const xmlNode* node);
QString NamespaceUri(const xmlNode* node);
// The concatenated text content of the node and its descendants.
QString NodeText(const xmlNode* node);

std::optional<QString> Attribute(const xmlNode* node, const char* name,
                                 const char* namespaceUri = nullptr);
std::optional<qint32> AttributeInt32(const xmlNode* node, const char* name,
                                     const char* namespaceUri = nullptr);
std::optional<quint32> AttributeUInt32(const xmlNode* node, const char* name,
                                       const char* namespaceUri = nullptr);
// "1"/"true" and "0"/"false", as the schema's boolean type admits.
std::optional<bool> AttributeBool(const xmlNode* node, const char* name,
                                  const char* namespaceUri = nullptr);

// Schema lexical forms: surrounding whitespace collapses, an optional sign, decimal digits only.
std::optional<qint32> ParseInt32(QStringView text);
std::optional<quint32> ParseUInt32(QStringView text);
std::optional<bool> ParseBool(QStringView text);

// With a namespace, `prefix` is declared on the node when no declaration of the URI is in scope.
void SetAttribute(xmlNodePtr node, const char* name, const QString& value,
                  const char* namespaceUri = nullptr, const char* prefix = nullptr);
void SetAttributeInt32(xmlNodePtr node, const char* name, qint32 value,
                       const char* namespaceUri = nullptr, const char* prefix = nullptr);
void SetAttributeUInt32(xmlNodePtr node, const char* name, quint32 value,
                        const char* namespaceUri = nullptr, const char* prefix = nullptr);
// Written as "1" or "0".
void SetAttributeBool(xmlNodePtr node, const char* name, bool value,
                      const char* namespaceUri = nullptr, const char* prefix = nullptr);
// True when the attribute was there.
bool RemoveAttribute(xmlNodePtr node, const char* name, const char* namespaceUri = nullptr);

}  // namespace xml
