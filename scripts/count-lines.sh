#!/bin/sh
# Counts non-blank, non-comment lines of the tracked files, by top-level
# folder, and the ratio of test code to product code. Product code is
# src tools bench fuzz cmake (with the top CMakeLists.txt) scripts; test code
# is tests/ without the golden replays' pinned data (*.golden, *.keys,
# cases.txt) and the web test's package lock. Prose (*.md), fuzz seeds, the
# mutation script's list of mutants and binary files are not code. Run from
# anywhere.
set -e
cd "$(dirname "$0")/.."

# Prints the number of code lines of the files named on stdin.
count() {
    n=0
    while IFS= read -r f; do
        case "$f" in
            *.dat|*.keep|*.png|*.wav|*.ogg|*.md|fuzz/seeds/*|scripts/mutants.txt|*package-lock.json) continue ;;
        esac
        grep -Iq . "$f" 2>/dev/null || continue  # binary or empty
        case "$f" in
            *.cpp|*.h|*.cc|*.hpp|*.js|*.mjs) style=c ;;
            *.html) style=html ;;
            *.sh|*.cmake|*CMakeLists.txt|*.py) style=hash ;;
            *) style=plain ;;
        esac
        c=$(awk -v style="$style" '
            style == "c" {
                line = $0; out = ""
                while (length(line) > 0) {
                    if (inblock) {
                        e = index(line, "*/")
                        if (e == 0) { line = ""; break }
                        line = substr(line, e + 2); inblock = 0
                    } else {
                        s = index(line, "/*"); d = index(line, "//")
                        if (d > 0 && (s == 0 || d < s)) { out = out substr(line, 1, d - 1); line = ""; break }
                        if (s == 0) { out = out line; line = ""; break }
                        out = out substr(line, 1, s - 1); line = substr(line, s + 2); inblock = 1
                    }
                }
                if (out ~ /[^ \t]/) n++
                next
            }
            style == "html" {
                line = $0; out = ""
                while (length(line) > 0) {
                    if (inblock) {
                        e = index(line, "-->")
                        if (e == 0) { line = ""; break }
                        line = substr(line, e + 3); inblock = 0
                    } else {
                        s = index(line, "<!--")
                        if (s == 0) { out = out line; break }
                        out = out substr(line, 1, s - 1); line = substr(line, s + 4); inblock = 1
                    }
                }
                if (out ~ /[^ \t]/) n++
                next
            }
            style == "hash" { if ($0 ~ /[^ \t]/ && $0 !~ /^[ \t]*#/) n++; next }
            { if ($0 ~ /[^ \t]/) n++ }
            END { print n + 0 }' "$f")
        n=$((n + c))
    done
    echo "$n"
}

product=0
for dir in src tools bench fuzz cmake scripts; do
    if [ "$dir" = cmake ]; then
        c=$(git ls-files -- cmake CMakeLists.txt | count)
    else
        c=$(git ls-files -- "$dir" | count)
    fi
    printf '%-8s %6d\n' "$dir" "$c"
    product=$((product + c))
done
tests=$(git ls-files -- tests | grep -v -e '^tests/golden/.*\.golden$' -e '^tests/golden/.*\.keys$' \
    -e '^tests/golden/cases\.txt$' | count)
printf '%-8s %6d\n' product "$product" tests "$tests"
awk -v t="$tests" -v p="$product" 'BEGIN { printf "ratio    %6.2f\n", t / p }'
