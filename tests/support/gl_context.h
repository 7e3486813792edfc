// An offscreen 640 x 480 OpenGL context for the tests, through SDL.
#pragma once
#include <gtest/gtest.h>

class OffscreenGlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;
};
