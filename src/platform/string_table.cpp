#include "platform/string_table.h"

#include <algorithm>

#include <QFile>

CStringTable& CStringTable::Instance() {
    static CStringTable table;
    return table;
}

QString CStringTable::EnglishText(int id) {
    const std::span<const SStringEntry> entries = EnglishStrings();
    const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                     [](const SStringEntry& e, int key) { return e.id < key; });
    if (it == entries.end() || it->id != id) {
        return {};
    }
    return QString::fromUtf16(it->text);
}

QString CStringTable::Text(int id) const {
    if (m_module) {
        // Compiled id-based translations are keyed by the id alone, without a context.
        const QString translated = m_module->translate(nullptr, QByteArray::number(id).constData());
        if (!translated.isEmpty()) {
            return translated;
        }
    }
    return EnglishText(id);
}

QString CStringTable::FormatText(const QString& pattern, const QStringList& args) {
    QString out;
    out.reserve(pattern.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const QChar kind = pattern.at(i + 1);
        if (kind == u's' || kind == u'd') {
            if (next < args.size()) {
                out += args.at(next);
            }
            ++next;
            ++i;
        } else if (kind == u'%') {
            out += u'%';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString CStringTable::Format(int id, const QStringList& args) const {
    return FormatText(Text(id), args);
}

QString CStringTable::FormatWithAppName(int id) const {
    const QString text = Text(id);
    const qsizetype count = text.count(QLatin1String("%s"));
    return FormatText(text, QStringList(count, kApplicationName));
}

bool CStringTable::LoadLanguageModule(const QString& path) {
    // Read the named file itself: QTranslator::load(path) would also try other names derived
    // from it ("x_de.qm.qm", "x.qm") and could pick up a module that was not asked for.
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray data = file.readAll();
    auto module = std::make_unique<QTranslator>();
    // The translator keeps pointers into `data`, which therefore lives as long as it does.
    if (!module->load(reinterpret_cast<const uchar*>(data.constData()),
                      static_cast<int>(data.size())) ||
        module->isEmpty()) {
        return false;
    }
    m_module = std::move(module);
    m_moduleData = std::move(data);
    return true;
}

void CStringTable::UnloadLanguageModule() {
    m_module.reset();
    m_moduleData.clear();
}
