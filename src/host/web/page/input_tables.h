// The page's keys and pads, from the tables every host shares.
#pragma once

// Hands the key table (KeyboardEvent.code to virtual-key code) and the pad
// mapping (standard buttons, the stick's thresholds, the keys they press) to
// the page, which reads its keys and pads by them.
void handInputTablesToPage();
