#!/usr/bin/env bash
# The Debian package as a user gets it: scripts/package.sh packs this build
# folder, the package is unpacked with dpkg-deb -x and both programs run from
# there without any display; its desktop entry, AppStream data, icons,
# manual pages and systemd user units pass their validators, and lintian
# finds no error.
#
#   package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
source_dir=$1 build_dir=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

out=$(NFP_SKIP_BUILD=1 NFP_BUILD_DIR="$build_dir" NFP_PACKAGE_DIR="$work/packages" \
      bash "$source_dir/scripts/package.sh")
deb=$(tail -n 1 <<<"$out")
arch=$(dpkg --print-architecture)
[ "$deb" = "$work/packages/nfp-envio_${version}_${arch}.deb" ] || fail "package path: $deb"
[ -f "$deb" ] || { echo "FAILED: no package" >&2; exit 1; }

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/nfp-envio
got=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --version) || fail "--version status"
[ "$got" = "nfp-envio $version" ] || fail "--version printed: $got"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --nenhuma >/dev/null 2>"$work/err" || status=$?
[ "$status" = 64 ] || fail "a wrong argument ended with $status"
grep -q '^Uso: nfp-envio' "$work/err" || fail "no usage on standard error"

lote=$root/usr/bin/nfp-envio-lote
got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$lote" --version) || fail "nfp-envio-lote --version status"
[ "$got" = "nfp-envio-lote $version" ] || fail "nfp-envio-lote --version printed: $got"
env -u DISPLAY -u WAYLAND_DISPLAY "$lote" --help | grep -q '^Uso: nfp-envio-lote' || fail "nfp-envio-lote --help"
status=0
"$lote" --processamento --nenhuma >/dev/null 2>"$work/err" || status=$?
[ "$status" = 64 ] || fail "nfp-envio-lote: a wrong argument ended with $status"
# The batch command never links Qt Widgets.
if readelf -d "$lote" | grep -q 'libQt6Widgets'; then fail "nfp-envio-lote links Qt Widgets"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation libqt6widgets6 libqt6printsupport6 libcurl4 libcups2; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "qt6-translations-l10n not recommended"

share=$root/usr/share
desktop-file-validate "$share/applications/nfp-envio.desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Office;Finance;' "$share/applications/nfp-envio.desktop" || fail "categories"
grep -qx 'Terminal=false' "$share/applications/nfp-envio.desktop" || fail "terminal"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >"$work/appstream" 2>&1 ||
  { cat "$work/appstream" >&2; fail "appstreamcli validate"; }
for size in 16 24 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/nfp-envio.png
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "icon $size: $(file "$icon")"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/nfp-envio.svg" || fail "scalable icon"
for name in nfp-envio nfp-envio-lote; do
  page=$share/man/man1/$name.1.gz
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) || fail "man $name"
  [ -z "$warnings" ] || fail "manual page $name warnings: $warnings"
  manual=$(MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)
  for section in NOME SINOPSE DESCRIÇÃO OPÇÕES ARQUIVOS AMBIENTE 'CÓDIGO DE SAÍDA'; do
    grep -q "^$section" <<<"$manual" || fail "manual page $name lacks $section"
  done
done

# The monthly run: user units in the user manager's search path, valid, and
# not enabled by the package.
units=$share/systemd/user
timer=$units/nfp-envio-lote.timer
[ -f "$units/nfp-envio-lote.service" ] && [ -f "$timer" ] || fail "systemd user units missing"
grep -qx 'OnCalendar=\*-\*-05 08:00:00' "$timer" || fail "timer: not on day 5 at 08:00"
grep -qx 'Persistent=true' "$timer" || fail "timer: not persistent"
grep -q -- '--mes anterior --processamento --resumo' "$units/nfp-envio-lote.service" || fail "service: options"
mkdir -m 700 "$work/runtime"
verified=$(XDG_RUNTIME_DIR=$work/runtime systemd-analyze verify --man=no --user \
           "$units/nfp-envio-lote.service" "$timer" 2>&1) || fail "systemd-analyze verify: $verified"
[ -z "$verified" ] || fail "systemd-analyze verify: $verified"
if find "$root" -path '*wants*' | grep -q .; then fail "the package enables a unit"; fi

# Errors fail; warnings are shown.
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"

[ "$failures" = 0 ] || exit 1
echo "package $deb: built, unpacked, run, validated"
