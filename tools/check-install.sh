#!/usr/bin/env bash
# Installs into a fresh home folder, starts the installed launcher, uninstalls, and checks what
# stays: the user's catalogue and settings, nothing else of the program.
#   tools/check-install.sh BUILD_DIR
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?build folder}" && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home"
fail() { echo "check-install: $*" >&2; exit 1; }
lib="$home/.local/lib/tarnwell"

bash "$src/tools/install.sh" install "$build" >/dev/null
for f in "$lib/tarnwell" "$lib/tarnwell-batch" "$lib/bases/elements_images.db" "$lib/bases/elements.db" \
         "$lib/bases/microchips.db" "$lib/config/main.ini" "$lib/translations/tarnwell_en.qm" \
         "$home/.local/bin/tarnwell" "$home/.local/share/applications/tarnwell.desktop" \
         "$home/.local/share/icons/hicolor/scalable/apps/tarnwell.svg"; do
    [ -e "$f" ] || fail "missing after install: $f"
done

# Started from the launcher, the program finds the catalogue beside its executable.
run() { QT_QPA_PLATFORM=offscreen TARNWELL_QUIT_AFTER_SHOW=1 timeout 60 "$home/.local/bin/tarnwell"; }
out="$(run)" || fail "the installed program did not start and quit"
echo "$out"
case "$out" in
*"catalogue $lib/bases:"*" 0 chips"*) fail "the installed catalogue is empty" ;;
*"catalogue $lib/bases:"*) ;;
*) fail "the program did not come up with $lib/bases" ;;
esac

# In English it finds its translation beside it.
err="$(TARNWELL_LANG=en run 2>&1 >/dev/null)" || fail "the installed program did not start in English"
case "$err" in *tarnwell_en.qm*) fail "the installed program found no English translation" ;; esac

# A second install keeps the user's catalogue and settings.
echo "[Main]" >"$lib/config/main.ini"
printf 'mine' >"$lib/bases/microchips.db"
bash "$src/tools/install.sh" install "$build" >/dev/null
[ "$(cat "$lib/config/main.ini")" = "[Main]" ] || fail "install replaced the settings"
[ "$(cat "$lib/bases/microchips.db")" = "mine" ] || fail "install replaced the catalogue"

bash "$src/tools/install.sh" uninstall >/dev/null
for f in "$lib/tarnwell" "$lib/tarnwell-batch" "$lib/translations" "$home/.local/bin/tarnwell" \
         "$home/.local/share/applications/tarnwell.desktop" \
         "$home/.local/share/icons/hicolor/scalable/apps/tarnwell.svg"; do
    [ ! -e "$f" ] || fail "left after uninstall: $f"
done
for f in elements_images.db elements.db microchips.db; do
    [ -e "$lib/bases/$f" ] || fail "uninstall removed the user's $f"
done
[ -e "$lib/config/main.ini" ] || fail "uninstall removed the user's settings"
echo "check-install: ok"
