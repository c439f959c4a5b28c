#pragma once

// A profile from an installed template, the installation's settings documents, and the page
// context a document window would hand a page: for building and testing one page on its own.

#include <memory>
#include <utility>

#include <QStringList>

#include "editor/page_context.h"
#include "editor/page_navigator.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "recording_prompt.h"
#include "temp_hives.h"

inline const QString kInstall = QStringLiteral(VESK_SOURCE_DIR "/install");

// A profile from an installed template, the installation's settings documents, and the page
// context a document window would hand a page.
class CPageFixture {
public:
    // `limitExtra`: attributes added to the template's "limit" element, opened as a file.
    explicit CPageFixture(const QString& templateName, const QString& limitExtra = QString())
        : CPageFixture(templateName, limitExtra.isEmpty() ? QList<std::pair<QString, QString>>{}
                                                          : QList<std::pair<QString, QString>>{
                                                                {QStringLiteral("<limit "),
                                                                 "<limit " + limitExtra + u' '}}) {}

    // `edits`: texts replaced (every occurrence, in order) in the template's profile text, which
    // is then opened as a file, as a dealer's own profile would be.
    CPageFixture(const QString& templateName, const QList<std::pair<QString, QString>>& edits) {
        m_hives.WriteMachine("[General]\nInstallPath=" + kInstall.toUtf8() + "\n");
        m_config = std::make_unique<CConfiguration>(m_hives.Config());
        loaded = settings.LoadAll(*m_config, prompt);
        document = std::make_unique<CProfileDocument>(*m_config, prompt, &settings);
        const QString path = kInstall + "/profiletemplate/" + templateName + ".vk4";
        if (edits.isEmpty()) {
            loaded = loaded && document->NewFromTemplate(path);
            return;
        }
        QString text = profile_file::Read(path).value_or(QString());
        for (const auto& [what, with] : edits) {
            text.replace(what, with);
        }
        const QString edited = m_hives.Path(QStringLiteral("edited.vk4"));
        CTempHives::Write(edited, profile_file::Encode(text));
        loaded = loaded && document->Open(edited);
    }

    SPageContext Context() {
        return SPageContext{*document,
                            settings,
                            settings.RegionName(),
                            separator,
                            prompt,
                            QString(),
                            [this](const QString& topic) { topics << topic; },
                            [this] { ++changes; },
                            channel,
                            &navigator};
    }

    CDataItem Element(const QString& name) {
        return document->Model().RootItem().GetChildByName(name);
    }

    bool loaded = false;
    CRecordingPrompt prompt;
    CSettingsDocuments settings;
    std::unique_ptr<CProfileDocument> document;
    QString separator = QStringLiteral(".");
    QStringList topics;
    int changes = 0;
    // The channel a channel page shows; the navigator has no window, so it only carries hints
    // and the frequency list's place.
    int channel = 0;
    CPageNavigator navigator;

private:
    CTempHives m_hives;
    std::unique_ptr<CConfiguration> m_config;
};
