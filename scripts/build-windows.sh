#!/bin/sh
# Builds the game for Windows on this Debian machine: installs Debian's
# mingw-w64 (POSIX thread model) and Wine if missing, builds the resource
# embedder for this machine, cross-builds with cmake/mingw-w64-x86_64.cmake
# and writes
#   build-win/zarvox.exe                 the game (static: only Windows' own DLLs)
#   build-win/zarvox-sim.exe             the headless runner
#   build-win/play_data_windows_test.exe and win32_keys_test.exe, checks that
#                                        tests/windows/run.sh runs under Wine
#   build-win/zarvox-windows.zip         the game, a README for players and the licence
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 zip

out=build-win
mkdir -p "$out/native"
# The resource embedder runs at build time, so it is built for this machine.
c++ -std=c++20 -O2 -o "$out/native/embed_resources" tools/embed/embed_resources.cpp

cmake -S src/hosts/win32 -B "$out/obj" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DEMBED_RESOURCES="$PWD/$out/native/embed_resources" >/dev/null
cmake --build "$out/obj" -j2
for exe in zarvox zarvox-sim play_data_windows_test win32_keys_test; do
    x86_64-w64-mingw32-strip -o "$out/$exe.exe" "$out/obj/$exe.exe"
done

# Both programs must run on a bare Windows: only system DLLs imported.
for exe in zarvox zarvox-sim; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$out/$exe.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    for dll in $dlls; do
        case $dll in
            kernel32.dll | user32.dll | gdi32.dll | winmm.dll | shell32.dll | msvcrt.dll | \
                advapi32.dll | ole32.dll) ;;
            *) echo "build-windows: $exe.exe imports $dll, which Windows does not have" >&2; exit 1 ;;
        esac
    done
done

# The zip a Windows player gets: the game, how to play it, the licence.
pack="$out/pack/Zarvox"
rm -rf "$out/pack" "$out/zarvox-windows.zip"
mkdir -p "$pack"
cp "$out/zarvox.exe" "$pack/"
sed 's/$/\r/' packaging/windows/README.txt > "$pack/README.txt"
sed 's/$/\r/' LICENSE > "$pack/LICENSE.txt"
(cd "$out/pack" && zip -q -X -r ../zarvox-windows.zip Zarvox)
rm -rf "$out/pack"
ls -l "$out/zarvox.exe" "$out/zarvox-sim.exe" "$out/zarvox-windows.zip" | awk '{print $5, $NF}'
