#!/usr/bin/env bash
# The English translation's source file, translations/tarnwell_en.ts, against the program's texts.
#   tools/translations.sh update   brings the file up to date with the sources (new texts come in
#                                  unfinished, texts no longer in the sources go out)
#   tools/translations.sh check    fails when a text of the sources has no finished translation
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
ts="$src/translations/tarnwell_en.ts"
lupdate="$(command -v lupdate6 || true)"
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || { echo "lupdate is missing: bash tools/install-deps.sh installs qt6-l10n-tools" >&2; exit 1; }
dirs=(app catalogue document editor model router sim tools ui)
run_lupdate() { # into the .ts file $1
    (cd "$src" && "$lupdate" -silent -no-obsolete -I . -locations none -extensions cpp,h \
        -source-language ru_RU -target-language en_US "${dirs[@]}" -ts "$1")
}
case "${1:-}" in
update)
    run_lupdate "$ts"
    ;;
check)
    tmp="$(mktemp -d)"
    trap 'rm -rf "$tmp"' EXIT
    cp "$ts" "$tmp/tarnwell_en.ts"
    run_lupdate "$tmp/tarnwell_en.ts"
    if grep -q 'type="unfinished"' "$tmp/tarnwell_en.ts"; then
        echo "Texts without an English translation (tools/translations.sh update, then translate):" >&2
        grep -B2 'type="unfinished"' "$tmp/tarnwell_en.ts" | grep '<source>' | sed 's/^ */  /' >&2
        exit 1
    fi
    if ! cmp -s "$ts" "$tmp/tarnwell_en.ts"; then
        echo "translations/tarnwell_en.ts is not up to date with the sources: tools/translations.sh update" >&2
        diff "$ts" "$tmp/tarnwell_en.ts" >&2 || true
        exit 1
    fi
    echo "translations/tarnwell_en.ts: every text translated"
    ;;
*)
    echo "usage: $0 update|check" >&2
    exit 2
    ;;
esac
