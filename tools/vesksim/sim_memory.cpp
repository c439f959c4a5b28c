#include "sim_memory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include <QFile>
#include <QSaveFile>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/radio_data_model.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "radio/data_adaptor.h"
#include "radio/document_image.h"
#include "radio/memory_map.h"

#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {

char* At(QByteArray& memory, quint32 address) {
    return memory.data() + (address - kMemoryBase);
}

QByteArray Slice(const QByteArray& memory, quint32 address, int n) {
    return memory.mid(qsizetype(address - kMemoryBase), n);
}

void Put(QByteArray& memory, quint32 address, QByteArrayView bytes) {
    std::memcpy(At(memory, address), bytes.data(), size_t(bytes.size()));
}

// The radio-owned bits of a block go back to the pattern: packing may have zeroed the ones past
// what a host reads back before it writes.
void RestoreOwned(std::span<const mm::SBits> rows, QByteArray& memory, quint32 address) {
    for (const mm::SBits& row : rows) {
        if (row.carry != mm::Carry::RadioOwned) {
            continue;
        }
        for (int k = 0; k < row.count; ++k) {
            const quint32 at = address + quint32(row.byte + k);
            char& byte = *At(memory, at);
            const quint8 mask = row.ByteMask();
            byte = char((quint8(byte) & ~mask) | (FillPattern(at) & mask));
        }
    }
}

// Packs `rows` into the pattern already at `address`, so that every bit the table leaves alone
// keeps it.
void PackBlock(std::span<const mm::SBits> rows, const CVirtualCP& image, QByteArray& memory,
               quint32 address, int length, const mm::SConditions& when = {}) {
    QByteArray bytes = Slice(memory, address, length);
    mm::Pack(rows, image, bytes, when);
    Put(memory, address, bytes);
    RestoreOwned(rows, memory, address);
}

// The front end of a simulator has nobody to ask: every message goes to stderr, and a question
// is answered with the careful choice.
class CStderrPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int messageId, const QString& text, PromptStyle style) override {
        std::fprintf(stderr, "vesksim: message %d: %s\n", messageId, text.toUtf8().constData());
        switch (style) {
            case PromptStyle::YesNo:
                return PromptAnswer::No;
            case PromptStyle::YesNoCancel:
            case PromptStyle::OkCancel:
                return PromptAnswer::Cancel;
            default:
                return PromptAnswer::Ok;
        }
    }
};

}  // namespace

QByteArray MemoryFromImage(const CVirtualCP& image) {
    QByteArray memory(kMemorySize, '\0');
    for (int k = 0; k < kMemorySize; ++k) {
        memory[k] = char(FillPattern(kMemoryBase + quint32(k)));
    }
    constexpr const mm::SBlock& identity = mm::Block("identity");
    constexpr const mm::SBlock& synth = mm::Block("synth_base");
    constexpr const mm::SBlock& band = mm::Block("band_edges");
    constexpr const mm::SBlock& limits = mm::Block("limits");
    constexpr const mm::SBlock& clone = mm::Block("serial_clone");
    constexpr const mm::SBlock& main = mm::Block("main");
    constexpr const mm::SBlock& frequencies = mm::Block("frequency_records");
    constexpr const mm::SBlock& compander = mm::Block("compander_option");
    constexpr const mm::SBlock& parameters = mm::Block("radio_parameters");

    PackBlock(mm::kIdentityBlock, image, memory, identity.address, identity.length);
    PackBlock(mm::kSynthBase, image, memory, synth.address, synth.length);
    PackBlock(mm::kBandEdges, image, memory, band.address, band.length);
    // Both code capacity layouts carry the image's value, so that a radio told to play another
    // firmware still reports the capacity its limits were made with.
    mm::SConditions when = mm::ConditionsOf(image);
    when.newerFirmware = !when.newerFirmware;
    PackBlock(mm::kLimitBlock, image, memory, limits.address, limits.length, when);
    PackBlock(mm::kLimitBlock, image, memory, limits.address, limits.length,
              mm::ConditionsOf(image));
    PackBlock(mm::kSerialClone, image, memory, clone.address, clone.length);

    const QByteArray packed =
        mm::PackMainBlock(image, Slice(memory, main.address, mm::kMainReadBack));
    Put(memory, main.address, packed);
    RestoreOwned(mm::kMainBlock, memory, main.address);

    const int records = CDataAdaptor::FrequenciesInUse(image);
    for (int n = 0; n < records; ++n) {
        Put(memory, frequencies.address + quint32(n * frequencies.length),
            mm::PackFrequency(image, n));
    }
    *At(memory, compander.address) = char(0x2F);
    if (const auto parameterImage = mm::ParameterImageFor(image)) {
        Put(memory, parameters.address,
            QByteArrayView(reinterpret_cast<const char*>(parameterImage->data()),
                           qsizetype(parameterImage->size())));
    }
    return memory;
}

std::optional<CVirtualCP> ImageFromProfile(const CConfiguration& config, const QString& path,
                                           QString& error) {
    CStderrPrompt prompt;
    CSettingsDocuments settings;
    QString failed;
    if (!settings.LoadProfileDocuments(config, prompt, &failed)) {
        error = QStringLiteral("the installation's %1 cannot be loaded").arg(failed);
        return std::nullopt;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!document.Open(path)) {
            error = QStringLiteral("%1 does not load as a profile").arg(path);
            return std::nullopt;
        }
        CDataItem factory =
            document.Model().RootItem().GetChildByName(QStringLiteral("factory_setting"));
        CRadioInfo radio;
        radio.SetNumber(vcp::RadioInfoField("codeplug_version"),
                        factory.GetAttributeValue(QStringLiteral("codeplug_version")).toUInt());
        // As a write would give it to the radio: a model without repeater feature transmits as it
        // receives, whatever the profile's transmit fields say.
        CVirtualCP image;
        GetVirtualCPData(document, image, radio);
        return image;
    } catch (const CVeskCPSException& failure) {
        ShowModelException(prompt, failure);
        error = QStringLiteral("%1 does not convert to a codeplug image").arg(path);
        return std::nullopt;
    }
}

void ApplyOverrides(QByteArray& memory, const SRadioOverrides& overrides) {
    constexpr quint32 identity = mm::Block("identity").address;
    constexpr quint32 limits = mm::Block("limits").address;
    if (overrides.model) {
        // As the image holds a model: three letters, then each digit as its value.
        QByteArray model = overrides.model->left(8).leftJustified(8, '\0');
        for (qsizetype k = 3; k < model.size(); ++k) {
            const char c = model[k];
            model[k] = c >= '0' && c <= '9' ? char(c - '0') : '\0';
        }
        Put(memory, identity + 10, model);
    }
    if (overrides.codeplugPhase) {
        *At(memory, identity + 18) = char(*overrides.codeplugPhase);
    }
    if (overrides.codeplugVersion) {
        *At(memory, identity + 19) = char(*overrides.codeplugVersion);
    }
    if (overrides.password) {
        Put(memory, mm::Block("password").address,
            overrides.password->left(4).leftJustified(4, '\0'));
    }
    if (overrides.codeCapacity) {
        const quint8 n = *overrides.codeCapacity;
        *At(memory, limits + 18) = char(n);
        char& older = *At(memory, limits + 5);
        older = char((quint8(older) & 0x80) | (n & 0x7F));
    }
    if (overrides.serialClone) {
        *At(memory, mm::Block("serial_clone").address) = char(*overrides.serialClone);
    }
}

CSimMemory::CSimMemory() : m_bytes(kMemorySize, '\xFF') {}

CSimMemory::~CSimMemory() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CSimMemory::Open(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray bytes = file.read(kMemorySize + 1);
    if (bytes.size() != kMemorySize) {
        error = QStringLiteral("%1 holds %2 bytes, not the radio's %3")
                    .arg(path)
                    .arg(bytes.size())
                    .arg(kMemorySize);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = QStringLiteral("cannot open %1 for writing: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
    m_path = path;
    m_bytes = std::move(bytes);
    return true;
}

bool CSimMemory::Create(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return Open(path, error);
}

void CSimMemory::Assign(const QByteArray& bytes) {
    m_bytes = bytes;
}

bool CSimMemory::Contains(quint32 address, qsizetype n) {
    return address >= kMemoryBase && n >= 0 &&
           qint64(address - kMemoryBase) + n <= qint64(kMemorySize);
}

quint8 CSimMemory::At(quint32 address) const {
    return Contains(address, 1) ? quint8(m_bytes[qsizetype(address - kMemoryBase)]) : 0xFF;
}

QByteArray CSimMemory::Read(quint32 address, int n) const {
    QByteArray out;
    for (int k = 0; k < n; ++k) {
        out.append(char(At(address + quint32(k))));
    }
    return out;
}

bool CSimMemory::Write(quint32 address, QByteArrayView data) {
    if (!Contains(address, data.size())) {
        return false;
    }
    const qsizetype offset = qsizetype(address - kMemoryBase);
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype k = 0; k < data.size(); ++k) {
        if (m_bytes[offset + k] != data[k]) {
            first = first < 0 ? k : first;
            last = k;
        }
    }
    if (first < 0) {
        return true;
    }
    std::memcpy(m_bytes.data() + offset + first, data.data() + first, size_t(last - first + 1));
    if (m_fd < 0) {
        return true;
    }
    const size_t length = size_t(last - first + 1);
    const ssize_t written =
        ::pwrite(m_fd, m_bytes.constData() + offset + first, length, off_t(offset + first));
    return written == ssize_t(length);
}

bool CSimMemory::Flush(QString& error) {
    if (m_fd < 0) {
        return true;
    }
    if (::pwrite(m_fd, m_bytes.constData(), size_t(m_bytes.size()), 0) != m_bytes.size()) {
        error = QStringLiteral("cannot write %1: %2")
                    .arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

}  // namespace sim
