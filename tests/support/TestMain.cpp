#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// Every test executable runs with a QApplication on Qt's offscreen platform, so that the
// windows can be created and the picture code has its image plugins. Its screen is a common
// desktop's 1280 × 1024 rather than the platform's own 800 × 600, so that the main window has
// its designed size as on an operator's screen; the window on smaller screens is tested on
// its own.
int main(int argc, char* argv[]) {
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screens.open()) {
        screens.write(R"({"screens": [{"name": "OFFSCREEN", "x": 0, "y": 0, "width": 1280,)"
                      R"( "height": 1024}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
