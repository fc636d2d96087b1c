#!/bin/sh
# Fails when a tracked C++ file is not as clang-format writes it with the
# project's .clang-format, and names each such file. CLANG_FORMAT picks
# another clang-format binary.
set -e
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format}
command -v "$format" >/dev/null || { echo "check-format: $format not found" >&2; exit 2; }
unformatted=$(git ls-files -- '*.cpp' '*.h' '*.cc' '*.hpp' | while IFS= read -r f; do
    "$format" --style=file --dry-run --Werror "$f" >/dev/null 2>&1 || printf '%s\n' "$f"
done)
if [ -n "$unformatted" ]; then
    echo "Not formatted (run clang-format -i on them):" >&2
    printf '%s\n' "$unformatted" | sed 's/^/  /' >&2
    exit 1
fi
echo "check-format: $(git ls-files -- '*.cpp' '*.h' '*.cc' '*.hpp' | wc -l) files formatted"
