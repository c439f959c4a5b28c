#pragma once

#include <QObject>
#include <QSplashScreen>

// The picture shown for a moment at start-up. While it is up, the program takes no input: key
// presses and mouse clicks are swallowed, so that nothing typed blind lands in a window.
class CSplashWnd : public QSplashScreen {
    Q_OBJECT

public:
    static constexpr int kShowMilliseconds = 2500;

    // Shows the splash once in the program's life; later calls do nothing.
    static CSplashWnd* ShowSplashScreen();
    static bool Visible();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CSplashWnd(const QPixmap& picture);
    ~CSplashWnd() override;
};
