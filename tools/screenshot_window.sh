#!/bin/sh
# Photographs the game's window on a virtual X display.
# Usage: tools/screenshot_window.sh [OUT.png] [SECONDS] [GAME] [SCREEN]
#   OUT.png  where the picture goes (default /tmp/zarvox-window.png)
#   SECONDS  how long the game runs before the picture (default 3)
#   GAME     the game program (default build/zarvox beside this script)
#   SCREEN   the virtual screen, WIDTHxHEIGHTxDEPTH (default 1024x768x24)
# Needs xvfb-run and ImageMagick's import. The game runs in a scratch
# directory so its play data stays out of the way; without a sound card it
# plays silently. The whole screen is captured, so the window's centring
# shows too.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/zarvox-window.png}
seconds=${2:-3}
game=${3:-$here/build/zarvox}
screen=${4:-1024x768x24}

case $out in /*) ;; *) out=$(pwd)/$out ;; esac
case $game in /*) ;; *) game=$(pwd)/$game ;; esac
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "screenshot_window: $tool is missing" >&2; exit 2; }
done
[ -x "$game" ] || { echo "screenshot_window: no game at $game (build it first)" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

xvfb-run -a -s "-screen 0 $screen" sh -c '
    cd "$1"
    "$2" & game=$!
    sleep "$3"
    if ! kill -0 "$game" 2>/dev/null; then
        wait "$game"; echo "screenshot_window: the game ended early (status $?)" >&2; exit 1
    fi
    import -window root "$4"
    xwininfo -name Zarvox 2>/dev/null | grep -E "Absolute|Width|Height" || true
    kill "$game"
    wait "$game"
' screenshot "$scratch" "$game" "$seconds" "$out"
echo "$out"
