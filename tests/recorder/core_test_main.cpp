// GoogleTest entry point with a QCoreApplication: serial ports and child
// processes need one, the recorder tests need no widgets.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
