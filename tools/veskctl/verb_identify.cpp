// veskctl identify: what the radio on the cable is, as identification learns it before a read or
// a write: model, firmware, codeplug, password, squelch code capacity, clone compatibility.

#include <cstdio>

#include "cli_prompt.h"
#include "radio/radio_checks.h"
#include "radio_session.h"
#include "verbs.h"

int RunIdentify(const QStringList& args) {
    if (!args.isEmpty()) {
        return TellUsage("veskctl identify");
    }
    CCliPrompt prompt(false);
    CRadioSession session(prompt);
    if (!session.CableReady() || !session.Identify(OperationCode::ReadIdentification)) {
        return kExitRefused;
    }
    session.Cleanup();
    const CRadioInfo& radio = session.Operations().RadioInfo();
    const auto character = [&radio](const vcp::SField& field) {
        const quint8 byte = radio.Byte(field.offset);
        return byte >= 0x20 && byte < 0x7F
                   ? QString(QLatin1Char(char(byte)))
                   : QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    };
    const QString firmware = character(vcp::RadioInfoField("firmware_phase")) +
                             character(vcp::RadioInfoField("firmware_version")) +
                             character(vcp::RadioInfoField("firmware_revision"));
    std::printf("model:                %s\n", qPrintable(RadioModelText(radio)));
    std::printf("region code:          %s\n", qPrintable(radio_checks::RadioRegionCode(radio)));
    std::printf("firmware:             %s\n", qPrintable(firmware));
    std::printf("codeplug:             phase %s, version %u\n",
                qPrintable(character(vcp::RadioInfoField("codeplug_phase"))),
                unsigned(radio.CodeplugVersion()));
    std::printf("password:             %s\n",
                radio_checks::RadioPassword(radio).isEmpty() ? "none" : "set");
    std::printf("code capacity:        %u\n",
                unsigned(radio.Number(vcp::RadioInfoField("code_capacity"))));
    std::printf("serial clone:         %u\n",
                unsigned(radio.Number(vcp::RadioInfoField("serial_clone_compatibility"))));
    std::fflush(stdout);
    return kExitOk;
}
