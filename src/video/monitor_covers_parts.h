// What the systems' bodies of monitor_covers.h share.
#pragma once

struct SDL_Window;

// Makes a new cover black for good (the system's body).
void PaintCoverBlack(SDL_Window* window);
// Fills the window's SDL surface black once: a video driver's that keeps
// no background of its own.
void FillWindowBlack(SDL_Window* window);
