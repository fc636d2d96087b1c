#!/bin/sh
# Writes the key scripts of the golden cases that are not written by hand:
# whole games as the runner's own player plays them, and long runs of random
# presses from a fixed seed. Run from the source root with a built runner:
#   sh tests/golden/make_keys.sh build/zarvox-sim
# The scripts are committed; rerunning this is only for new cases.
set -e
sim=${1:-build/zarvox-sim}
dir=tests/golden
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for ms in 0 370 990; do
    (cd "$scratch" && "$OLDPWD/$sim" --autoplay --ms-of-second $ms \
        --autoplay-script "$OLDPWD/$dir/autoplay_ms$ms.keys" 2>/dev/null)
done

# Random presses: a fixed linear congruential sequence picks the gap, the
# kind of message and the key, so odd orders of keys are pinned too.
for start in 1 2 3 4; do
    awk -v seed=$((start * 7919)) -v frames=3000 'BEGIN {
        split("LEFT RIGHT SPACE SPACE SPACE UP DOWN Z SHIFT", keys, " ")
        split("down up press press", kinds, " ")
        s = seed; f = 2
        while (f < frames) {
            s = (s * 214013 + 2531011) % 4294967296; f += int(s / 65536) % 12
            s = (s * 214013 + 2531011) % 4294967296; k = keys[int(s / 65536) % 9 + 1]
            s = (s * 214013 + 2531011) % 4294967296; m = kinds[int(s / 65536) % 4 + 1]
            print f " " m " " k
        }
    }' > "$dir/random_start$start.keys"
done
