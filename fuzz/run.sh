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
mkdir -p "$out"
flags="-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I$root/src -I$root/tools"
clang++ $flags -o "$out/fuzz_parse_wave" "$here/fuzz_parse_wave.cpp" \
    "$root/src/platform/sound.cpp" "$root/src/vorbel/device.cpp" "$root/src/vorbel/synth.cpp" \
    "$root/src/vorbel/edge_tables.cpp" "$here/stub_host.cpp"
clang++ $flags -o "$out/fuzz_score" "$here/fuzz_score.cpp" "$root/src/vorbel/score.cpp" \
    "$root/src/vorbel/synth.cpp" "$root/src/vorbel/edge_tables.cpp"
clang++ $flags -o "$out/fuzz_key_script" "$here/fuzz_key_script.cpp" "$root/tools/sim/key_script.cpp"
clang++ $flags -o "$out/fuzz_play_data" "$here/fuzz_play_data.cpp" "$root/src/platform/play_data.cpp" \
    "$root/src/platform/file_io.cpp"
for target in fuzz_parse_wave fuzz_score fuzz_key_script fuzz_play_data; do
    corpus="$out/corpus/$target"
    mkdir -p "$corpus"
    case $target in
        fuzz_parse_wave) seeds="$root/resources/wave" ;;
        fuzz_score) seeds="$root/resources/vbtune" ;;
        fuzz_key_script) seeds="$here/seeds/key_script" ;;
        *) seeds="$here/seeds/play_data" ;;
    esac
    regressions="$here/regressions/$target"
    # Known crashers first: each must now run clean.
    if [ -n "$(ls "$regressions" 2>/dev/null)" ]; then
        "$out/$target" "$regressions"/*
    fi
    echo "== $target"
    (cd "$out" && "./$target" -runs="$runs" -max_len=4096 -print_final_stats=1 \
        "$corpus" "$seeds") 2>&1 | grep -E "^(stat::number_of_executed_units|stat::new_units_added|Done|==[0-9]+==ERROR|SUMMARY)" || true
    ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* 2>/dev/null && exit 1
done
exit 0
