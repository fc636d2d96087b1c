#!/bin/sh
# The Windows programs under Wine: the play-data checks, the host's key
# rules, every golden replay through zarvox-sim.exe (each golden frame as
# pinned), and zarvox.exe in a real window on a virtual X display: keys sent
# with xdotool start a game and move the ship, Alt+Enter and F11 toggle
# fullscreen, a click on "Salir" ends it with status 0, and the game
# recorded there replays in the native runner hash for hash; Escape quits
# as well; and a whole recorded game replays in the window as the native
# runner plays it. Needs build-win/ (scripts/build-windows.sh) and the
# native build/ (golden_test and zarvox-sim). Ends with
# "windows: N passed, N failed".
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
win=$root/build-win
native=$root/build
started=$(date +%s)
passed=0
failed=0

pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAILED: $1"; }

for f in "$win/zarvox.exe" "$win/zarvox-sim.exe" "$win/play_data_windows_test.exe" \
    "$win/win32_keys_test.exe" \
    "$native/tests/golden_test" "$native/zarvox-sim"; do
    [ -x "$f" ] || { echo "windows: $f is missing (build it first)" >&2; exit 2; }
done

# A Wine of our own for this run: its own prefix, no .NET or browser
# installer prompts, no sound driver (the game then plays silently), and
# one wineserver kept for the whole run so each program starts at once.
scratch=$(mktemp -d /tmp/zarvox-windows.XXXXXX)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
mkdir -p "$WINEPREFIX"
wineserver -p 600
wineboot -u >/dev/null 2>&1

echo "== play data on Windows"
mkdir "$scratch/play-data"
(cd "$scratch/play-data" && wine "$win/play_data_windows_test.exe" >out.txt 2>err.txt)
status=$?
cat "$scratch/play-data/out.txt"
if [ $status -eq 0 ] && grep -q " 0 failed" "$scratch/play-data/out.txt"; then
    pass "play-data checks"
else
    fail "play-data checks (status $status)"
fi
# One line for each case that cannot save: read-only, unreadable, a folder,
# a file held by another program; the injected faults stay quiet.
lines=$(grep -c "playing on without saving" "$scratch/play-data/err.txt")
if [ "$lines" -eq 4 ] && [ "$(wc -l <"$scratch/play-data/err.txt")" -eq 4 ]; then
    pass "one line on standard error for each file that cannot be saved"
else
    fail "standard error of the play-data checks:"
    cat "$scratch/play-data/err.txt"
fi

echo "== the Win32 host's key rules"
if wine "$win/win32_keys_test.exe" >"$scratch/keys.txt" 2>&1 && grep -q " 0 failed" "$scratch/keys.txt"; then
    pass "key rules: $(tail -1 "$scratch/keys.txt")"
else
    cat "$scratch/keys.txt"
    fail "key rules"
fi

echo "== golden replays through zarvox-sim.exe"
mkdir "$scratch/golden"
if (cd "$scratch/golden" &&
    ZARVOX_SIM_COMMAND="wine '$win/zarvox-sim.exe'" "$native/tests/golden_test" >log.txt 2>&1); then
    pass "every golden replay ($(grep -c '^\[       OK \]' "$scratch/golden/log.txt") cases)"
else
    cat "$scratch/golden/log.txt"
    fail "golden replays on Windows"
fi

echo "== zarvox.exe in a window"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    fail "Xvfb and xdotool are needed for the window test"
    echo "windows: $passed passed, $failed failed"
    exit 1
fi
for attempt in 1 2 3 4 5 6; do
    display=":$((400 + ($$ * 7 + attempt * 61) % 500))"
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.2
    done
    DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
[ -n "$xvfb_pid" ] || { fail "no virtual display"; exit 1; }
export DISPLAY=$display

# Presents the game has shown so far (its --record-hashes file).
presents() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }
# Waits until the game has shown present $2 (60 s at most).
wait_present() {
    for _ in $(seq 600); do
        [ "$(presents "$1")" -ge "$2" ] && return 0
        sleep 0.1
    done
    return 1
}
find_window() {
    for _ in $(seq 300); do
        w=$(xdotool search --name '^Zarvox$' 2>/dev/null | head -1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.2
    done
    return 1
}
# A key held for a few presents, as a player presses it: the game reads
# whether a key is down at each frame, so a press and release inside one
# frame may pass unseen.
press() {
    at=$(presents hashes.jsonl)
    xdotool keydown "$1"
    wait_present hashes.jsonl $((at + 3))
    xdotool keyup "$1"
}
wait_exit() {
    for _ in $(seq 300); do
        kill -0 "$1" 2>/dev/null || { wait "$1"; return $?; }
        sleep 0.1
    done
    kill "$1" 2>/dev/null
    return 124
}

game_dir=$scratch/game
mkdir "$game_dir"
cd "$game_dir"
wine "$win/zarvox.exe" --record keys.txt --record-hashes hashes.jsonl 2>stderr.txt &
game=$!
if window=$(find_window) && wait_present hashes.jsonl 60; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # 320 rows at a whole scale, and the menu bar above them.
    if [ $((HEIGHT - WIDTH * 4 / 3)) -gt 0 ] && [ $((WIDTH % 240)) -eq 0 ]; then
        pass "the window: ${WIDTH}x${HEIGHT} at ($X,$Y), the picture at scale $((WIDTH / 240)) under a menu bar"
    else
        fail "the window is ${WIDTH}x${HEIGHT}"
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null
    # Alt+Enter fills the screen, F11 gives the window back as it was.
    windowed="${WIDTH}x${HEIGHT}+$X+$Y"
    xdotool key alt+Return
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 10))
    eval "$(xdotool getwindowgeometry --shell "$window")"
    full="${WIDTH}x${HEIGHT}+$X+$Y"
    xdotool key F11
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 10))
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [ "$full" = "1024x768+0+0" ] && [ "${WIDTH}x${HEIGHT}+$X+$Y" = "$windowed" ]; then
        pass "Alt+Enter and F11 toggle fullscreen"
    else
        fail "fullscreen: $windowed, then $full, then ${WIDTH}x${HEIGHT}+$X+$Y"
    fi
    press space # skips the title's opening
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 50))
    press space # starts a game
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 150))
    xdotool keydown Left
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 25))
    xdotool keyup Left keydown Right
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 25))
    xdotool keyup Right
    press space
    at=$(presents hashes.jsonl)
    wait_present hashes.jsonl $((at + 25))
    # "Salir" is the menu bar's one item, at its left end.
    xdotool mousemove "$((X + 20))" "$((Y + 9))" click 1
    wait_exit "$game"
    status=$?
    if [ $status -eq 0 ]; then pass "a click on Salir ends the game with status 0"; else fail "Salir: status $status"; fi
else
    fail "no window, or it showed nothing"
    kill "$game" 2>/dev/null
fi
cat stderr.txt

# The recording replays in the native runner, present for present.
"$native/zarvox-sim" --input keys.txt --recorded-play-data --trace trace.jsonl 2>sim.txt
sed -n 's/.*"hash":"\([0-9a-f]*\)".*/\1/p' hashes.jsonl >played.txt
sed -n 's/.*"hash":"\([0-9a-f]*\)".*/\1/p' trace.jsonl >replayed.txt
if [ -s played.txt ] && cmp -s played.txt replayed.txt; then
    pass "the recording replays in the native runner hash for hash ($(wc -l <played.txt) presents)"
else
    fail "the replay differs: $(wc -l <played.txt) presents played, $(wc -l <replayed.txt) replayed"
fi
if grep -q '"mode":2,' trace.jsonl; then
    pass "the keys started a game"
else
    fail "no game started; the recording:"
    grep -v '^ms' keys.txt | head -20
fi
ship=$(sed -n 's/.*"mode":2,.*"player":{[^}]*"x":\([-0-9]*\),.*/\1/p' trace.jsonl | sort -u | wc -l)
if [ "$ship" -gt 1 ]; then pass "the ship moved ($ship places)"; else fail "the ship never moved"; fi

# P pauses and plays on; Escape quits, paused or not.
mkdir "$scratch/escape"
cd "$scratch/escape"
wine "$win/zarvox.exe" --record-hashes hashes.jsonl 2>stderr.txt &
game=$!
if window=$(find_window) && wait_present hashes.jsonl 30; then
    xdotool windowfocus --sync "$window" 2>/dev/null
    # The host's own keys act as they go down: no frame needs to see them.
    xdotool key p
    sleep 0.5
    before=$(presents hashes.jsonl)
    sleep 1
    still=$(presents hashes.jsonl)
    xdotool key p
    at=$(presents hashes.jsonl)
    if [ "$still" -eq "$before" ] && wait_present hashes.jsonl $((at + 10)); then
        pass "P pauses (no present in a second) and plays on"
    else
        fail "pause: $before presents, then $still a second later"
    fi
    xdotool key p
    sleep 0.5
    xdotool keydown Escape
    sleep 0.3
    xdotool keyup Escape
    wait_exit "$game"
    status=$?
    if [ $status -eq 0 ]; then pass "Escape ends a paused game with status 0"; else fail "Escape: status $status"; fi
else
    fail "no window for the Escape test"
    kill "$game" 2>/dev/null
fi

# A whole game, title to ending, replayed in the window (in real time, about
# 75 s): every present as the native runner shows it, and the replay leaves
# no play data behind.
mkdir "$scratch/whole" "$scratch/whole-native"
cd "$scratch/whole"
keys=$root/tests/golden/autoplay_ms0.keys
if wine "$win/zarvox.exe" --replay "$keys" --record-hashes hashes.jsonl 2>stderr.txt; then
    pass "the whole game replayed in the window ends with status 0"
else
    fail "the whole game in the window: status $?"
    cat stderr.txt
fi
(cd "$scratch/whole-native" && "$native/zarvox-sim" --input "$keys" --ms-of-second 0 --trace trace.jsonl 2>/dev/null)
sed -n 's/.*"hash":"\([0-9a-f]*\)".*/\1/p' hashes.jsonl >played.txt
sed -n 's/.*"hash":"\([0-9a-f]*\)".*/\1/p' "$scratch/whole-native/trace.jsonl" >native.txt
if [ -s played.txt ] && cmp -s played.txt native.txt; then
    pass "the whole game shows the native runner's $(wc -l <native.txt) presents, hash for hash"
else
    fail "the whole game differs: $(wc -l <played.txt) presents shown, $(wc -l <native.txt) in the runner"
fi
if [ -e PlayData.dat ]; then fail "the replay wrote PlayData.dat"; else pass "the replay saved nothing"; fi
cd "$root"

echo "windows: the Windows checks took $(($(date +%s) - started)) s"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
