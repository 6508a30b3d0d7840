#!/usr/bin/env bash
# install_test.sh install|package BUILD SOURCE [PROBE]
#   install: cmake --install into a temporary prefix; the files, the desktop
#     entry, the installed programs' --version/--help, the window's start and
#     (PROBE, copied beside the installed programs) its help lookup.
#   package: cpack -G DEB; the package's files and dependencies.
# A missing tool skips its part visibly (exit 77 when nothing is left); with
# QUORVANE_REQUIRE_CORPUS=1 (CI) it fails instead.
set -uo pipefail
mode=$1 build=$2 source=$3 probe=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
missing() { # TOOL WHAT: true, after saying so, when TOOL is absent
  command -v "$1" >/dev/null && return 1
  [[ ${QUORVANE_REQUIRE_CORPUS:-} == 1 ]] && fail "$1 is required ($2)" || echo "SKIP part: no $1 ($2)"
}
files=(bin/quorvane-cli share/man/man1/quorvane-cli.1.gz)
[[ -x $build/quorvane ]] && gui=true || gui=false
$gui && files+=(bin/quorvane share/man/man1/quorvane.1.gz share/applications/quorvane.desktop
  share/icons/hicolor/{scalable/apps/quorvane.svg,48x48/apps/quorvane.png,256x256/apps/quorvane.png}
  $(cd "$source" && printf 'share/quorvane/%s ' help/*))

check_install() {
  local prefix=$work/usr file cli=$work/bin/quorvane-cli
  cmake --install "$build" --prefix "$prefix" >"$work/log" 2>&1 || { cat "$work/log"; fail "cmake --install"; }
  for file in "${files[@]}"; do [[ -s $prefix/$file ]] || fail "not installed: $file"; done
  # The version is the window program's date where it stands beside the tool.
  mkdir "$work/bin" && cp "$prefix/bin/quorvane-cli" "$cli" && touch -d '2002-04-06 12:00' "$cli"
  [[ $("$cli" --version) == "Quorvane Version 1.02.4.6.7" ]] || fail "--version: $("$cli" --version)"
  touch -d '2001-03-05 12:00' "$work/bin/quorvane"
  [[ $("$cli" --version) == "Quorvane Version 1.01.3.5.7" ]] || fail "--version beside the window"
  [[ $("$cli" --help) == *$'\n  info FILE'* ]] || fail "quorvane-cli --help"
  $gui || return 0
  file=$prefix/share/applications/quorvane.desktop
  grep -qx 'Exec=quorvane %f' "$file" || fail "desktop entry: Exec"
  grep -qx 'MimeType=image/tiff;image/png;image/jpeg;image/bmp;image/gif;image/x-pcx;image/x-tga;image/x-ilbm;' \
    "$file" || fail "desktop entry: MIME types"
  if ! missing desktop-file-validate "the desktop entry"; then
    local said
    said=$(desktop-file-validate "$file" 2>&1) && [[ -z $said ]] || fail "desktop-file-validate: $said"
  fi
  export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config
  timeout 120 "$prefix/bin/quorvane" --screenshot "$work/shot.png" >"$work/log" 2>&1 && [[ -s $work/shot.png ]] ||
    { cat "$work/log"; fail "the installed window did not start"; }
  [[ -z $probe ]] || { cp "$probe" "$prefix/bin/" && timeout 120 "$prefix/bin/${probe##*/}" >"$work/log" 2>&1; } ||
    { cat "$work/log"; fail "the installed window does not find its help"; }
}

check_package() {
  local tool deb depends contents needed=(libc6 libstdc++6 libtiff6 libpng16-16 libjpeg62-turbo libgif7)
  for tool in dpkg-deb dpkg-shlibdeps file; do
    if missing "$tool" "the Debian package"; then ((failures)) || exit 77; return; fi
  done
  (cd "$build" && cpack -G DEB -B "$work") >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack -G DEB"; return; }
  deb=$(echo "$work"/quorvane_*.deb)
  depends=", $(dpkg-deb -f "$deb" Depends)," contents=$(dpkg-deb -c "$deb") || { fail "no package"; return; }
  echo "${deb##*/}: $(stat -c %s "$deb") bytes; Depends: ${depends:2:-1}"
  $gui && needed+=(libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins)
  for tool in "${needed[@]}"; do
    [[ $depends == *", $tool "* || $depends == *", $tool,"* ]] || fail "the package does not depend on $tool"
  done
  # PROJ is opened at run time, out of sight of dpkg-shlibdeps.
  [[ $depends == *", libproj"* ]] || fail "the package does not depend on PROJ"
  for file in "${files[@]}"; do grep -q " ./usr/$file\$" <<<"$contents" || fail "not in the package: $file"; done
}

case $mode in
  install) check_install ;;
  package) check_package ;;
  *) echo "unknown check: $mode" >&2; exit 2 ;;
esac
((failures == 0)) && echo "install check '$mode': passed"
((failures == 0))
