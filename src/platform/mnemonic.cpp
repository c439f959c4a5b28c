#include "platform/mnemonic.h"

namespace {

// The character after a single "&", or a null character ("&&" is a literal ampersand).
QChar ExistingMnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&') {
            continue;
        }
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return text.at(i + 1);
    }
    return {};
}

}  // namespace

QString WithMnemonic(const QString& text, QString& taken) {
    if (const QChar existing = ExistingMnemonic(text); !existing.isNull()) {
        taken.append(existing.toLower());
        return text;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar key = text.at(i).toLower();
        if (text.at(i).isLetterOrNumber() && !taken.contains(key)) {
            taken.append(key);
            QString marked = text;
            marked.insert(i, u'&');
            return marked;
        }
    }
    return text;
}
