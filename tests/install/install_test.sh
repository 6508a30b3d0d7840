#!/usr/bin/env bash
# Installs the build tree as a user would and checks what lands:
#   install_test.sh install BUILD SOURCE [PROBE]
#     cmake --install into a temporary prefix: the files, the desktop entry,
#     the installed programs' --version/--help, the window's start and its
#     help lookup (PROBE, copied beside the installed programs).
#   install_test.sh package BUILD SOURCE
#     cpack -G DEB: the package's files and its dependencies.
# A missing tool skips its part visibly; with QUORVANE_REQUIRE_CORPUS=1 (CI)
# it fails instead. Exit 77 means the whole check was skipped.
set -uo pipefail
mode=$1 build=$2 source=$3 probe=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# missing TOOL PART: true when the part has to be left out.
missing() {
  command -v "$1" >/dev/null && return 1
  if [[ ${QUORVANE_REQUIRE_CORPUS:-} == 1 ]]; then
    fail "$1 is required (QUORVANE_REQUIRE_CORPUS=1) but not installed: $2"
  else
    echo "SKIP part: $1 is not installed: $2"
  fi
  return 0
}
gui=false
[[ -x $build/quorvane ]] && gui=true

# The width and height of a PNG, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }

check_desktop_entry() {
  local entry=$1
  grep -qx 'Exec=quorvane %f' "$entry" || fail "desktop entry: Exec is not 'quorvane %f'"
  grep -qx 'Icon=quorvane' "$entry" || fail "desktop entry: Icon is not 'quorvane'"
  local mime
  for mime in image/tiff image/png image/jpeg image/bmp image/gif image/x-pcx image/x-tga \
    image/x-ilbm; do
    grep -q "^MimeType=.*$mime;" "$entry" || fail "desktop entry: no MIME type $mime"
  done
  if ! missing desktop-file-validate "the desktop entry's validation"; then
    local said
    said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $said"
    [[ -z $said ]] || fail "desktop-file-validate says: $said"
  fi
}

check_install() {
  local prefix=$work/prefix
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; return; }
  local expected=(bin/quorvane-cli share/man/man1/quorvane-cli.1.gz)
  if $gui; then
    expected+=(bin/quorvane share/man/man1/quorvane.1.gz share/applications/quorvane.desktop
      share/icons/hicolor/scalable/apps/quorvane.svg share/icons/hicolor/48x48/apps/quorvane.png
      share/icons/hicolor/256x256/apps/quorvane.png)
    local page
    for page in "$source"/help/*; do expected+=("share/quorvane/help/${page##*/}"); done
  fi
  local file
  for file in "${expected[@]}"; do [[ -s $prefix/$file ]] || fail "not installed: $file"; done
  for file in "$prefix"/share/man/man1/*.gz; do
    zcat "$file" | grep -q '^\.TH ' || fail "not a manual page: $file"
  done

  local cli=$prefix/bin/quorvane-cli out
  out=$("$cli" --version) || fail "installed quorvane-cli --version exits with $?"
  [[ $out =~ ^Quorvane\ Version\ 1\.[0-9]{2}\.[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
    fail "installed quorvane-cli --version printed '$out'"
  "$cli" --help | grep -q '^usage: quorvane-cli' || fail "installed quorvane-cli --help"
  $gui || return 0

  check_desktop_entry "$prefix/share/applications/quorvane.desktop"
  local size
  for size in 48 256; do
    file=$prefix/share/icons/hicolor/${size}x$size/apps/quorvane.png
    [[ $(png_size "$file") == "${size}x$size" ]] || fail "$file is $(png_size "$file")"
  done
  # The installed window starts, paints and ends on its own.
  export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config
  timeout 120 "$prefix/bin/quorvane" --screenshot "$work/shot.png" >"$work/window.log" 2>&1 &&
    [[ -s $work/shot.png ]] || { cat "$work/window.log"; fail "the installed window did not start"; }
  if [[ -n $probe ]]; then
    cp "$probe" "$prefix/bin/" &&
      timeout 120 "$prefix/bin/${probe##*/}" >"$work/probe.log" 2>&1 ||
      { cat "$work/probe.log"; fail "the installed window does not find its help"; }
  fi
}

check_package() {
  local tool
  for tool in dpkg-deb dpkg-shlibdeps file; do
    if missing "$tool" "the Debian package"; then
      ((failures)) || exit 77
      return
    fi
  done
  (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; return; }
  local deb
  deb=$(ls "$work"/package/quorvane_*.deb 2>/dev/null | head -1)
  [[ -n $deb ]] || { fail "no quorvane_*.deb"; return; }
  echo "package: ${deb##*/}, $(stat -c %s "$deb") bytes"
  local depends files
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  local needed=(libc6 libstdc++6 libtiff6 libpng16-16 libjpeg62-turbo libgif7)
  $gui && needed+=(libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins)
  for tool in "${needed[@]}"; do
    [[ ", $depends," == *", $tool "* || ", $depends," == *", $tool,"* ]] ||
      fail "the package does not depend on $tool"
  done
  files=$(dpkg-deb -c "$deb")
  for tool in ./usr/bin/quorvane-cli ./usr/share/man/man1/quorvane-cli.1.gz; do
    grep -q " $tool\$" <<<"$files" || fail "the package lacks $tool"
  done
  if $gui; then
    for tool in ./usr/bin/quorvane ./usr/share/applications/quorvane.desktop \
      ./usr/share/quorvane/help/index.html ./usr/share/icons/hicolor/scalable/apps/quorvane.svg; do
      grep -q " $tool\$" <<<"$files" || fail "the package lacks $tool"
    done
  fi
}

case $mode in
  install) check_install ;;
  package) check_package ;;
  *) echo "unknown check: $mode" >&2; exit 2 ;;
esac
((failures == 0)) && echo "install check '$mode': passed"
((failures == 0))
