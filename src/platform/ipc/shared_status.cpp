#include "platform/ipc/shared_status.h"

#include <cerrno>
#include <cstring>

#include <QtGlobal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ipc {

namespace {

static_assert(sizeof(CSharedStatusBlock::Header) % alignof(std::uint32_t) == 0);
static_assert(std::atomic_ref<std::uint32_t>::is_always_lock_free,
              "the slots are shared between processes and need lock-free atomics");

QString ErrnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// Releases the flock() that serializes initialisation, and the descriptor, on every path. The
// unlock must be explicit: the mapping keeps the open file description, and with it the lock,
// alive after the descriptor is closed.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0) {
            ::flock(m_fd, LOCK_UN);
            ::close(m_fd);
        }
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

bool HeaderIsSound(const CSharedStatusBlock::Header& header) {
    return header.magic == CSharedStatusBlock::kMagic &&
           header.version == CSharedStatusBlock::kVersion &&
           header.blockSize == CSharedStatusBlock::kBlockSize &&
           header.checksum == CSharedStatusBlock::HeaderChecksum(header);
}

}  // namespace

QByteArray CSharedStatusBlock::DefaultName() {
    const QByteArray configured = qgetenv("VESKCPS_STATUS_BLOCK");
    if (!configured.isEmpty()) {
        return configured.startsWith('/') ? configured : '/' + configured;
    }
    return "/VeskCPSFileMap." + QByteArray::number(::getuid());
}

std::uint32_t CSharedStatusBlock::HeaderChecksum(const Header& header) {
    // FNV-1a over the fields that never change after initialisation.
    std::uint32_t hash = 2166136261u;
    for (const std::uint32_t word : {header.magic, header.version, header.blockSize}) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((word >> shift) & 0xFFu)) * 16777619u;
        }
    }
    return hash;
}

std::unique_ptr<CSharedStatusBlock> CSharedStatusBlock::OpenOrCreate(bool* created,
                                                                     QString* error) {
    return Open(DefaultName(), true, created, error);
}

std::unique_ptr<CSharedStatusBlock> CSharedStatusBlock::OpenOrCreate(const QByteArray& name,
                                                                     bool* created,
                                                                     QString* error) {
    return Open(name, true, created, error);
}

std::unique_ptr<CSharedStatusBlock> CSharedStatusBlock::OpenExisting() {
    return Open(DefaultName(), false, nullptr, nullptr);
}

std::unique_ptr<CSharedStatusBlock> CSharedStatusBlock::OpenExisting(const QByteArray& name) {
    return Open(name, false, nullptr, nullptr);
}

bool CSharedStatusBlock::Remove(const QByteArray& name) {
    return ::shm_unlink(name.constData()) == 0;
}

std::unique_ptr<CSharedStatusBlock> CSharedStatusBlock::Open(const QByteArray& name, bool create,
                                                             bool* created, QString* error) {
    if (created != nullptr) {
        *created = false;
    }
    const auto fail = [&](const QString& what) {
        if (error != nullptr) {
            *error = QStringLiteral("Shared status block %1: %2")
                         .arg(QString::fromLocal8Bit(name), what);
        }
        return std::unique_ptr<CSharedStatusBlock>();
    };
    const CFd fd(::shm_open(name.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600));
    if (fd.Get() < 0) {
        return fail(ErrnoText(errno));
    }
    // Whoever looks at the header holds this lock, so that two copies starting together never
    // both initialise the block, nor does one read a header the other is still writing.
    int locked = 0;
    do {
        locked = ::flock(fd.Get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        return fail(ErrnoText(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return fail(ErrnoText(errno));
    }
    if (info.st_uid != ::getuid()) {
        return fail(QStringLiteral("owned by another user"));
    }
    const bool sizeRight = info.st_size == static_cast<off_t>(kMappedSize);
    if (!sizeRight) {
        if (!create) {
            return fail(QStringLiteral("not initialised"));
        }
        if (::ftruncate(fd.Get(), static_cast<off_t>(kMappedSize)) != 0) {
            return fail(ErrnoText(errno));
        }
    }
    void* mapping = ::mmap(nullptr, kMappedSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd.Get(), 0);
    if (mapping == MAP_FAILED) {
        return fail(ErrnoText(errno));
    }
    std::unique_ptr<CSharedStatusBlock> block(new CSharedStatusBlock(mapping));
    Header* header = block->HeaderPtr();
    if (!sizeRight || !HeaderIsSound(*header)) {
        if (!create) {
            return fail(QStringLiteral("not initialised"));
        }
        if (sizeRight) {
            qWarning("Shared status block %s had a foreign header; initialised afresh",
                     name.constData());
        }
        // The header goes last, so that its checksum vouches for zeroed slots.
        std::memset(header, 0, sizeof(Header));
        std::memset(static_cast<char*>(mapping) + sizeof(Header), 0, 16);
        Header fresh{};
        fresh.magic = kMagic;
        fresh.version = kVersion;
        fresh.blockSize = kBlockSize;
        fresh.checksum = HeaderChecksum(fresh);
        std::memcpy(header, &fresh, sizeof fresh);
        if (created != nullptr) {
            *created = true;
        }
    }
    return block;
}

CSharedStatusBlock::~CSharedStatusBlock() {
    if (m_mapping != nullptr) {
        ::munmap(m_mapping, kMappedSize);
    }
}

std::uint32_t* CSharedStatusBlock::SlotPtr(int slot) const {
    Q_ASSERT(slot >= 0 && slot < kSlotCount);
    return reinterpret_cast<std::uint32_t*>(static_cast<char*>(m_mapping) + sizeof(Header)) + slot;
}

std::uint32_t CSharedStatusBlock::Load(int slot) const {
    return std::atomic_ref<std::uint32_t>(*SlotPtr(slot)).load();
}

void CSharedStatusBlock::Store(int slot, std::uint32_t value) {
    std::atomic_ref<std::uint32_t>(*SlotPtr(slot)).store(value);
    Bump();
}

bool CSharedStatusBlock::Exchange(int slot, std::uint32_t expected, std::uint32_t desired) {
    const bool done =
        std::atomic_ref<std::uint32_t>(*SlotPtr(slot)).compare_exchange_strong(expected, desired);
    if (done) {
        Bump();
    }
    return done;
}

std::uint32_t CSharedStatusBlock::Sequence() const {
    return std::atomic_ref<std::uint32_t>(HeaderPtr()->sequence).load();
}

void CSharedStatusBlock::Bump() {
    std::atomic_ref<std::uint32_t>(HeaderPtr()->sequence)++;
}

QByteArray CSharedStatusBlock::Bytes() const {
    QByteArray bytes(static_cast<qsizetype>(kBlockSize), '\0');
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::uint32_t value = Load(slot);
        std::memcpy(bytes.data() + slot * 4, &value, sizeof value);
    }
    std::memcpy(bytes.data() + kSlotCount * 4,
                static_cast<const char*>(m_mapping) + sizeof(Header) + kSlotCount * 4,
                kBlockSize - kSlotCount * 4);
    return bytes;
}

}  // namespace ipc
