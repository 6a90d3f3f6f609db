#!/usr/bin/env bash
# The Windows installer under Wine, as a player uses it: a silent installation,
# the installed game started once (it writes its installation record), a silent
# uninstallation that keeps the best results, and one told to remove them.
# Also the portable zip: the program alone, a file that needs no DLL beside it.
# Usage (on an X server): installer_test.sh <setup.exe> <portable.zip> <windres> <objdump> <scratch folder>
set -euo pipefail
setup=$1 zip=$2 windres=$3 objdump=$4 scratch=$5
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch" && mkdir -p "$scratch"
export WINEPREFIX=$scratch/wine WINEDEBUG=-all LC_ALL=C.UTF-8
# No Mono or Gecko download prompts, no menu entries in the user's home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT
env -u DISPLAY wine wineboot --init >"$scratch/wineboot.log" 2>&1 || fail "cannot create the Wine prefix"
env -u DISPLAY wineserver -w

# --- The portable zip --------------------------------------------------------
[ "$(unzip -Z1 "$zip")" = sudoku.exe ] || fail "the zip holds more than the program: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q -d "$scratch/portable" "$zip"
exe=$scratch/portable/sudoku.exe
# Only Windows' own libraries: nothing to put beside the program.
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "objdump lists no imports"
for dll in $imports; do
  case "$dll" in
    api-ms-win-*|advapi32.dll|comdlg32.dll|d3d9.dll|d3d11.dll|d3d12.dll|dwmapi.dll|dwrite.dll|dxgi.dll|gdi32.dll|imm32.dll|kernel32.dll|msvcrt.dll|netapi32.dll|ole32.dll|oleaut32.dll|setupapi.dll|shell32.dll|shlwapi.dll|user32.dll|userenv.dll|uxtheme.dll|version.dll|winmm.dll|ws2_32.dll|wtsapi32.dll|authz.dll|mpr.dll|shcore.dll) ;;
    *) fail "sudoku.exe needs $dll, which Windows does not have" ;;
  esac
done
# A window program (subsystem 2) carrying its icon, manifest and version.
headers=$("$objdump" -p "$exe")
grep -Eq '^Subsystem\s+0+2\b' <<<"$headers" || fail "sudoku.exe opens a console window"
"$windres" -i "$exe" -O rc -o "$scratch/resources.rc" 2>/dev/null || fail "windres cannot read the program's resources"
grep -q '"IDI_ICON1" 14 /\* RT_GROUP_ICON' "$scratch/resources.rc" || fail "the program has no icon"
grep -q 'PerMonitorV2' "$scratch/resources.rc" || fail "the manifest does not declare per-monitor DPI awareness"
grep -q '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' "$scratch/resources.rc" || fail "the manifest does not name Windows 10 and 11"
grep -q 'FILEVERSION 2, 0, 0, 432' "$scratch/resources.rc" || fail "the program carries no version 2.0.0.432"

# --- Installation ------------------------------------------------------------
# reg query prints "    <name>    <type>    <data>"; nothing when the value is missing.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora Sudoku'
results_key='HKCU\Software\Kalvora\Sudoku'
program_dir="$WINEPREFIX/drive_c/Program Files/Kalvora/Sudoku"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sudoku.lnk"

install() {
  timeout 120 wine "$setup" /S || fail "the silent installation failed"
  [ -f "$program_dir/sudoku.exe" ] || fail "no sudoku.exe in Program Files\\Kalvora\\Sudoku"
  [ -f "$program_dir/uninstall.exe" ] || fail "no uninstaller beside the program"
  [ -f "$shortcut" ] || fail "no Start-menu shortcut"
  [ "$(value "$uninstall_key" DisplayName)" = Sudoku ] || fail "Apps & features shows no Sudoku"
  [ "$(value "$uninstall_key" DisplayVersion)" = 2.0.0.432 ] || fail "the entry's version is '$(value "$uninstall_key" DisplayVersion)'"
  [ "$(value "$uninstall_key" Publisher)" = Kalvora ] || fail "the entry's publisher is '$(value "$uninstall_key" Publisher)'"
  [ "$(value "$uninstall_key" DisplayIcon)" = 'C:\Program Files\Kalvora\Sudoku\sudoku.exe,0' ] \
    || fail "the entry's icon is '$(value "$uninstall_key" DisplayIcon)'"
  [ "$(value "$uninstall_key" UninstallString)" = '"C:\Program Files\Kalvora\Sudoku\uninstall.exe"' ] \
    || fail "the entry's uninstaller is '$(value "$uninstall_key" UninstallString)'"
  [ "$(value "$uninstall_key" QuietUninstallString)" = '"C:\Program Files\Kalvora\Sudoku\uninstall.exe" /S' ] \
    || fail "the entry's silent uninstaller is '$(value "$uninstall_key" QuietUninstallString)'"
  # In kilobytes: what the installation folder holds.
  size=$(($(value "$uninstall_key" EstimatedSize)))
  actual=$(($(cat "$program_dir"/* | wc -c) / 1024))
  [ "$size" -ge $((actual - 8)) ] && [ "$size" -le $((actual + 8)) ] \
    || fail "the entry's size is $size KB, the folder holds $actual KB"
  cmp -s "$program_dir/sudoku.exe" "$exe" || fail "the installed program differs from the zip's"
}

# The uninstaller copies itself to the temporary folder and returns at once:
# its end shows as the uninstall entry going, and then no Wine process left.
uninstall() {
  timeout 60 wine "$program_dir/uninstall.exe" "$@" || fail "the uninstaller failed to start"
  for _ in $(seq 120); do
    key_exists "$uninstall_key" || break
    sleep 0.5
  done
  timeout 60 wineserver -w || true
  [ ! -e "$program_dir" ] || fail "the program's folder is left: $(ls "$program_dir")"
  [ ! -e "$WINEPREFIX/drive_c/Program Files/Kalvora" ] || fail "the empty Kalvora folder is left"
  [ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left"
  ! key_exists "$uninstall_key" || fail "the Apps & features entry is left"
}

install

# The installed game, started once from its folder, records where it lives.
wine "C:\\Program Files\\Kalvora\\Sudoku\\sudoku.exe" >"$scratch/game.log" 2>&1 &
for _ in $(seq 120); do
  [ -n "$(value "$results_key" Path)" ] && break
  sleep 0.5
done
[ "$(value "$results_key" Path)" = 'C:\Program Files\Kalvora\Sudoku\sudoku.exe' ] \
  || fail "the installation record's Path is '$(value "$results_key" Path)'"
wineserver -k || true
wineserver -w || true
# A best result, as the game stores it.
wine reg add "$results_key\\Lista" /v _g1 /t REG_SZ /d Ania /f >/dev/null
wine reg add "$results_key\\Lista" /v _t1 /t REG_DWORD /d 754 /f >/dev/null
wine reg add "$results_key\\Lista" /v IlePoz /t REG_DWORD /d 1 /f >/dev/null

# A silent uninstallation keeps the player's results and the record beside them.
uninstall /S
[ "$(value "$results_key\\Lista" _g1)" = Ania ] || fail "a silent uninstallation removed the best results"
[ "$(($(value "$results_key\\Lista" _t1)))" = 754 ] || fail "a silent uninstallation changed the best time"
[ -n "$(value "$results_key" Path)" ] || fail "a silent uninstallation removed the installation record"

# Installed again, and uninstalled with the results.
install
[ "$(value "$results_key\\Lista" _g1)" = Ania ] || fail "installing again changed the best results"
uninstall /S /REMOVERESULTS
! key_exists "$results_key" || fail "/REMOVERESULTS left the game's key"
! key_exists 'HKCU\Software\Kalvora' || fail "/REMOVERESULTS left the empty Kalvora key"
echo "installer, uninstaller and portable zip behave"
