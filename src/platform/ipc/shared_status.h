#pragma once

// The status block that every running copy of the program shares: 1024 bytes whose first four
// 32-bit slots say whether a copy runs the cable monitor, whether a cable was found, whether a copy
// is transferring and how many cables matched. It lives in POSIX shared memory, one object per
// user, behind a small header of our own. Shared memory survives every process that used it, so
// the header is checked on each opening: an object that is too small, carries another magic or
// version, or whose header checksum does not add up is initialised afresh instead of trusted.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QString>

namespace ipc {

class CSharedStatusBlock {
public:
    static constexpr std::size_t kBlockSize = 1024;
    static constexpr int kSlotCount = 4;
    static constexpr std::uint32_t kMagic = 0x4B53'4556;  // "VESK" read as little-endian bytes
    static constexpr std::uint32_t kVersion = 1;

    enum Slot : int { MonitorRunning = 0, CableFound = 1, Transferring = 2, CableCount = 3 };

    struct Header {
        std::uint32_t magic;
        std::uint32_t version;
        std::uint32_t blockSize;
        // Bumped by every slot write, so that a reader can tell that something changed.
        std::uint32_t sequence;
        // Over magic, version and block size: a header half-written by a copy that died while
        // creating the object does not pass.
        std::uint32_t checksum;
        std::uint32_t reserved[3];
    };
    static constexpr std::size_t kMappedSize = sizeof(Header) + kBlockSize;

    // "/VeskCPSFileMap.<uid>", or $VESKCPS_STATUS_BLOCK when set.
    static QByteArray DefaultName();

    // Opens the block, creating it when it does not exist yet; *created tells whether this call
    // initialised it (and so zeroed the slots). Null with *error filled when neither works.
    static std::unique_ptr<CSharedStatusBlock> OpenOrCreate(bool* created = nullptr,
                                                            QString* error = nullptr);
    static std::unique_ptr<CSharedStatusBlock> OpenOrCreate(const QByteArray& name,
                                                            bool* created = nullptr,
                                                            QString* error = nullptr);
    // Opens the block only when some copy made it already (and its header is sound).
    static std::unique_ptr<CSharedStatusBlock> OpenExisting();
    static std::unique_ptr<CSharedStatusBlock> OpenExisting(const QByteArray& name);
    // Removes the name; copies that have it mapped keep their mapping.
    static bool Remove(const QByteArray& name);

    ~CSharedStatusBlock();
    CSharedStatusBlock(const CSharedStatusBlock&) = delete;
    CSharedStatusBlock& operator=(const CSharedStatusBlock&) = delete;

    std::uint32_t Load(int slot) const;
    void Store(int slot, std::uint32_t value);
    // Stores desired only when the slot still holds expected; true when it did.
    bool Exchange(int slot, std::uint32_t expected, std::uint32_t desired);
    std::uint32_t Sequence() const;
    // The 1024 bytes as they are now, for tests and dumps.
    QByteArray Bytes() const;

    static std::uint32_t HeaderChecksum(const Header& header);

private:
    CSharedStatusBlock(void* mapping) : m_mapping(mapping) {}
    static std::unique_ptr<CSharedStatusBlock> Open(const QByteArray& name, bool create,
                                                    bool* created, QString* error);
    Header* HeaderPtr() const { return static_cast<Header*>(m_mapping); }
    std::uint32_t* SlotPtr(int slot) const;
    void Bump();

    void* m_mapping = nullptr;
};

}  // namespace ipc
