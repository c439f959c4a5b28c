#pragma once

#include <vector>

#include <QString>

class CXmlDocument;

// One attribute that this CPS's schema needs on every element a path selects, although a file of
// an older codeplug version may lack it.
struct SVersionField {
    QString elementPath;  // XPath 1.0 with "dfns" bound to the profile namespace
    QString attribute;    // an attribute in no namespace
    QString defaultText;
};

// The fields put on a profile before validation and taken off again before saving, so that a
// file never gains fields its codeplug version does not have.
class CVersionFields {
public:
    CVersionFields() = default;
    explicit CVersionFields(std::vector<SVersionField> fields);

    // Adds each field to the selected elements that lack it and remembers where. XPath failures
    // raise 136, as they happen while a profile loads.
    void AddTo(CXmlDocument& document);
    // Removes exactly what the last AddTo added. `document` may be a fresh parse of the edited
    // working document, so the places are found again by path and position, not by node. XPath
    // failures raise 533, as they happen while a profile is saved.
    void TakeOffFrom(CXmlDocument& document) const;

    bool IsEmpty() const { return m_fields.empty(); }
    const std::vector<SVersionField>& Fields() const { return m_fields; }

private:
    std::vector<SVersionField> m_fields;
    // Per field, the positions within its path's selection where AddTo put the attribute.
    std::vector<std::vector<std::size_t>> m_added;
};
