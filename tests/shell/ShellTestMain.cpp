// The shell's tests run inside the program's own application object, so a failure escaping an
// event handler reaches the standard error report exactly as it does in the program.
#include <gtest/gtest.h>

#include "windows/ErrorReport.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ponencias::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
