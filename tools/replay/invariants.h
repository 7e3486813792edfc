// Checks of the game data that must hold after every frame.
#pragma once
#include <string>

// Empty when every invariant holds; otherwise a message naming the first broken one.
std::string checkInvariants();
