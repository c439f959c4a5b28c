// Writes the radio memory fuzzer's seeds: for each template of the installation and each golden
// image, what a radio programmed with it answers to the read operation, laid out as the fuzzer
// takes it (memory_input.h). The radio's memory is built as the simulator builds it, its firmware
// is the image's own.
//   vesk_fuzz_memory_seeds OUTPUT_FOLDER

#include <cstdio>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "memory_input.h"
#include "radio/data_adaptor.h"
#include "sim_memory.h"
#include "temp_hives.h"

namespace {

namespace input = fuzz::memory_input;

QByteArray Block(const QByteArray& memory, quint32 address, int length) {
    return memory.mid(qsizetype(address - sim::kMemoryBase), length);
}

QByteArray InputOf(const CVirtualCP& image) {
    const QByteArray memory = sim::MemoryFromImage(image);
    QByteArray out(reinterpret_cast<const char*>(image.Bytes().data()), input::kFirmwareBytes);
    for (const std::string_view name : input::kFixedBlocks) {
        const mm::SBlock& block = *input::FindBlock(name);
        out.append(Block(memory, block.address, block.length));
    }
    const mm::SBlock& records = *input::FindBlock("frequency_records");
    out.append(Block(memory, records.address,
                     CDataAdaptor::FrequenciesInUse(image) * mm::kPackedFrequencySize));
    return out;
}

bool WriteSeed(const QString& folder, const QString& name, const CVirtualCP& image) {
    QFile file(QDir(folder).filePath(name + QStringLiteral(".mem")));
    const QByteArray bytes = InputOf(image);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "memory seeds: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk_fuzz_memory_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    // The source tree's installation folder is laid out as an installed one.
    CTempHives hives;
    hives.WriteMachine(QByteArrayLiteral("[General]\nInstallPath=" VESK_SOURCE_DIR "/install\n"));
    const CConfiguration config = hives.Config();

    int written = 0;
    bool ok = true;
    const QDir templates(QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate"));
    for (const QFileInfo& entry : templates.entryInfoList({QStringLiteral("*.vk4")}, QDir::Files)) {
        QString error;
        const std::optional<CVirtualCP> image =
            sim::ImageFromProfile(config, entry.absoluteFilePath(), error);
        if (!image) {
            std::fprintf(stderr, "memory seeds: %s\n", qPrintable(error));
            ok = false;
            continue;
        }
        ok = WriteSeed(folder, entry.completeBaseName(), *image) && ok;
        ++written;
    }
    const QDir golden(QStringLiteral(VESK_TEST_DATA "/images"));
    for (const QFileInfo& entry : golden.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(QDir(entry.absoluteFilePath()).filePath(QStringLiteral("image.bin")));
        CVirtualCP image;
        if (!file.open(QIODevice::ReadOnly) || !image.Assign(file.readAll())) {
            std::fprintf(stderr, "memory seeds: cannot read %s\n", qPrintable(file.fileName()));
            ok = false;
            continue;
        }
        ok = WriteSeed(folder, QStringLiteral("image_") + entry.fileName(), image) && ok;
        ++written;
    }
    std::printf("memory seeds: %d written to %s\n", written, qPrintable(folder));
    return ok && written > 0 ? 0 : 1;
}
