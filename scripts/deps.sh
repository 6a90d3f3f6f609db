#!/usr/bin/env bash
# Installs the Debian packages that building, playing or testing the game needs.
# Usage: scripts/deps.sh play|test|windows-qt   (skips what is installed; sudo when not root)
#   windows-qt: what building the static Qt for Windows from Debian's source needs
set -euo pipefail

build_packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libgtest-dev libx11-dev)
play_packages=(qt6-qpa-plugins)
windows_qt_packages=(cmake ninja-build perl dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64)
test_packages=(xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick desktop-file-utils appstream dpkg-dev g++-mingw-w64-x86-64 wine wine64 clang-14 libclang-rt-14-dev nsis unzip osslsigncode openssl at-spi2-core dbus-bin dbus-daemon python3-pyatspi)

case "${1:-}" in
  play) wanted=("${build_packages[@]}" "${play_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${play_packages[@]}" "${test_packages[@]}" "${windows_qt_packages[@]}") ;;
  windows-qt) wanted=("${windows_qt_packages[@]}") ;;
  *) echo "usage: $0 play|test|windows-qt" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
