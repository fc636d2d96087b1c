#!/bin/sh
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan, and runs them.
# Usage: fuzz/run.sh [RUNS]   (default 10000000 inputs per target)
# Each target keeps its corpus in build-fuzz/corpus/NAME; crashing inputs
# land in build-fuzz/ and belong in fuzz/regressions/NAME/ once understood.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="$root/build-fuzz"
runs=${1:-10000000}
# The targets build from CMake in their own tree, instrumented throughout.
CXX=clang++ CC=clang cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZARVOX_FUZZ=ON -DZARVOX_TESTS=OFF -DZARVOX_BENCH=OFF >/dev/null
cmake --build "$out" -j2 --target fuzz_targets >/dev/null
targets=$(cd "$here" && ls fuzz_*.cpp | sed 's/\.cpp$//')
for target in $targets; do
    corpus="$out/corpus/$target"
    mkdir -p "$corpus"
    case $target in
        fuzz_parse_wave) seeds="$root/resources/wave" ;;
        fuzz_score) seeds="$root/resources/vbtune" ;;
        fuzz_bmp) seeds="$root/resources/bitmap" ;;
        fuzz_key_script) seeds="$here/seeds/key_script" ;;
        *) seeds="$here/seeds/play_data" ;;
    esac
    regressions="$here/regressions/$target"
    # Known crashers first: each must now run clean.
    if [ -n "$(ls "$regressions" 2>/dev/null)" ]; then
        "$out/fuzz/$target" "$regressions"/*
    fi
    echo "== $target"
    (cd "$out" && "./fuzz/$target" -runs="$runs" -max_len=4096 -print_final_stats=1 \
        "$corpus" "$seeds") 2>&1 | grep -E "^(stat::number_of_executed_units|stat::new_units_added|Done|==[0-9]+==ERROR|SUMMARY)" || true
    ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* 2>/dev/null && exit 1
done
exit 0
