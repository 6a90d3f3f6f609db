#!/usr/bin/env bash
# Makes the game's installer (installer.nsi) with its pictures and icon from assets/.
# The installer and the uninstaller inside it are signed (sign.sh) when
# SUDOKU_SIGN_CERT names a certificate; otherwise the output says they are unsigned.
#
# Usage: make-installer.sh <setup.exe> <version> <sudoku.exe> <licences folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
assets=$(cd "$here/../../assets" && pwd)
out=$1 version=$2 exe=$3 licences=$4

options=()
# Another compressor than the script's LZMA (the tests' throwaway installers use zlib, quicker).
if [ -n "${SUDOKU_INSTALLER_COMPRESSOR:-}" ]; then
  options+=("-DCOMPRESSOR=$SUDOKU_INSTALLER_COMPRESSOR")
fi
if [ -n "${SUDOKU_SIGN_CERT:-}" ]; then
  # makensis runs it on the uninstaller before packing it, and on the installer last.
  options+=("-DSIGN=$here/sign.sh")
fi
makensis -V2 -WX -NOCD \
  "-DVERSION=$version" "-DEXE=$exe" "-DICON=$assets/icons/sudoku.ico" "-DLICENCES=$licences" \
  "-DWIZARD_BITMAP=$assets/installer/wizard.bmp" "-DHEADER_BITMAP=$assets/installer/header.bmp" \
  "-DOUTFILE=$out" "${options[@]}" "$here/installer.nsi"
if [ -z "${SUDOKU_SIGN_CERT:-}" ]; then
  echo "$(basename "$out") and its uninstaller: unsigned (no certificate: SUDOKU_SIGN_CERT is not set)"
fi
