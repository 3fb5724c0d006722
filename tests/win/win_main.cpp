// In-process Windows tests: one process under Wine, one test application object.
#include <gtest/gtest.h>

#include "unit/time_zone.h"
#include "win/test_app.h"

int main(int argc, char** argv) {
    SetTimeZone("JST-9");
    TestApp().InitApplication(::GetModuleHandleA(nullptr), argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
