#include "app/single_instance.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QWidget>

#include "platform/ipc/process_lock.h"

namespace {

constexpr int kTimeoutMs = 3000;
constexpr char kAcknowledge = 'A';

QByteArray Encode(const QStringList& arguments) {
    QStringList absolute;
    for (const QString& argument : arguments) {
        // The running copy has its own working folder.
        absolute << (argument.isEmpty() ? argument : QFileInfo(argument).absoluteFilePath());
    }
    return absolute.join(u'\n').toUtf8();
}

}  // namespace

CSingleInstance::CSingleInstance() = default;

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::ServerName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
    }
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QString folder = ipc::RuntimeFolder(nullptr);
    const QString name =
        QStringLiteral("veskcps-instance%1").arg(display.isEmpty() ? QString() : u'-' + display);
    return folder.isEmpty() ? name : folder + u'/' + name;
}

bool CSingleInstance::HandToRunningCopy(const QStringList& arguments) const {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(kTimeoutMs)) {
        return false;
    }
    const QByteArray request = Encode(arguments);
    QDataStream out(&socket);
    out << request;
    // A short request is written at once, so there may be nothing left to wait for.
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kTimeoutMs)) {
            return false;
        }
    }
    // A copy that answers has the request; one that does not (a request too long, a copy that
    // hangs) is taken as absent only when it also refused the connection, so a hung copy never
    // makes a second one start beside it.
    if (socket.waitForReadyRead(kTimeoutMs)) {
        char answer = 0;
        return socket.read(&answer, 1) == 1 && answer == kAcknowledge;
    }
    return true;
}

bool CSingleInstance::Listen(std::function<void(const QStringList&)> handler) {
    m_handler = std::move(handler);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(ServerName())) {
        // A copy that died left its socket behind; nobody answered on it, so it is ours now.
        QLocalServer::removeServer(ServerName());
        if (!m_server->listen(ServerName())) {
            return false;
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    return true;
}

void CSingleInstance::OnConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QByteArray request;
            in >> request;
            if (!in.commitTransaction()) {
                return;
            }
            const QString text = QString::fromUtf8(request);
            if (text.size() >= kLongestRequest) {
                socket->disconnectFromServer();
                return;
            }
            socket->write(&kAcknowledge, 1);
            socket->flush();
            // A modal dialog has the program's attention: the request is acknowledged but not
            // carried out, as a disabled main window does not take one.
            if (QApplication::activeModalWidget() == nullptr && m_handler) {
                m_handler(text.isEmpty() ? QStringList() : text.split(u'\n'));
            }
        });
    }
}
