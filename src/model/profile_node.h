#pragma once

// An element or attribute of a profile's working document, as the model's users hold it: a handle
// that can be compared, named and passed back to the model, never opened outside it. Pages and
// tools bind to data items and these handles, not to the XML library under them.

#include <QString>

class CProfileNode {
public:
    CProfileNode() = default;

    bool IsNull() const { return m_node == nullptr; }
    // The local name of the element or attribute; empty for a null handle.
    QString Name() const;
    bool IsAttribute() const;

    friend bool operator==(const CProfileNode&, const CProfileNode&) = default;

private:
    friend class CProfileNodeAccess;
    explicit CProfileNode(void* node) : m_node(node) {}

    void* m_node = nullptr;
};
