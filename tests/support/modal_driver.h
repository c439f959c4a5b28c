#pragma once

#include <functional>
#include <utility>

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>

// Acts as the person at the screen whenever a modal dialog is up: `act` gets the dialog and
// returns false once it has nothing more to do. A dialog that comes up with nobody expecting it
// is rejected, so that a wrong modal loop fails the test instead of hanging it.
class CModalDriver : public QObject {
public:
    explicit CModalDriver(std::function<bool(QDialog&)> act) : m_act(std::move(act)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
        m_timer.start();
    }

    int unexpected = 0;

private:
    void Tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (!m_act || !m_act(*dialog)) {
            m_act = nullptr;
            ++unexpected;
            dialog->reject();
        }
    }

    QTimer m_timer;
    std::function<bool(QDialog&)> m_act;
};
