// The picture the game draws every frame, in pixels, whatever the screen: the
// hosts scale it to the screen and the tools read it back at this size.
#pragma once

constexpr int pictureWidth  = 640;
constexpr int pictureHeight = 480;
