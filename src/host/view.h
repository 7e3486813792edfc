// The intro's perspective view, set when the window is created.
#pragma once

void setPerspectiveView();
