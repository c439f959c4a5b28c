#pragma once

// The password the user has proven for the connected radio. The program keeps one: the
// compatibility checks read it and set it on the user-interface thread, and the write worker sets
// it to the password it has just given the radio, so that the next operation on that radio does
// not ask for it again.

#include <mutex>

#include <QString>

class CRememberedPassword {
public:
    QString Get() const;
    void Set(const QString& password);

private:
    mutable std::mutex m_mutex;
    QString m_password;
};
