// The player's settings that outlive a run: the master volume and whether
// the sound is muted. The desktop keeps them in a small text file beside the
// play data (never inside the 72-byte record, whose format stays as it is):
//
//   volume 7
//   muted 0
//
// Read with the same care as the play data: a missing file is a first run;
// a damaged one (not our lines, a value out of range, too long) or one that
// cannot be read gives the defaults and one line on standard error. A file
// that exists but cannot be read is never overwritten.
#pragma once

#include <cstddef>

#include "hosts/common/pause.h"

constexpr int VOLUME_STEPS = 10;  // volume 0 (silent) to 10 (the mix as made)
constexpr const char* SETTINGS_FILE = "zarvox-settings.txt";

struct PlayerSettings {
    int volume = VOLUME_STEPS;
    bool muted = false;
};

enum class SettingsRead { Read, Missing, Damaged, Unreadable };

// Reads the settings' text; on anything but Read, `out` holds the defaults.
SettingsRead parse_settings(const char* text, size_t size, PlayerSettings* out);

// Reads the file at `path` into `out`; says on standard error, once, what is
// wrong with a file that is damaged or cannot be read.
SettingsRead load_settings(const char* path, PlayerSettings* out);

// Replaces the file whole (never part-written); false when it cannot, or
// when the file was found unreadable and is left alone. A failure is told
// on standard error once a run.
bool save_settings(const char* path, const PlayerSettings& settings);

// The volume one step down or up, within 0 to VOLUME_STEPS.
int step_volume(int volume, int step);

// Mutes or unmutes, or steps the volume (which unmutes), for a mute or
// volume key; false for any other key.
bool change_settings_for(HostKey key, PlayerSettings* settings);
