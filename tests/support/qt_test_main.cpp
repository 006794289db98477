// GoogleTest entry point for tests that need a QApplication.
#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Offscreen unless the caller chose a platform (e.g. xcb under Xvfb).
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Fixed logical DPI: font sizes in points map to the same pixels everywhere.
    setenv("QT_FONT_DPI", "96", 1);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
