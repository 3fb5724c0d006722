// In-process Windows tests: one process under Wine, one test application object.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "unit/time_zone.h"
#include "win/test_app.h"

int main(int argc, char** argv) {
    // A run meant for another ANSI code page proves first that it has it.
    if (const char* expected = std::getenv("KESTROVIN_EXPECT_ACP")) {
        if (::GetACP() != static_cast<UINT>(std::atoi(expected))) {
            std::fprintf(stderr, "win_tests: code page %u, not %s\n", ::GetACP(), expected);
            return 1;
        }
    }
    SetTimeZone("JST-9");
    TestApp().InitApplication(::GetModuleHandleA(nullptr), argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
