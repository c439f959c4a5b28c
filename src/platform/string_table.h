#pragma once

#include <memory>
#include <span>

#include <QString>
#include <QStringList>
#include <QTranslator>

// The application's name, put into every text that names the application.
inline const QString kApplicationName = QStringLiteral("ZN420 CPS");

struct SStringEntry {
    int id;
    const char16_t* text;
};

// The English texts, compiled into the program from the string table source; sorted by id.
std::span<const SStringEntry> EnglishStrings();

// "Text of number N": every user-visible text is chosen by its resource number. A language module
// (a compiled translation named by the configuration store) overrides the English texts it
// translates; whatever it leaves out stays English.
class CStringTable {
public:
    static CStringTable& Instance();

    QString Text(int id) const;
    static QString EnglishText(int id);

    // The text of `id` with its "%s" and "%d" placeholders filled from `args` in order.
    QString Format(int id, const QStringList& args) const;
    // The text of `id` with every "%s" filled with the application name.
    QString FormatWithAppName(int id) const;

    // Fills "%s", "%d" (and "%%") in order. Placeholders without an argument become empty and
    // surplus arguments are dropped: a language module is an external file, so its texts never
    // reach a printf-style formatter that could read past its arguments.
    static QString FormatText(const QString& pattern, const QStringList& args);

    // Loads the language module at `path`; false (and English stays) when it cannot be read.
    bool LoadLanguageModule(const QString& path);
    void UnloadLanguageModule();
    bool HasLanguageModule() const { return m_module != nullptr; }

private:
    std::unique_ptr<QTranslator> m_module;
    QByteArray m_moduleData;
};
