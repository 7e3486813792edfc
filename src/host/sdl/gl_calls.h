// The OpenGL entry points beyond 1.1 (host/present/gl_calls.h), looked up
// through SDL.
#pragma once
#include "host/present/gl_calls.h"

// Looks them up for the current SDL context; as lookUpGlCalls(procAddress).
bool lookUpGlCalls();
