#pragma once

// A handle on one element of a profile's working document. Every read and change of a profile
// goes through it so that the rule script, named per element or attribute in the schema, gets
// the chance to refuse a change or apply its consequences.

#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <libxml/tree.h>

class CRuleScriptHost;
class CSchemaIndex;

// What all items of one profile share. The profile model owns the host, the index and the
// working document; it keeps them alive for as long as any item of the profile exists.
struct SDataContext {
    CRuleScriptHost* script = nullptr;
    const CSchemaIndex* schema = nullptr;
};

class CDataItem {
public:
    CDataItem() = default;
    CDataItem(xmlNodePtr element, std::shared_ptr<const SDataContext> context);

    xmlNodePtr Node() const { return m_node; }
    bool IsEmpty() const { return m_node == nullptr; }
    const std::shared_ptr<const SDataContext>& Context() const { return m_context; }

    // The first child element of that local name in the profile namespace; 132 when none.
    void GetChildByName(const QString& name, CDataItem& out) const;
    // Typed by the schema: Long -> qint32, Boolean -> bool, UnsignedLong -> quint32, else text.
    // 133 when the attribute is missing; 131 when its text does not fit its declared type.
    QVariant GetAttributeValue(const QString& name) const;
    // Children are counted and indexed over elements only: the working document keeps its
    // indentation as text nodes, and every caller (pages, checks, conversions) means "the n-th
    // channel" or "the n-th frequency", never the n-th whitespace run.
    int GetChildCount() const;
    // `out` becomes empty when there is no such child.
    void GetChildByIndex(int index, CDataItem& out) const;
    // `node` is an element or an attribute (cast to xmlNodePtr) of a profile document.
    bool GetScriptHandler(const xmlNode* node, const QString& key, QString& name) const;

    // Outcome codes are the script's: 0 accepted, 1 refused, 2 needs confirmation; without a
    // handler the value is written here and the outcome is 0. Both outs are 0 without handler.
    qint32 SetAttributeValue(const QString& name, const QVariant& value, qint32& out1, qint32 arg,
                             qint32& out2);
    bool CanAddChild() const;
    // False and an empty `out` when the script made no child or there is no handler.
    bool AddNewChild(CDataItem& out);
    // 133 when no element child has that index.
    qint32 RemoveChildByIndex(int index, qint32& out1, qint32 arg, qint32& out2);
    bool CanDeleteChild() const;
    bool AddFrequency(quint32 a, quint32 b, quint32 c, quint32 d, qint32& out1, qint32& out2);
    bool CanDeleteFrequency(quint32 index) const;
    // 1 (nothing changed) when the element has no handler.
    qint32 SetFreqAttributeValue(const QVariant& v1, const QVariant& v2, const QVariant& v3,
                                 const QVariant& v4, const QVariant& v5, qint32& out1, qint32& out2,
                                 qint32 arg);

    // Gives every channel with an empty name the first free "CHAN n"; 135 when the text is not
    // XML.
    static void ProcessChannelName(QByteArray& profileText);

    // On the root item: every channel transmits as it receives (a profile whose model has no
    // repeater feature cannot keep separate transmit settings).
    void CopyReceiveToTransmit();
    // On the root item: the sub-region is not kept across saves.
    void ResetSubRegion();

private:
    // The handler named under `key` in the declaration of `node`, checked against the host.
    std::optional<QString> Handler(const xmlNode* node, const QString& key,
                                   const char* operation) const;
    CRuleScriptHost& Script(const char* operation) const;
    xmlNodePtr ElementChild(int index) const;
    void RequireNode(const char* operation) const;

    xmlNodePtr m_node = nullptr;
    std::shared_ptr<const SDataContext> m_context;
};
