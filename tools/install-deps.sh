#!/usr/bin/env bash
# Installs the Debian packages the build needs, once: nothing happens when they are all present.
set -euo pipefail
pkgs=(cmake make g++ ccache qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
      libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core
      qt6-translations-l10n qt6-l10n-tools qt6-tools-dev clang-format git clang-14 libclang-rt-14-dev
      qt6-svg-dev librsvg2-bin # a test renders exported SVG back with Qt's renderer and rsvg-convert
      gtkwave) # gtkwave: its vcd2fst and fst2vcd read the exported traces in a test
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
