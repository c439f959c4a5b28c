#include "model/profile_node.h"

#include "model/profile_node_access.h"

QString CProfileNode::Name() const {
    const xmlNode* node = CProfileNodeAccess::Xml(*this);
    return node != nullptr && node->name != nullptr
               ? QString::fromUtf8(reinterpret_cast<const char*>(node->name))
               : QString();
}

bool CProfileNode::IsAttribute() const {
    const xmlNode* node = CProfileNodeAccess::Xml(*this);
    return node != nullptr && node->type == XML_ATTRIBUTE_NODE;
}
