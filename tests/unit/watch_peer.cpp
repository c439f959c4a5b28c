// Plays another copy of the program for the cable watch tests. It shares the status block, the
// lock folder and the cable folder with the test through the environment it inherits.
//   vesk_watch_peer transfer   starts a transfer; "end" on stdin ends it
//   vesk_watch_peer lock       holds the protocol lock; "end" on stdin releases it
//   vesk_watch_peer monitor    runs the watch and prints each status as "status <ready> <count>"
// Each prints "ready" once in place and exits when stdin closes, so that a test that died leaves
// no peer behind; the tests end the interesting runs with SIGKILL.

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>

#include "radio/cable_watch.h"

#include <unistd.h>

namespace {

// A peer forgotten by a crashed test ends by itself.
constexpr unsigned kLifetimeSeconds = 120;

std::mutex g_outputMutex;

void Say(const std::string& line) {
    const std::lock_guard guard(g_outputMutex);
    std::cout << line << std::endl;
}

class CPrintingSink : public ICableStatusSink {
public:
    void PostCableStatus(bool ready, int cableCount) override {
        Say("status " + std::to_string(ready ? 1 : 0) + ' ' + std::to_string(cableCount));
    }
};

// Until "end" or the end of stdin.
void WaitForEnd() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "end") {
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::alarm(kLifetimeSeconds);
    const std::string mode = argc == 2 ? argv[1] : std::string();
    CCableWatch watch;
    if (mode == "transfer") {
        QString error;
        if (!watch.BeginTransfer(&error)) {
            std::cerr << error.toStdString() << std::endl;
            return 1;
        }
        Say("ready");
        WaitForEnd();
        watch.EndTransfer();
        Say("ended");
        WaitForEnd();
        return 0;
    }
    if (mode == "lock") {
        watch.ProtocolLock().Lock();
        Say("ready");
        WaitForEnd();
        watch.ProtocolLock().Unlock();
        Say("ended");
        WaitForEnd();
        return 0;
    }
    if (mode == "monitor") {
        CPrintingSink sink;
        watch.Start(sink);
        Say("ready");
        WaitForEnd();
        return watch.Shutdown() ? 0 : 1;
    }
    std::cerr << "usage: vesk_watch_peer transfer|lock|monitor" << std::endl;
    return 2;
}
