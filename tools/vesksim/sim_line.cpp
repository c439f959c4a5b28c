#include "sim_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/d2xx/d2xx.h"
#include "radio/protocol.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace sim {

namespace {

std::int64_t Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

void SleepUntil(std::int64_t deadline) {
    timespec ts{};
    ts.tv_sec = time_t(deadline / 1'000'000'000LL);
    ts.tv_nsec = long(deadline % 1'000'000'000LL);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

QString Hex(QByteArrayView bytes) {
    return QString::fromLatin1(QByteArray(bytes.data(), bytes.size()).toHex(' ').toUpper());
}

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

CSimLine::CSimLine(CSimRadio& radio, SLineSetup setup)
    : m_radio(radio), m_setup(std::move(setup)) {}

CSimLine::~CSimLine() {
    Close();
}

void CSimLine::Close() {
    // The registration goes first: a host listing cables must not find a dead terminal.
    if (!m_registration.isEmpty()) {
        QFile::remove(m_registration);
        m_registration.clear();
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
}

bool CSimLine::Open(QString& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = SystemError("cannot make a pseudo-terminal");
        Close();
        return false;
    }
    const char* name = ptsname(m_master);
    if (name == nullptr) {
        error = SystemError("cannot name the pseudo-terminal");
        Close();
        return false;
    }
    m_device = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) {
        error = SystemError("cannot open the pseudo-terminal");
        Close();
        return false;
    }
    cfmakeraw(&tio);
    if (tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        error = SystemError("cannot make the pseudo-terminal raw");
        Close();
        return false;
    }
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);

    const QString folder = d2xx::VirtualCableFolder();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot make the cable folder %1").arg(folder);
        Close();
        return false;
    }
    const QString path = QDir(folder).filePath(m_setup.cableName + QStringLiteral(".cable"));
    QSaveFile file(path);
    const QByteArray text = "description=" + m_setup.description.toUtf8() +
                            "\ndevice=" + QFile::encodeName(m_device) + "\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = QStringLiteral("cannot register the cable at %1: %2").arg(path, file.errorString());
        Close();
        return false;
    }
    m_registration = path;
    return true;
}

void CSimLine::Schedule(QByteArrayView bytes, std::int64_t first) {
    const std::int64_t step = m_setup.fast ? 0 : kByteNanoseconds;
    std::int64_t due = first;
    for (char b : bytes) {
        m_out.push_back({due, b});
        m_lastDue = due;
        due += step;
    }
}

void CSimLine::ScheduleBabble(std::int64_t now) {
    // Always at the line's pace, even unpaced: a flood would only fill the terminal's buffer.
    const char b = kGarbage[m_babbled++ % kGarbage.size()];
    m_out.push_back({std::max(now, m_lastDue) + kByteNanoseconds, b});
    m_lastDue = m_out.back().due;
}

void CSimLine::Receive(const char* bytes, qsizetype n, std::int64_t arrival) {
    const std::int64_t step = m_setup.fast ? 0 : kByteNanoseconds;
    // The host speaks again: whatever kept the line busy has stopped.
    m_babble = false;
    const std::int64_t turnaround = std::int64_t(m_setup.turnaroundMs) * 1'000'000LL;
    for (qsizetype k = 0; k < n; ++k) {
        // The cable echoes whatever the radio does with the byte.
        Schedule(QByteArrayView(bytes + k, 1), std::max(arrival, m_lastDue) + step);
        for (const QByteArray& frame : m_assembler.Push(QByteArrayView(bytes + k, 1))) {
            const SResponse response = m_radio.Handle(frame);
            if (m_setup.log) {
                std::fprintf(stderr, "> %s  %s\n", qPrintable(Hex(frame)),
                             qPrintable(response.note));
                if (!response.bytes.isEmpty()) {
                    std::fprintf(stderr, "< %s\n", qPrintable(Hex(response.bytes)));
                }
            }
            // m_lastDue is the request's last echo byte here.
            Schedule(response.bytes, m_lastDue + turnaround + step);
            m_babble = response.babble;
        }
    }
}

bool CSimLine::WriteDue(std::int64_t now) {
    QByteArray due;
    while (!m_out.empty() && m_out.front().due <= now) {
        if (m_setup.pullAfter >= 0 && m_sent + due.size() >= m_setup.pullAfter) {
            break;
        }
        due.append(m_out.front().byte);
        m_out.pop_front();
    }
    qsizetype done = 0;
    while (done < due.size()) {
        const ssize_t n = ::write(m_master, due.constData() + done, size_t(due.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // Nobody reads the terminal and its buffer is full: what nobody hears is lost, as on a
            // wire without a listener.
            tcflush(m_slave, TCIFLUSH);
            if (::write(m_master, due.constData() + done, 1) != 1) {
                break;
            }
            ++done;
        }
    }
    m_sent += due.size();
    return m_setup.pullAfter < 0 || m_sent < m_setup.pullAfter;
}

int CSimLine::Run(int stopFd) {
    char buffer[4096];
    for (;;) {
        std::int64_t now = Now();
        if (!WriteDue(now)) {
            Close();
            return kExitPulled;
        }
        if (m_assembler.HasPartial() && now - m_lastInput >= kPartialFrameNanoseconds) {
            if (m_setup.log) {
                std::fprintf(stderr, "  partial frame dropped\n");
            }
            m_assembler.DropPartial();
        }
        if (m_babble && m_out.empty()) {
            ScheduleBabble(now);
        }
        std::int64_t wake = -1;
        if (!m_out.empty()) {
            wake = m_out.front().due;
        }
        if (m_assembler.HasPartial()) {
            const std::int64_t drop = m_lastInput + kPartialFrameNanoseconds;
            wake = wake < 0 ? drop : std::min(wake, drop);
        }
        int timeout = -1;
        if (wake >= 0) {
            const std::int64_t left = wake - now;
            if (left <= 2'000'000LL) {
                // poll counts in milliseconds; the last stretch is slept to the nanosecond so
                // that the schedule never drifts.
                pollfd quick[2] = {{m_master, POLLIN, 0}, {stopFd, POLLIN, 0}};
                if (::poll(quick, 2, 0) <= 0) {
                    SleepUntil(wake);
                    continue;
                }
                timeout = 0;
            } else {
                timeout = int(std::min<std::int64_t>((left - 1'000'000LL) / 1'000'000LL, 60000));
            }
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return kExitFailed;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            Close();
            return kExitStopped;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                m_lastInput = Now();
                Receive(buffer, n, m_lastInput);
            } else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
                return kExitFailed;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            // Cannot happen while the slave is held open; never spin on it if it does.
            SleepUntil(Now() + 10'000'000LL);
        }
    }
}

}  // namespace sim
