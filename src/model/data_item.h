#pragma once

// A handle on one element of a profile's working document. Every read and change of a profile
// goes through it so that the rule script, named per element or attribute in the schema, gets
// the chance to refuse a change or apply its consequences.

#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "model/edit_journal.h"
#include "model/edit_result.h"
#include "model/profile_node.h"

class CRuleScriptHost;
class CSchemaIndex;

// What all items of one profile share. The profile model owns the host, the index and the
// working document; it keeps them alive for as long as any item of the profile exists.
struct SDataContext {
    CRuleScriptHost* script = nullptr;
    const CSchemaIndex* schema = nullptr;
    // Hears of every accepted change; null where nobody keeps a history (tests, scratch models).
    CEditJournal* journal = nullptr;
    // Set when the working document these items point into was replaced (another profile loaded,
    // an undo or a redo): every use of such an item raises 131, so a page that kept one finds
    // out at once instead of editing a document the profile no longer holds.
    bool retired = false;
    // What a retired item's element still lives in, so that no forgotten item points into freed
    // memory.
    std::shared_ptr<void> retiredDocument = nullptr;
};

// One entry of the frequency table as a page or a verb hands it to the rules: the frequency in
// hertz and the bandwidth, power and compander codes.
struct SFrequencyEntry {
    quint32 hertz = 0;
    quint32 bandwidth = 0;
    quint32 power = 0;
    quint32 compander = 0;
};

class CDataItem {
public:
    CDataItem() = default;
    CDataItem(CProfileNode element, std::shared_ptr<const SDataContext> context);

    CProfileNode Node() const { return m_node; }
    bool IsEmpty() const { return m_node.IsNull(); }
    // False once the profile's working document was replaced (a load, an undo, a redo): such an
    // item refuses every use, and the page fetches its items again from the root item.
    bool IsCurrent() const { return m_context == nullptr || !m_context->retired; }
    // The element's local name ("channel", "frequency", ...); empty for an empty item.
    QString Name() const { return m_node.Name(); }
    const std::shared_ptr<const SDataContext>& Context() const { return m_context; }

    // The first child element of that local name in the profile namespace; 132 when none.
    CDataItem GetChildByName(const QString& name) const;
    // Typed by the schema: Long -> qint32, Boolean -> bool, UnsignedLong -> quint32, else text.
    // 133 when the attribute is missing; 131 when its text does not fit its declared type.
    QVariant GetAttributeValue(const QString& name) const;
    bool HasAttribute(const QString& name) const;
    // The element's attribute names in document order.
    QStringList AttributeNames() const;
    // An attribute's stored text as the file holds it; nothing when it is missing.
    std::optional<QString> AttributeText(const QString& name) const;
    // Children are counted and indexed over elements only: the working document keeps its
    // indentation as text nodes, and every caller (pages, checks, conversions) means "the n-th
    // channel" or "the n-th frequency", never the n-th whitespace run.
    int GetChildCount() const;
    // An empty item when there is no such child.
    CDataItem GetChildByIndex(int index) const;
    // The rule function named under `key` in the declaration of `node` (an element or attribute
    // of a profile document); nothing when the declaration names none.
    std::optional<QString> GetScriptHandler(const CProfileNode& node, const QString& key) const;

    // For an attribute without a SetVal rule, whose value SetAttributeValue writes as it is: why
    // the schema refuses `value` in the form it would be stored (its built-in type and the limits
    // of its declared type). Nothing when the schema admits it, does not declare the attribute,
    // or a rule takes the value (the rule decides). Asks no rule script and changes nothing.
    std::optional<QString> SchemaRefusal(const QString& name, const QVariant& value) const;

    // Without a handler the value is written here and accepted.
    CEditResult SetAttributeValue(const QString& name, const QVariant& value,
                                  EConfirmation confirmation = EConfirmation::Unconfirmed);
    bool CanAddChild() const;
    // An empty item when the rules made no child or there is no handler.
    CDataItem AddNewChild();
    // 133 when no element child has that index.
    CEditResult RemoveChildByIndex(int index,
                                   EConfirmation confirmation = EConfirmation::Unconfirmed);
    bool CanDeleteChild() const;
    // Refused without a message when the element has no handler.
    CEditResult AddFrequency(const SFrequencyEntry& entry);
    bool CanDeleteFrequency(quint32 index) const;
    // Refused without a message (nothing changed) when the element has no handler.
    CEditResult SetFreqAttributeValue(quint32 index, const SFrequencyEntry& entry,
                                      EConfirmation confirmation = EConfirmation::Unconfirmed);

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
    std::optional<QString> Handler(const CProfileNode& node, const QString& key,
                                   const char* operation) const;
    CRuleScriptHost& Script(const char* operation) const;
    CProfileNode ElementChild(int index) const;
    void RequireNode(const char* operation) const;
    // Raises 131 for an item of a working document that was replaced.
    void RequireCurrent(const char* operation) const;
    CEditJournal* Journal() const;
    // After an entry of the frequency table came or went: the limits count the table again,
    // whatever the rule script did about it, since a write sends that many records.
    void KeepFrequencyCount() const;

    CProfileNode m_node;
    std::shared_ptr<const SDataContext> m_context;
};
