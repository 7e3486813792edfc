// The intro's perspective view: a 640 x 480 viewport, 45 degrees, 4:3.
#include "host/view.h"
#include "host/picture.h"

#include "gfx/gl.h"

void setPerspectiveView()
{
    glViewport(0, 0, pictureWidth, pictureHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
