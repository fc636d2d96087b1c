#!/bin/sh
# The Windows programs under Wine: the play-data checks, the host's key
# rules, every golden replay through zarvox-sim.exe, and zarvox.exe in real
# windows on virtual X displays, driven with xdotool. Needs build-win/
# (scripts/build-windows.sh) and the native build/ (golden_test and
# zarvox-sim). Ends with "windows: N passed, N failed".
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$root/build-win
native=$root/build
started=$(date +%s)
passed=0
failed=0

pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAILED: $1"; }
# check WHAT COMMAND...: passes WHAT when the command succeeds.
check() {
    what=$1
    shift
    "$@" && pass "$what" && return
    fail "$what"
    return 1
}

for f in "$win/zarvox.exe" "$win/zarvox-sim.exe" "$win/play_data_windows_test.exe" \
    "$win/win32_keys_test.exe" "$native/tests/golden_test" "$native/zarvox-sim"; do
    [ -x "$f" ] || { echo "windows: $f is missing (build it first)" >&2; exit 2; }
done

# A Wine of our own for this run: its own prefix, no .NET or browser
# installer prompts, no sound driver (the game then plays silently), and
# one wineserver kept for the whole run so each program starts at once.
scratch=$(mktemp -d /tmp/zarvox-windows.XXXXXX)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
xvfb_pids=""
cleanup() {
    [ -n "$xvfb_pids" ] && kill $xvfb_pids 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
# Starts a virtual X display (Xvfb picks a free one and names it once it
# takes clients) and names it in $display.
new_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
    xvfb_pids="$xvfb_pids $!"
    for _ in $(seq 100); do
        [ -s "$scratch/display" ] && break
        sleep 0.1
    done
    display=":$(cat "$scratch/display")"
    rm -f "$scratch/display"
    DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 ||
        { fail "no virtual display (Xvfb and xdotool are needed)"; exit 1; }
}
# Wine's desktop takes the display it boots with: the whole game's.
new_display
export DISPLAY=$display
mkdir -p "$WINEPREFIX"
wineserver -p 600
wineboot -u >/dev/null 2>&1

# Waits for process $1 to end ($2 tenths of a second at most): its status is 0.
ends_with_status_0() {
    for _ in $(seq "$2"); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill "$1" 2>/dev/null
    wait "$1"
}
# Whether two --record-hashes or --trace files show the same frames (and
# any at all).
same_frames() {
    for f in "$1" "$2"; do sed -n 's/.*"hash":"\([0-9a-f]*\)".*/\1/p' "$f" >"$f.hashes"; done
    [ -s "$1.hashes" ] && cmp -s "$1.hashes" "$2.hashes"
}

# A whole game, title to ending, replayed in real time (about 75 s) on a
# display of its own while the other checks run: every present as the
# native runner shows it, and the replay leaves no play data behind.
keys=$root/tests/golden/autoplay_ms0.keys
mkdir "$scratch/whole"
(cd "$scratch/whole" && wine "$win/zarvox.exe" --replay "$keys" \
    --record-hashes hashes.jsonl 2>stderr.txt) &
whole=$!

# Runs a self-counting check program ("N passed, N failed") in its own folder.
counted() {
    mkdir "$scratch/$1"
    (cd "$scratch/$1" && wine "$win/$1.exe" >out.txt 2>err.txt)
    status=$?
    cat "$scratch/$1/out.txt"
    [ $status -eq 0 ] && grep -q " 0 failed" "$scratch/$1/out.txt"
}
echo "== play data and key rules on Windows"
check "play-data checks" counted play_data_windows_test
# One line for each case that cannot save: read-only, unreadable, a folder,
# a file held by another program; the injected faults stay quiet.
err=$scratch/play_data_windows_test/err.txt
check "one line on standard error for each file that cannot be saved" \
    [ "$(grep -c "playing on without saving" "$err")/$(wc -l <"$err")" = 4/4 ] || cat "$err"
check "key rules" counted win32_keys_test

echo "== golden replays through zarvox-sim.exe"
mkdir "$scratch/golden"
(cd "$scratch/golden" &&
    ZARVOX_SIM_COMMAND="wine '$win/zarvox-sim.exe'" "$native/tests/golden_test" >log.txt 2>&1)
status=$?
log=$scratch/golden/log.txt
check "every golden replay, each frame as pinned ($(grep -c '^\[       OK \]' "$log") cases)" \
    [ $status -eq 0 ] || cat "$log"

echo "== zarvox.exe in a window"
new_display
export DISPLAY=$display
# Presents the game has shown so far (its --record-hashes file).
presents() { cat hashes.jsonl 2>/dev/null | wc -l; }
# Waits until the game has shown $1 more presents (60 s at most).
after() {
    at=$(($(presents) + $1))
    for _ in $(seq 600); do
        [ "$(presents)" -ge "$at" ] && return 0
        sleep 0.1
    done
    return 1
}
# Starts zarvox.exe in folder $1 with the options after it and waits for its
# window to show 30 presents: $game is its pid, $window its window.
start_game() {
    mkdir "$scratch/$1"
    cd "$scratch/$1" || return 1
    shift
    wine "$win/zarvox.exe" "$@" --record-hashes hashes.jsonl 2>stderr.txt &
    game=$!
    window=$(timeout 60 xdotool search --sync --name '^Zarvox$' 2>/dev/null | head -1)
    if [ -n "$window" ] && after 30; then
        xdotool windowfocus --sync "$window" 2>/dev/null
        return 0
    fi
    fail "no window, or it showed nothing"
    kill "$game" 2>/dev/null
    return 1
}
# A key held for $2 presents, as a player holds it: the game reads whether a
# key is down at each frame, so a press and release inside one frame may
# pass unseen.
hold() {
    xdotool keydown "$1"
    after "$2"
    xdotool keyup "$1"
}
# The window's place and size in $now, and its X, Y, WIDTH and HEIGHT.
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    now="${WIDTH}x${HEIGHT}+$X+$Y"
}

if start_game game --record keys.txt; then
    geometry
    windowed=$now
    # 320 rows at a whole scale, and the menu bar above them.
    check "the window: $windowed, the picture at a whole scale under a menu bar" \
        [ $((HEIGHT > WIDTH * 4 / 3 && WIDTH % 240 == 0)) -eq 1 ]
    # Alt+Enter fills the screen, F11 gives the window back as it was.
    xdotool key alt+Return
    after 10
    geometry
    full=$now
    xdotool key F11
    after 10
    geometry
    check "Alt+Enter and F11 toggle fullscreen: $windowed, $full, $now" \
        [ "$full $now" = "1024x768+0+0 $windowed" ]
    hold space 3 # skips the title's opening
    after 50
    hold space 3 # starts a game
    after 150
    hold Left 25
    hold Right 25
    hold space 3
    after 25
    # "Salir" is the menu bar's one item, at its left end.
    xdotool mousemove "$((X + 20))" "$((Y + 9))" click 1
    check "a click on Salir ends the game with status 0" ends_with_status_0 "$game" 300
    cat stderr.txt
    # The recording replays in the native runner, present for present, and
    # the ship moved in the game the keys started.
    "$native/zarvox-sim" --input keys.txt --recorded-play-data --trace trace.jsonl 2>sim.txt
    check "the recording replays in the native runner hash for hash ($(presents) presents)" \
        same_frames hashes.jsonl trace.jsonl
    ship=$(sed -n 's/.*"mode":2,.*"player":{[^}]*"x":\([-0-9]*\),.*/\1/p' trace.jsonl | sort -u | wc -l)
    check "a game started and the ship moved ($ship places)" [ "$ship" -gt 1 ]
fi

# P pauses and plays on; Escape quits, paused or not. The host's own keys
# act as they go down: no frame needs to see them.
if start_game escape; then
    xdotool key p sleep 0.5
    before=$(presents)
    sleep 1
    paused=$(presents)
    xdotool key p
    check "P pauses (no present in a second) and plays on" \
        eval '[ "$paused" -eq "$before" ] && after 10'
    xdotool key p sleep 0.5 keydown Escape sleep 0.3 keyup Escape
    check "Escape ends a paused game with status 0" ends_with_status_0 "$game" 300
fi

cd "$scratch/whole"
check "the whole game replayed in a window ends with status 0" ends_with_status_0 "$whole" 3000 ||
    cat stderr.txt
check "the replay saved nothing" [ ! -e PlayData.dat ]
"$native/zarvox-sim" --input "$keys" --ms-of-second 0 --trace trace.jsonl 2>/dev/null
check "the whole game shows the native runner's $(presents) presents, hash for hash" \
    same_frames hashes.jsonl trace.jsonl
cd "$root"

echo "windows: the Windows checks took $(($(date +%s) - started)) s"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
