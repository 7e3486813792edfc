// STUB: replaced by the intro and title screens.
#include "game/intro_title.h"
#include "app/platform.h"
#include "game/game_data.h"
const char* const creditsText = "";
void introFrame()
{
    platform.swapBuffers();
    if (introApproaching) { introDepth += 0.6; if (introDepth > -2.0) introApproaching = false; }
    else if (introDepth >= -20.0) introDepth -= 0.4;
    else { brightness -= 0.005; if (brightness <= 0.0) { gameState = Title; brightness = 1.0; } }
}
void titleFrame() { creditsX -= 1; if (creditsX == -2200) creditsX = 640; }
