#include "editor/page_visibility.h"

QString DisplayClassOf(const QString& model) {
    const bool display = model.size() > 2 && model.at(2).toUpper() == u'D';
    return display ? QStringLiteral("Display") : QStringLiteral("NonDisplay");
}

QSet<int> VisibleControlIds(std::span<const SVisibilityEntry> entries,
                            const QString& displayClass) {
    QSet<int> listed;
    QSet<int> switchedOff;
    for (const SVisibilityEntry& entry : entries) {
        if ((!entry.group.isEmpty() && entry.group != displayClass) || !entry.id) {
            continue;
        }
        listed.insert(*entry.id);
        if (entry.isVisible == false) {
            switchedOff.insert(*entry.id);
        }
    }
    return listed - switchedOff;
}
