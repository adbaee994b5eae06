#include <QApplication>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication on Qt's offscreen platform, so that the
// windows can be created and the picture code has its image plugins.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
