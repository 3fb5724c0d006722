// Unit tests of the platform-free code. The same binary runs natively and under Wine.
#include <gtest/gtest.h>

#include "time_zone.h"

int main(int argc, char** argv) {
    SetTimeZone("JST-9");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
