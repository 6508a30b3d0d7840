#!/usr/bin/env bash
# Installs the build tree as a user would and checks what lands:
#   install_test.sh install BUILD SOURCE [PROBE]: cmake --install into a
#     temporary prefix; the files, the desktop entry, the installed programs'
#     --version/--help, the window's start and (PROBE, copied beside the
#     installed programs) its help lookup.
#   install_test.sh package BUILD SOURCE: cpack -G DEB; files, dependencies.
# A missing tool skips its part visibly (exit 77 when nothing is left to
# check); with QUORVANE_REQUIRE_CORPUS=1 (CI) it fails instead.
set -uo pipefail
mode=$1 build=$2 source=$3 probe=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# True (after saying so) when TOOL is absent and its part is left out.
missing() {
  command -v "$1" >/dev/null && return 1
  [[ ${QUORVANE_REQUIRE_CORPUS:-} == 1 ]] && fail "$1 is required but not installed ($2)" ||
    echo "SKIP part: $1 is not installed ($2)"
}
gui=false
[[ -x $build/quorvane ]] && gui=true
png_size() { od -An -tu1 -j18 -N6 "$1" | awk '{print $1*256+$2 "x" $5*256+$6}'; }

check_install() {
  local prefix=$work/usr file
  cmake --install "$build" --prefix "$prefix" >"$work/log" 2>&1 || { cat "$work/log"; fail "cmake --install"; return; }
  local expected=(bin/quorvane-cli share/man/man1/quorvane-cli.1.gz)
  $gui && expected+=(bin/quorvane share/man/man1/quorvane.1.gz share/applications/quorvane.desktop
    share/icons/hicolor/scalable/apps/quorvane.svg "$source"/help/*)
  for file in "${expected[@]}"; do
    file=${file/#$source\/help/share\/quorvane\/help}
    [[ -s $prefix/$file ]] || fail "not installed: $file"
  done
  for file in "$prefix"/share/man/man1/*; do zgrep -q '^\.TH ' "$file" || fail "not a manual page: $file"; done

  # The version is the window program's date where it stands beside the tool.
  local cli=$work/bin/quorvane-cli
  mkdir "$work/bin" && cp "$prefix/bin/quorvane-cli" "$cli" && touch -d '2002-04-06 12:00' "$cli"
  [[ $("$cli" --version) == "Quorvane Version 1.02.4.6.7" ]] || fail "--version alone: $("$cli" --version)"
  touch -d '2001-03-05 12:00' "$work/bin/quorvane"
  [[ $("$cli" --version) == "Quorvane Version 1.01.3.5.7" ]] || fail "--version beside the window"
  [[ $("$prefix/bin/quorvane-cli" --help) == *$'\n  info FILE'* ]] || fail "installed quorvane-cli --help"
  $gui || return 0

  file=$prefix/share/applications/quorvane.desktop
  grep -qx 'Exec=quorvane %f' "$file" || fail "desktop entry: Exec"
  grep -qx 'MimeType=image/tiff;image/png;image/jpeg;image/bmp;image/gif;image/x-pcx;image/x-tga;image/x-ilbm;' \
    "$file" || fail "desktop entry: MIME types"
  if ! missing desktop-file-validate "the desktop entry"; then
    local said
    said=$(desktop-file-validate "$file" 2>&1) && [[ -z $said ]] || fail "desktop-file-validate: $said"
  fi
  for size in 48 256; do
    file=$prefix/share/icons/hicolor/${size}x$size/apps/quorvane.png
    [[ -s $file && $(png_size "$file") == "${size}x$size" ]] || fail "icon $size: $(png_size "$file")"
  done
  # The installed window starts, paints and ends; the probe opens its help.
  export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config
  timeout 120 "$prefix/bin/quorvane" --screenshot "$work/shot.png" >"$work/log" 2>&1 && [[ -s $work/shot.png ]] ||
    { cat "$work/log"; fail "the installed window did not start"; }
  [[ -z $probe ]] || { cp "$probe" "$prefix/bin/" && timeout 120 "$prefix/bin/${probe##*/}" >"$work/log" 2>&1; } ||
    { cat "$work/log"; fail "the installed window does not find its help"; }
}

check_package() {
  local tool deb
  for tool in dpkg-deb dpkg-shlibdeps file; do
    if missing "$tool" "the Debian package"; then ((failures)) || exit 77; return; fi
  done
  (cd "$build" && cpack -G DEB -B "$work") >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack -G DEB"; return; }
  deb=$(echo "$work"/quorvane_*.deb)
  [[ -f $deb ]] || { fail "no quorvane_*.deb"; return; }
  local depends files needed=(libc6 libstdc++6 libtiff6 libpng16-16 libjpeg62-turbo libgif7)
  depends=", $(dpkg-deb -f "$deb" Depends),"
  files=$(dpkg-deb -c "$deb")
  echo "${deb##*/}: $(stat -c %s "$deb") bytes; Depends: ${depends:2:-1}"
  $gui && needed+=(libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins)
  for tool in "${needed[@]}"; do
    [[ $depends == *", $tool "* || $depends == *", $tool,"* ]] || fail "the package does not depend on $tool"
  done
  for file in bin/quorvane-cli share/man/man1/quorvane-cli.1.gz; do
    grep -q " ./usr/$file\$" <<<"$files" || fail "the package lacks $file"
  done
  $gui && for file in bin/quorvane share/applications/quorvane.desktop share/quorvane/help/index.html; do
    grep -q " ./usr/$file\$" <<<"$files" || fail "the package lacks $file"
  done
}

case $mode in
  install) check_install ;;
  package) check_package ;;
  *) echo "unknown check: $mode" >&2; exit 2 ;;
esac
((failures == 0)) && echo "install check '$mode': passed"
((failures == 0))
