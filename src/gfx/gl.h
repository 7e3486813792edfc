// OpenGL 1.1 and GLU, as the game draws with them.
#pragma once
#include <GL/gl.h>
#include <GL/glu.h>
