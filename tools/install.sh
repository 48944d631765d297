#!/usr/bin/env bash
# Installs Tarnwell for the current user, or removes it again.
#   tools/install.sh install BUILD_DIR [PREFIX]    (PREFIX defaults to ~/.local)
#   tools/install.sh uninstall [PREFIX]
# The program and the runner go to PREFIX/lib/tarnwell with bases/, config/ and translations/
# beside them, as the program expects; a catalogue file or settings file already there is the user's and is never
# replaced. Uninstalling keeps them too.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
action="${1:-}"
case "$action" in
install)
    build="$(cd "${2:?build folder}" && pwd)"
    prefix="${3:-$HOME/.local}"
    ;;
uninstall)
    prefix="${2:-$HOME/.local}"
    ;;
*)
    echo "usage: $0 install BUILD_DIR [PREFIX] | uninstall [PREFIX]" >&2
    exit 2
    ;;
esac
lib="$prefix/lib/tarnwell"
launcher="$prefix/bin/tarnwell"
desktop="$prefix/share/applications/tarnwell.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/tarnwell.svg"

if [ "$action" = uninstall ]; then
    rm -f "$lib/tarnwell" "$lib/tarnwell-batch" "$launcher" "$desktop" "$icon"
    rm -rf "$lib/translations"
    rmdir "$lib" 2>/dev/null || true
    echo "Removed Tarnwell from $prefix; the catalogue ($lib/bases) and settings ($lib/config) stay."
    exit 0
fi

for f in bin/tarnwell bin/tarnwell-batch catalogue/defaults/tarnwell-mkcatalogue bin/translations/tarnwell_en.qm; do
    [ -e "$build/$f" ] || { echo "$build/$f is missing: build first (make build)" >&2; exit 1; }
done
mkdir -p "$lib/bases" "$lib/config" "$prefix/bin" "$(dirname "$desktop")" "$(dirname "$icon")"
install -m 755 "$build/bin/tarnwell" "$build/bin/tarnwell-batch" "$lib/"
mkdir -p "$lib/translations"
install -m 644 "$build"/bin/translations/*.qm "$lib/translations/"

# A fresh default catalogue, not the build tree's copy that a developer may have edited.
fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
QT_QPA_PLATFORM=offscreen "$build/catalogue/defaults/tarnwell-mkcatalogue" "$fresh" >/dev/null
for f in elements_images.db elements.db microchips.db; do
    if [ -e "$lib/bases/$f" ]; then
        echo "Keeping the existing $lib/bases/$f"
    else
        install -m 644 "$fresh/$f" "$lib/bases/$f"
    fi
done
if [ -e "$lib/config/main.ini" ]; then
    echo "Keeping the existing $lib/config/main.ini"
else
    install -m 644 "$src/app/config/main.ini" "$lib/config/main.ini"
fi

cat >"$launcher.tmp" <<LAUNCHER
#!/bin/sh
exec "$lib/tarnwell" "\$@"
LAUNCHER
chmod 755 "$launcher.tmp"
mv "$launcher.tmp" "$launcher"
sed "s|@LAUNCHER@|$launcher|" "$src/tools/install/tarnwell.desktop.in" >"$desktop"
install -m 644 "$src/tools/install/tarnwell.svg" "$icon"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$(dirname "$desktop")" || true
echo "Installed Tarnwell in $lib; start it with $launcher or from the desktop's menu."
