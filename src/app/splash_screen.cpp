#include "app/splash_screen.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "platform/string_table.h"

namespace {

QPointer<CSplashWnd> g_splash;
bool g_shown = false;

QPixmap SplashPicture() {
    // Drawn from its vector source at the screen's own pixel density, so it stays sharp at any
    // scaling.
    const QIcon picture(QStringLiteral(":/splash.svg"));
    const QSize size(480, 300);
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap = picture.pixmap(size, ratio);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(QColor(0x1f, 0x4e, 0x79));
        QPainter painter(&pixmap);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPointSize(24);
        painter.setFont(font);
        painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, kApplicationName);
    }
    return pixmap;
}

}  // namespace

CSplashWnd::CSplashWnd(const QPixmap& picture)
    : QSplashScreen(picture, Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    qApp->installEventFilter(this);
    QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
}

CSplashWnd::~CSplashWnd() {
    qApp->removeEventFilter(this);
}

CSplashWnd* CSplashWnd::ShowSplashScreen() {
    if (g_shown) {
        return nullptr;
    }
    g_shown = true;
    g_splash = new CSplashWnd(SplashPicture());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        g_splash->move(area.center() - g_splash->rect().center());
    }
    g_splash->show();
    return g_splash;
}

bool CSplashWnd::Visible() {
    return !g_splash.isNull();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
            return true;
        default:
            return QSplashScreen::eventFilter(watched, event);
    }
}
