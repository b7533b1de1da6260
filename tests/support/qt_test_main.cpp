// main() for tests that need a QApplication: widgets are created on the offscreen platform.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
