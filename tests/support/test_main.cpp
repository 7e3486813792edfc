// Test entry: runs every test with a real offscreen OpenGL context current, so
// drawing code runs for real, as in the game.
#include "gl_context.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new OffscreenGlEnvironment);
    return RUN_ALL_TESTS();
}
