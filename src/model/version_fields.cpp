#include "model/version_fields.h"

#include <utility>

#include "model/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

CVersionFields::CVersionFields(std::vector<SVersionField> fields) : m_fields(std::move(fields)) {}

void CVersionFields::AddTo(CXmlDocument& document) {
    m_added.assign(m_fields.size(), {});
    if (m_fields.empty()) {
        return;
    }
    CXPathContext xpath(document, model_msg::kFailedToLoadProfile);
    for (std::size_t field = 0; field < m_fields.size(); ++field) {
        const SVersionField& entry = m_fields[field];
        const QByteArray name = entry.attribute.toUtf8();
        const std::vector<xmlNodePtr> elements = xpath.SelectNodes(entry.elementPath);
        for (std::size_t position = 0; position < elements.size(); ++position) {
            // A field the file already carries is the file's own and must survive the save.
            if (xml::Attribute(elements[position], name.constData()).has_value()) {
                continue;
            }
            xml::SetAttribute(elements[position], name.constData(), entry.defaultText);
            m_added[field].push_back(position);
        }
    }
}

void CVersionFields::TakeOffFrom(CXmlDocument& document) const {
    if (m_fields.empty() || m_added.size() != m_fields.size()) {
        return;
    }
    CXPathContext xpath(document, model_msg::kFailedToSave);
    for (std::size_t field = 0; field < m_fields.size(); ++field) {
        if (m_added[field].empty()) {
            continue;
        }
        const QByteArray name = m_fields[field].attribute.toUtf8();
        const std::vector<xmlNodePtr> elements = xpath.SelectNodes(m_fields[field].elementPath);
        for (std::size_t position : m_added[field]) {
            if (position < elements.size()) {
                xml::RemoveAttribute(elements[position], name.constData());
            }
        }
    }
}
