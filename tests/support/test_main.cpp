// Test entry shared by every test executable: widgets need an application object, and the
// tests run under the same exception reporting as the program.
#include "platform/ui/ErrorReport.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
