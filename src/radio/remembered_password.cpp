#include "radio/remembered_password.h"

QString CRememberedPassword::Get() const {
    const std::lock_guard guard(m_mutex);
    return m_password;
}

void CRememberedPassword::Set(const QString& password) {
    const std::lock_guard guard(m_mutex);
    m_password = password;
}
