#include "editor/page_visibility.h"

QString DisplayClassOf(const QString& model) {
    const bool display = model.size() > 2 && model.at(2).toUpper() == u'D';
    return display ? QStringLiteral("Display") : QStringLiteral("NonDisplay");
}

QString RepeaterClassOf(const QString& model) {
    const QString code = model.right(2);
    const bool repeater = model.size() > 2 && (code == u"70" || code == u"73");
    return repeater ? QStringLiteral("Repeater") : QStringLiteral("Handheld");
}

QStringList ModelClassesOf(const QString& model) {
    return {DisplayClassOf(model), RepeaterClassOf(model)};
}

QSet<int> VisibleControlIds(std::span<const SVisibilityEntry> entries, const QStringList& classes) {
    QSet<int> listed;
    QSet<int> switchedOff;
    for (const SVisibilityEntry& entry : entries) {
        if ((!entry.group.isEmpty() && !classes.contains(entry.group)) || !entry.id) {
            continue;
        }
        listed.insert(*entry.id);
        if (entry.isVisible == false) {
            switchedOff.insert(*entry.id);
        }
    }
    return listed - switchedOff;
}
