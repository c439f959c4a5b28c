#include "resources/pictures.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// The toolbar draws through QIcon and the splash through QImage: both go through Qt's SVG
// plugins, so a picture missing from the resources, one Qt cannot parse, or a machine without
// the plugins, gives an empty button or splash here as in the program.
class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "vesk_resources_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
};

// How much of the picture is drawn (not transparent), as a fraction of its area.
double Coverage(const QImage& image) {
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return image.isNull() ? 0.0 : double(drawn) / (image.width() * image.height());
}

TEST_F(Pictures, EveryIconDrawsAtEveryToolbarSize) {
    for (int i = int(EPicture::About); i < int(EPicture::Splash); ++i) {
        const QString path = PicturePath(EPicture(i));
        const QIcon icon(path);
        for (int size : {16, 24, 32, 48}) {
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            EXPECT_EQ(image.size(), QSize(size, size)) << path.toStdString() << " at " << size;
            EXPECT_GT(Coverage(image), 0.15) << path.toStdString() << " at " << size;
        }
    }
}

TEST_F(Pictures, SplashIsTheSizeOfTheSplashWindow) {
    const QImage splash(PicturePath(EPicture::Splash));
    EXPECT_EQ(splash.size(), QSize(480, 300));
    EXPECT_EQ(Coverage(splash), 1.0);
}

}  // namespace
