// The intro and the title screen.
//
// The intro flies introImage toward the viewer in perspective, backs it away,
// fades it out on its own, then switches to the 640 x 480 screen space that
// every later screen draws in. The title shows the backdrop, the logo, the
// prompts, the high score and a credits line scrolling right to left.
#include "game/intro_title.h"

#include "game/game_data.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "system/services.h"

const char* const creditsText =
    "SWARM!  -  WRITTEN, DRAWN AND SCORED BY THE SWARM TEAM  -  ARROWS MOVE, SPACEBAR "
    "FIRES, ESCAPE PAUSES  -  EVERY WAVE BRINGS TWO MORE  -  HIT 70 PERCENT FOR AN EXTRA "
    "SHIP  -  GOOD LUCK!";

namespace {

constexpr double introApproachStep = 0.6;   // toward the viewer, per frame
constexpr double introNearDepth    = -2.0;  // the approach ends beyond this
constexpr double introRetreatStep  = 0.4;   // away again, per frame
constexpr double introFarDepth     = -20.0; // the retreat ends below this
constexpr double introFadeStep     = 0.005; // the intro's own fade, per frame

constexpr int32_t creditsStartX = 640;   // enters at the right edge
constexpr int32_t creditsWrapX  = -2200; // never drawn here; starts again

// The intro is over: from now on every screen draws in 640 x 480 units,
// origin bottom left.
void enterScreenSpace()
{
    gameState = Title;
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, 640.0, 0.0, 480.0);
    glMatrixMode(GL_MODELVIEW);
    glColor3d(1.0, 1.0, 1.0);
    glLoadIdentity();
    brightness = 1.0;
}

void stepIntro()
{
    if (introApproaching) {
        introDepth += introApproachStep;
        if (introDepth > introNearDepth)
            introApproaching = false;
    } else if (introDepth >= introFarDepth) {
        introDepth -= introRetreatStep;
    } else {
        brightness -= introFadeStep;
        if (brightness <= 0.0)
            enterScreenSpace();
    }
}

} // namespace

void introFrame()
{
    glClearColor(0.0f, 0.0f, static_cast<GLfloat>(brightness), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glLoadIdentity();
    glColor4d(brightness, brightness, brightness, 1.0);
    glTranslated(0.0, 0.0, introDepth);

    // 16 x 4 units on the view axis; the top 1% of the picture is left out.
    glBindTexture(GL_TEXTURE_2D, introImage.texture);
    glBegin(GL_QUADS);
    glTexCoord2d(0.0, 0.99);
    glVertex3f(-8.0f, 2.0f, 0.0f);
    glTexCoord2d(0.0, 0.0);
    glVertex3f(-8.0f, -2.0f, 0.0f);
    glTexCoord2d(1.0, 0.0);
    glVertex3f(8.0f, -2.0f, 0.0f);
    glTexCoord2d(1.0, 0.99);
    glVertex3f(8.0f, 2.0f, 0.0f);
    glEnd();

    hostServices.swapBuffers();
    stepIntro();
}

void titleFrame()
{
    // The backdrop's upper 34 percent covers the whole screen, so no clear.
    glBindTexture(GL_TEXTURE_2D, backdrop.texture);
    glColor3d(brightness, brightness, brightness);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.66f);
    glVertex2i(0, 0);
    glTexCoord2f(1.0f, 0.66f);
    glVertex2i(640, 0);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(640, 480);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(0, 480);
    glEnd();

    glBindTexture(GL_TEXTURE_2D, logo.texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(120, 430);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(120, 230);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2i(620, 230);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2i(620, 430);
    glEnd();

    glColor3d(0.0, brightness, 0.0);
    drawText(100, 150, false, "PRESS SPACEBAR TO PLAY");
    glColor3d(brightness, 0.0, 0.0);
    drawText(120, 110, false, "PRESS ESCAPE TO QUIT");
    glColor3d(brightness, brightness, brightness);
    drawText(150, 460, false, "HIGH SCORE%7i", highScore);
    drawText(creditsX, 10, true, "%s", creditsText);

    creditsX -= 1;
    if (creditsX == creditsWrapX)
        creditsX = creditsStartX;
}
