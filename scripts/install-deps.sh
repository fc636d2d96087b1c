#!/bin/sh
# Installs what building, running and testing Zarvox needs on Debian 12.
# Runs apt-get as root, or through sudo for a normal user. Further package
# names given as arguments are installed too.
set -e
PACKAGES="cmake make g++ pkg-config libsdl2-dev libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev desktop-file-utils appstream xvfb xdotool $*"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
