// The title mode's state: its phase, which outlives the mode so the intro
// plays only once, and the objects of the intro and the title screen.
#pragma once

#include "objects/game_object.h"

constexpr int TITLE_INTRO = 0;    // the two logos and the notes; Space skips it
constexpr int TITLE_TUNE = 1;     // starts the title tune; presents no frame
constexpr int TITLE_MENU = 2;     // the title screen; Space starts a game
constexpr int TITLE_LEAVING = 3;  // waits for the closing transition

extern int title_phase;

namespace title {

extern GameObject maker_logo;
extern GameObject library_logo;
extern GameObject title_prompt;
extern GameObject title_cat;
extern GameObject title_planet;
extern GameObject record_label;

// Clears the six objects and sets their pictures and places.
void InitTitle();

// The title screen's idle scene, one frame each.
void AnimateTitleCat();
void BlinkTitlePrompt();
// Moves the prompt to its next, more urgent picture as the cat nears the
// planet; returns true when the cat has arrived and the program must end.
bool EscalateTitlePrompt();
// The collected reward pictures along the top and bottom edges, then the
// best score with its label.
void DrawRewards();

}  // namespace title
