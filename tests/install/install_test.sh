#!/bin/sh
# Installs the built game into scratch prefixes and checks what lands there:
# the files, the desktop entry's Exec line for plain, staged and awkward
# prefixes, the validators' verdicts, and the launcher's data-folder logic.
#   install_test.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2
id=io.github.zarvox_game.Zarvox
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
install_into() {  # PREFIX [DESTDIR]
    DESTDIR=${2:-} "$cmake" --install "$build" --prefix "$1" >"$scratch/install.log" 2>&1
}
exec_line() {
    sed -n 's/^Exec=//p' "$1/share/applications/$id.desktop"
}

# A plain prefix: every file, and entries that agree on one id.
p=$scratch/prefix
install_into "$p" || { cat "$scratch/install.log"; fail "install into $p"; }
for f in bin/zarvox bin/zarvox-launch; do
    [ -x "$p/$f" ] || fail "$f is not an installed program"
done
desktop=$p/share/applications/$id.desktop
icon=$p/share/icons/hicolor/256x256/apps/$id.png
metainfo=$p/share/metainfo/$id.metainfo.xml
for f in "$desktop" "$icon" "$metainfo"; do
    [ -s "$f" ] || fail "missing $f"
done
[ "$(exec_line "$p")" = "$p/bin/zarvox-launch" ] || fail "Exec=$(exec_line "$p")"
grep -qx "Icon=$id" "$desktop" || fail "the entry's icon is not $id"
grep -qx "StartupWMClass=zarvox" "$desktop" || fail "the entry's window class is not zarvox"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
# A PNG signature, then IHDR: 256 x 256, 8-bit RGBA.
header=$(od -An -tx1 -N26 "$icon" | tr -d ' \n')
[ "$header" = "89504e470d0a1a0a0000000d4948445200000100000001000806" ] ||
    fail "the icon is not a 256 x 256 RGBA PNG: $header"

# A staged install names the final prefix, never the staging area.
install_into /opt/zarvox "$scratch/stage" || fail "staged install"
[ "$(exec_line "$scratch/stage/opt/zarvox")" = /opt/zarvox/bin/zarvox-launch ] ||
    fail "staged Exec=$(exec_line "$scratch/stage/opt/zarvox")"

# A prefix with a space, a quote and a dollar is quoted and escaped.
odd="$scratch/my \"games\" \$1"
install_into "$odd" || fail "install into $odd"
[ "$(exec_line "$odd")" = "\"$scratch/my \\\\\"games\\\\\" \\\\\$1/bin/zarvox-launch\"" ] ||
    fail "odd Exec=$(exec_line "$odd")"

# The validators, where installed, accept the plain and the odd entry.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" "$odd/share/applications/$id.desktop" ||
        fail "desktop-file-validate"
else
    echo "desktop-file-validate not found: skipped"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
    echo "appstreamcli not found: skipped"
fi

# A % cannot be named reliably: the install stops before copying anything.
if install_into "$scratch/100%"; then fail "installed into a prefix with %"; fi
[ -e "$scratch/100%/bin/zarvox" ] && fail "copied the game before refusing the prefix"

# The launcher, beside a stand-in game that records where and how it ran.
bin=$scratch/fake/bin
mkdir -p "$bin" "$scratch/home" "$scratch/elsewhere"
cp "$p/bin/zarvox-launch" "$bin/"
cat >"$bin/zarvox" <<'STANDIN'
#!/bin/sh
{ printf '%s|' "$(pwd -P)"; printf '[%s]' "$@"; } >"$STANDIN_OUT"
exit 7
STANDIN
chmod +x "$bin/zarvox"
out=$scratch/standin.out
launch() {  # HOME XDG_DATA_HOME LAUNCHER [ARGS...]; empty HOME means unset
    h=$1 x=$2 l=$3
    shift 3
    rm -f "$out"
    (cd "$scratch/elsewhere" && env -i PATH="$PATH" STANDIN_OUT="$out" \
        ${h:+HOME="$h"} ${x:+XDG_DATA_HOME="$x"} "$l" "$@") 2>"$scratch/launch.err"
}
expect_run_in() {  # DIR ARGS
    want="$(cd "$1" 2>/dev/null && pwd -P)|$2"
    [ "$(cat "$out" 2>/dev/null)" = "$want" ] || fail "ran as '$(cat "$out" 2>/dev/null)', not '$want'"
}

launch "$scratch/home" "" ../fake/bin/zarvox-launch "a b" c
status=$?
[ "$status" -eq 7 ] || fail "the game's exit status $status is not 7"
expect_run_in "$scratch/home/.local/share/zarvox" "[a b][c]"

launch "$scratch/home" "$scratch/xdg data" "$bin/zarvox-launch"
expect_run_in "$scratch/xdg data/zarvox" "[]"

launch "$scratch/home" "relative/dir" "$bin/zarvox-launch"
expect_run_in "$scratch/home/.local/share/zarvox" "[]"
[ -e "$scratch/elsewhere/relative" ] && fail "used a relative XDG_DATA_HOME"

ln -s "$bin/zarvox-launch" "$scratch/elsewhere/play"
launch "$scratch/home" "" ./play
expect_run_in "$scratch/home/.local/share/zarvox" "[]"

: >"$scratch/a-file"
if launch "$scratch/home" "$scratch/a-file" "$bin/zarvox-launch" || [ -e "$out" ]; then
    fail "ran the game without its data folder"
fi
if launch "" "" "$bin/zarvox-launch" || [ -e "$out" ]; then
    fail "ran the game with no HOME"
fi
grep -q HOME "$scratch/launch.err" || fail "no word on the missing HOME"

[ "$failures" -eq 0 ] && echo "install checks passed"
exit "$failures"
