#pragma once

// What the image fuzzer and the radio memory fuzzer both ask of an image turned into profile
// text, as a radio that holds anything at all would hand it over.
//
// An image is accepted when the conversion returns 1. What it accepts must be a profile the
// program can go on with:
// - the text parses, holds no frequency of the licence-free service, and converts back into an
//   image without a failure;
// - the schema either admits it or refuses it with the invalid-profile message (135) and its
//   reason, as it refuses a radio whose values lie outside what a profile may hold (more channels
//   than records, a code capacity beyond the field), so that the user is told instead of the
//   program failing.
// A refused image must have said why with exactly one of its three messages. Anything else, and
// any other exception, is a fault: the fuzzer aborts.

#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include "model/schema_validator.h"
#include "model/settings_documents.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "radio/data_adaptor.h"
#include "radio/virtual_cp.h"

namespace fuzz {

class CCountingPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int messageId, const QString&, PromptStyle) override {
        ids.append(messageId);
        return PromptAnswer::Ok;
    }
    QList<int> ids;
};

[[noreturn]] inline void Fail(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "fuzz: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

inline QByteArray ReadSource(const char* relative) {
    QFile file(QStringLiteral(VESK_SOURCE_DIR "/") + QString::fromUtf8(relative));
    if (!file.open(QIODevice::ReadOnly)) {
        Fail("cannot read a file of the source tree", QString::fromUtf8(relative));
    }
    return file.readAll();
}

// Compiled once per run: compiling the schema per input would dwarf the conversion.
inline const CSchemaValidator& Schema() {
    // Reachable until exit on purpose.
    static const CSchemaValidator* const schema =
        new CSchemaValidator(ReadSource("install/profiletemplate/DataProfile.xsd"));
    return *schema;
}

inline bool IsRefusal(int id) {
    return id == CDataAdaptor::kMsgInvalidSerial || id == CDataAdaptor::kMsgCodeplugCorrupted ||
           id == CDataAdaptor::kMsgInvalidFrequency;
}

inline void CheckAccepted(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    CXmlDocument document;
    try {
        document = CXmlDocument::Parse(bytes, QStringLiteral("image"));
    } catch (const CVeskCPSException& error) {
        Fail("an accepted image gave text that does not parse", error.Text());
    }
    if (!CheckMURFreq(bytes)) {
        Fail("an accepted image holds a frequency of the licence-free service", text);
    }
    try {
        Schema().Validate(document, QStringLiteral("image"), bytes);
    } catch (const CVeskCPSException& error) {
        if (error.MessageId() != model_msg::kInvalidProfile || error.Summary().isEmpty()) {
            Fail("the schema refused an accepted image without a reason", error.Text());
        }
    }
    try {
        CVirtualCP again;
        CRadioInfo radio;
        radio.SetNumber(vcp::RadioInfoField("codeplug_version"), 3);
        if (CDataAdaptor::XML2VirtualCP(bytes, again, radio) != 1) {
            Fail("the text of an accepted image does not convert back", text);
        }
    } catch (const CVeskCPSException& error) {
        Fail("the text of an accepted image does not convert back", error.Text());
    }
}

// The conversion into profile text and what its outcome must be.
inline void CheckConversion(CVirtualCP& image) {
    CCountingPrompt prompt;
    QString text;
    int result = 0;
    try {
        result = CDataAdaptor::VirtualCP2XML(image, text, prompt);
    } catch (const CVeskCPSException& error) {
        Fail("the conversion raised", error.Text());
    }
    if (result == 1) {
        if (!prompt.ids.isEmpty()) {
            Fail("an accepted image showed a message");
        }
        CheckAccepted(text);
    } else if (result != 0 || prompt.ids.size() != 1 || !IsRefusal(prompt.ids.first())) {
        Fail("a refused image did not say why with one of its messages",
             QStringLiteral("result %1, %2 messages").arg(result).arg(prompt.ids.size()));
    }
}

}  // namespace fuzz
