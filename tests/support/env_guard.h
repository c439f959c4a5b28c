#pragma once

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>

// Restores the named environment variables when it goes out of scope.
class CEnvGuard {
public:
    CEnvGuard(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            m_saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                           ? std::optional<QByteArray>(qgetenv(name))
                                           : std::nullopt);
        }
    }
    ~CEnvGuard() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                qputenv(name, *value);
            } else {
                qunsetenv(name);
            }
        }
    }
    CEnvGuard(const CEnvGuard&) = delete;
    CEnvGuard& operator=(const CEnvGuard&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};
