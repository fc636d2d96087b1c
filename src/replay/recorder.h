// Records a game as it is played: every message the window procedure sees
// and every read of the local time, as a key script that the runner and
// `zarvox --replay` play back exactly; and, for checking a replay, the hash
// of every present. Wraps whichever host is installed.
#pragma once

// Open descriptors to write to, or -1; each line is written as it happens,
// so a killed game leaves everything up to the kill.
struct RecorderFiles {
    int keys = -1;
    int hashes = -1;
};

// Installs the recorder around the installed host and writes the script's
// format line and the line naming this build.
void install_recorder(const RecorderFiles& files);

// Writes the play record the game starts from; called once the play data
// is loaded, before the first mode.
void record_play_data();

// Uninstalls the recorder, giving the wrapped host back. Whether every line
// reached its file.
bool remove_recorder();
