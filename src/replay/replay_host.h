// Plays a recorded game back in the window: the script's messages reach the
// game at the presents they were recorded at, and reads of the local time
// return the recorded values. The watcher's keys are ignored except Escape;
// the close button, the menu and the quit signals still end the game.
#pragma once

#include "replay/script_feed.h"

// Installs the replay around the installed host. The script's arrays must
// outlive the replay.
void install_replay(const ScriptFeed& feed);

// The watcher may send this message to the game during a replay.
bool watcher_message_passes(const Message& m);
