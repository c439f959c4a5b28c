#pragma once

// Profiles exist in several codeplug versions while the schema describes the newest. The fields a
// profile's version lacks are put on before validation and taken off again before saving, so that
// a file keeps the shape of its own version. Which fields these are comes from the installation's
// UpDownGradeSetting.stv: one element per version ("CPVer1", "CPVer2", ... in ascending order),
// each with a region element and "RegionCommon" holding the entries
//   CPField name= nodename= defaulvalue= replaceby= isExist=   an attribute on every `nodename`
//   CPTag   name= parentNode= isExist=                         an empty child of every `parentNode`
// with isExist "1" where the version has the entry and "0" where it has not.

#include <vector>

#include <QString>

class CXmlDocument;

struct SVersionEntry {
    enum class EKind { Field, Tag };
    EKind kind = EKind::Field;
    QString name;         // attribute (field) or element (tag) name
    QString node;         // `nodename` of a field, `parentNode` of a tag
    QString defaultText;  // fields only
    QString replaceBy;    // fields only: take the value of this attribute when it has one
};

class CVersionFields {
public:
    CVersionFields() = default;
    explicit CVersionFields(std::vector<SVersionEntry> entries);

    // The entries a profile of `version` lacks: those some later version has and `version` has
    // not, plus those marked absent in `version` itself. Where several versions name the same
    // entry, the newest wins, and a region entry wins over a common one. A rules document
    // without the version, or null, gives an empty list. XPath failures raise 136.
    static CVersionFields Compute(const CXmlDocument& rules, const QString& region, int version);

    // Puts every entry on. A field replaces an attribute of the same name; a tag is appended only
    // where the element lacks one, so that a file that already has it never gets it twice.
    // XPath failures and names that are not XML names raise 136, as this happens while loading.
    void PutOn(CXmlDocument& document) const;
    // Removes every listed attribute and tag from the elements they belong to. Failures raise 533,
    // as this happens while saving.
    void TakeOff(CXmlDocument& document) const;

    bool IsEmpty() const { return m_entries.empty(); }
    const std::vector<SVersionEntry>& Entries() const { return m_entries; }

private:
    std::vector<SVersionEntry> m_entries;
};
