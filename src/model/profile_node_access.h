#pragma once

// Inside the model only: the XML node behind a profile node handle, and the handle of a node.

#include <libxml/tree.h>

#include "model/profile_node.h"

class CProfileNodeAccess {
public:
    static xmlNodePtr Xml(const CProfileNode& node) { return static_cast<xmlNodePtr>(node.m_node); }
    static CProfileNode Wrap(xmlNodePtr node) { return CProfileNode(node); }
    static CProfileNode Wrap(xmlAttrPtr attribute) {
        return CProfileNode(reinterpret_cast<xmlNodePtr>(attribute));
    }
};
