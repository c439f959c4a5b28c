#pragma once

// The libxml2 tree as the script DOM reads it: which nodes a script sees as children and
// siblings, names, text and markup, and the small conversions every part of the DOM uses.
// Internal to the DOM; scripts reach it through dom.h.

#include <vector>

#include <QByteArray>
#include <QString>
#include <libxml/tree.h>

#include "platform/script/errors.h"

namespace vbs::dom {

inline const xmlChar* X(const QByteArray& text) {
    return reinterpret_cast<const xmlChar*>(text.constData());
}

inline const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

inline QString Q(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

inline bool IsEmpty(const xmlChar* text) {
    return !text || !*text;
}

inline bool SameHref(const xmlChar* a, const xmlChar* b) {
    return xmlStrEqual(a ? a : X(""), b ? b : X("")) != 0;
}

// The run-time error of a member that cannot do what it was asked.
[[noreturn]] void Fail(const QString& text);

// libxml2 answers null when memory runs out.
template <typename T>
T* Made(T* made) {
    if (!made) {
        throw CScriptError(err::kOutOfMemory);
    }
    return made;
}

bool IsElement(const xmlNode* node);
// Elements and documents have children a script sees; an entity reference's "children" are the
// entity's declaration and an attribute's are its value, neither of which is a node here.
bool ShowsChildren(const xmlNode* node);
xmlNodePtr FirstChild(xmlNodePtr node);
xmlNodePtr LastChild(xmlNodePtr node);
xmlNodePtr ParentOf(xmlNodePtr node);
xmlNodePtr NextSiblingOf(xmlNodePtr node);
xmlNodePtr PreviousSiblingOf(xmlNodePtr node);
xmlNodePtr FirstElementChild(xmlNodePtr node);
xmlNodePtr NextElementSibling(xmlNodePtr node);
// The element after `node` in document order among `top`'s descendants (`node` is one of them,
// or `top` itself); null after the last. Iterative, whatever the depth.
xmlNodePtr NextElement(xmlNodePtr node, xmlNodePtr top);
// The node after `node` in document order within the subtree at `top`, entering elements only.
xmlNodePtr NextInSubtree(xmlNodePtr node, xmlNodePtr top);
// Elements from `node` up to the top of its tree.
int Depth(xmlNodePtr node);
// Levels of elements in the subtree at `root`.
int Height(xmlNodePtr root);

QByteArray QualifiedNameUtf8(const xmlNode* node);
QString NodeName(const xmlNode* node);
QString BaseName(const xmlNode* node);
// The numbers scripts compare nodeType with; libxml2 numbers its doctype node differently.
int NodeTypeNumber(xmlElementType type);
QString TypeNameOf(xmlElementType type);
// Text, CDATA, comments and processing instructions carry their own content.
bool HasOwnContent(const xmlNode* node);
// What `text` reads: entity references read as the entity's text.
QString TextOf(xmlNodePtr node);
// The markup of a node as it stands in its place: a document with its XML declaration, an
// element without the declarations its ancestors make.
QString Markup(xmlNodePtr node);

xmlAttrPtr FindAttribute(xmlNodePtr element, const QString& name);
// libxml2 keeps namespace declarations apart from attributes; getAttribute("xmlns:p") still
// finds them.
const xmlNs* FindDeclaration(xmlNodePtr element, const QString& name);
std::vector<xmlNodePtr> ElementsNamed(xmlNodePtr top, const QString& name);

}  // namespace vbs::dom
