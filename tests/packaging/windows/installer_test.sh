#!/usr/bin/env bash
# The Windows installer under Wine, as players and administrators use it.
#
# The portable zip: the program with its licences, a file that needs no DLL beside it.
# For the player alone (the default; run with the player's limited token through
# run_limited.exe, since Wine starts every program elevated): installing, the
# installed game recording its path, installing and uninstalling while the game
# runs (refused, nothing changed), upgrades, a refused and an allowed downgrade,
# a reinstallation of the same version and one into another folder (one
# installation, one entry), an elevated uninstaller refusing the player's own
# installation, the silent uninstallation returning when it has finished, with
# and without the best results.
# For everyone (elevated): the computer's installation, touching no player's
# entry, refusing /REMOVERESULTS and a running game; what Wine cannot elevate.
# Every step checks the files, the Start-menu shortcut, the Apps & features
# entry and the exit code.
#
# Usage (on an X server): installer_test.sh <setup.exe> <portable.zip> <windres> <objdump>
#                         <scratch folder> <run_limited.exe> <make-installer.sh>
set -euo pipefail
setup=$1 zip=$2 windres=$3 objdump=$4 scratch=$5 run_limited=$6 make_installer=$7
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch" && mkdir -p "$scratch"
export WINEPREFIX=$scratch/wine WINEDEBUG=-all LC_ALL=C.UTF-8
# No Mono or Gecko download prompts, no menu entries in the user's home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT
env -u DISPLAY wine wineboot --init >"$scratch/wineboot.log" 2>&1 || fail "cannot create the Wine prefix"
env -u DISPLAY wineserver -w

# --- The portable zip --------------------------------------------------------
licences="EBGaramond-OFL.txt Apache-2.0.txt GPL-3.0.txt LGPL-3.0.txt Liberation-LICENSE.txt MDI-LICENSE.txt NOTICE.txt Qt-third-party.txt mingw-w64-runtime.txt"
expected=$(printf '%s\n' sudoku.exe licences/ $(printf 'licences/%s\n' $licences) | sort)
[ "$(unzip -Z1 "$zip" | sort)" = "$expected" ] || fail "the zip holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q -d "$scratch/portable" "$zip"
exe=$scratch/portable/sudoku.exe
grep -q "LGPL 3" "$scratch/portable/licences/NOTICE.txt" || fail "NOTICE.txt says nothing of Qt's LGPL"
grep -q "qt6-base" "$scratch/portable/licences/NOTICE.txt" || fail "NOTICE.txt does not say where Qt's source is"
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

# --- Helpers -----------------------------------------------------------------
# A Unix path as Windows sees it (drive Z:).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
run_limited_w=$(windows_path "$run_limited")
# Runs a Windows command line, exactly as given, as the player (limited token) or
# as an administrator (elevated, Wine's own way); prints its exit code.
as_player() { local rc=0; timeout 180 wine "$run_limited_w" "$1" >>"$scratch/wine.log" 2>&1 || rc=$?; echo "$rc"; }
as_admin() { local rc=0; timeout 180 wine "$run_limited_w" --elevated "$1" >>"$scratch/wine.log" 2>&1 || rc=$?; echo "$rc"; }
expect() { # expect <code> <what> <actual code>
  [ "$3" = "$1" ] || fail "$2: exit code $3, expected $1"
}
# reg query prints "    <name>    <type>    <data>"; nothing when the value is missing.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -1)
profile=$WINEPREFIX/drive_c/users/$user
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora Sudoku'
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora Sudoku'
results_key='HKCU\Software\Kalvora\Sudoku'
user_win="C:\\users\\$user\\AppData\\Local\\Programs\\Kalvora\\Sudoku"
user_shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sudoku.lnk"
machine_win='C:\Program Files\Kalvora\Sudoku'
machine_shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sudoku.lnk"
# The Unix folder of a C:\ path.
unix_dir() { local p=${1#C:\\}; printf '%s/drive_c/%s' "$WINEPREFIX" "${p//\\//}"; }

# The installation in <folder> with its <shortcut> and its entry <key> at <version>.
check_installed() { # <folder (C:\...)> <shortcut> <key> <version>
  local folder=$1 shortcut=$2 key=$3 version=$4 dir
  dir=$(unix_dir "$folder")
  cmp -s "$dir/sudoku.exe" "$exe" || fail "no sudoku.exe (the zip's) in $folder"
  [ -f "$dir/uninstall.exe" ] || fail "no uninstaller in $folder"
  [ "$(cd "$dir/licences" && ls | sort)" = "$(cd "$scratch/portable/licences" && ls | sort)" ] \
    || fail "the licences in $folder are: $(ls "$dir/licences" | tr '\n' ' ')"
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
  tr -d '\0' <"$shortcut" | grep -aqF "$folder\\sudoku.exe" || fail "the shortcut does not start $folder\\sudoku.exe"
  [ "$(value "$key" DisplayName)" = Sudoku ] || fail "Apps & features shows no Sudoku under $key"
  [ "$(value "$key" DisplayVersion)" = "$version" ] || fail "the entry's version is '$(value "$key" DisplayVersion)', not $version"
  [ "$(value "$key" Publisher)" = Kalvora ] || fail "the entry's publisher is '$(value "$key" Publisher)'"
  [ "$(value "$key" InstallLocation)" = "$folder" ] || fail "the entry names '$(value "$key" InstallLocation)', not $folder"
  [ "$(value "$key" DisplayIcon)" = "$folder\\sudoku.exe,0" ] || fail "the entry's icon is '$(value "$key" DisplayIcon)'"
  [ "$(value "$key" UninstallString)" = "\"$folder\\uninstall.exe\"" ] \
    || fail "the entry's uninstaller is '$(value "$key" UninstallString)'"
  [ "$(value "$key" QuietUninstallString)" = "\"$folder\\uninstall.exe\" /S _?=$folder" ] \
    || fail "the entry's silent uninstaller is '$(value "$key" QuietUninstallString)'"
  # In kilobytes: what the installation folder holds.
  local size actual
  size=$(($(value "$key" EstimatedSize)))
  actual=$(($(find "$dir" -type f -exec cat {} + | wc -c) / 1024))
  [ "$size" -ge $((actual - 8)) ] && [ "$size" -le $((actual + 8)) ] \
    || fail "the entry's size is $size KB, the folder holds $actual KB"
}
check_gone() { # <folder (C:\...)> <shortcut> <key>
  local dir
  dir=$(unix_dir "$1")
  [ ! -e "$dir/sudoku.exe" ] || fail "sudoku.exe is left in $1"
  [ ! -e "$2" ] || fail "the Start-menu shortcut $2 is left"
  ! key_exists "$3" || fail "the Apps & features entry $3 is left"
  # The uninstaller and the folders go right after the uninstaller itself has ended.
  for _ in $(seq 100); do
    [ -e "$dir" ] || break
    sleep 0.1
  done
  [ ! -e "$dir" ] || fail "the folder $1 is left: $(ls -A "$dir")"
  if [ "$(basename "$(dirname "$dir")")" = Kalvora ]; then
    [ ! -e "$(dirname "$dir")" ] || fail "the empty Kalvora folder above $1 is left"
  fi
}
# The silent uninstallation from the entry, with options before its _?= part.
quiet_uninstall() { # <key> [options]
  local command
  command=$(value "$1" QuietUninstallString)
  [ -n "$command" ] || fail "no silent uninstaller in $1"
  printf '%s' "${command/ _?=/${2:+ $2} _?=}"
}
start_game() { # <folder (C:\...)>: the installed game, until it has recorded where it lives
  wine "$1\\sudoku.exe" >>"$scratch/game.log" 2>&1 &
  for _ in $(seq 120); do
    [ "$(value "$results_key" Path)" = "$1\\sudoku.exe" ] && return 0
    sleep 0.5
  done
  fail "the installation record's Path is '$(value "$results_key" Path)', not $1\\sudoku.exe"
}
stop_game() { wineserver -k || true; wineserver -w || true; }
add_best_result() { # <name> <seconds>: the best result at place 1, as the game stores it
  wine reg add "$results_key\\Lista" /v _g1 /t REG_SZ /d "$1" /f >/dev/null
  wine reg add "$results_key\\Lista" /v _t1 /t REG_DWORD /d "$2" /f >/dev/null
  wine reg add "$results_key\\Lista" /v IlePoz /t REG_DWORD /d 1 /f >/dev/null
}

setup_w=$(windows_path "$setup")
# The same program as an older and a newer version, for upgrades and downgrades
# (packed quickly: only their version matters here).
for made in old:2.0.0.400 new:2.1.0.0; do
  SUDOKU_INSTALLER_COMPRESSOR=zlib "$make_installer" "$scratch/kalvora-sudoku-${made%%:*}-setup.exe" "${made#*:}" \
    "$exe" "$scratch/portable/licences" >/dev/null
done
old_w=$(windows_path "$scratch/kalvora-sudoku-old-setup.exe")
new_w=$(windows_path "$scratch/kalvora-sudoku-new-setup.exe")

# --- For the player alone ----------------------------------------------------
expect 0 "the player's silent installation" "$(as_player "\"$setup_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
! key_exists "$machine_key" || fail "the player's installation wrote the computer's entry"
[ ! -e "$machine_shortcut" ] || fail "the player's installation made a shortcut for every user"

# While the game runs nothing is installed or removed, and the silent mode says why.
start_game "$user_win"
stamp=$(stat -c %Y "$(unix_dir "$user_win")/uninstall.exe")
expect 3 "installing while the game runs" "$(as_player "\"$setup_w\" /S")"
expect 3 "upgrading while the game runs" "$(as_player "\"$new_w\" /S")"
expect 3 "uninstalling while the game runs" "$(as_player "$(quiet_uninstall "$user_key")")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
[ "$(stat -c %Y "$(unix_dir "$user_win")/uninstall.exe")" = "$stamp" ] || fail "the uninstaller was rewritten while the game ran"
stop_game
add_best_result Ania 754

# Older over newer: refused silently unless allowed; every change leaves one installation, one entry.
expect 4 "a silent downgrade" "$(as_player "\"$old_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
expect 0 "an allowed downgrade" "$(as_player "\"$old_w\" /S /ALLOWDOWNGRADE")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.400
expect 0 "an upgrade" "$(as_player "\"$setup_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
expect 0 "an upgrade to a newer version" "$(as_player "\"$new_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.1.0.0
expect 4 "a silent downgrade from the newer version" "$(as_player "\"$setup_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.1.0.0
expect 0 "an allowed downgrade from the newer version" "$(as_player "\"$setup_w\" /S /ALLOWDOWNGRADE")"
expect 0 "the same version again" "$(as_player "\"$setup_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
! key_exists "$machine_key" || fail "a reinstallation wrote the computer's entry"
[ "$(value "$results_key\\Lista" _g1)" = Ania ] || fail "installing again changed the best results"

# Into another folder: the game moves there, the old folder goes, the one entry follows.
expect 0 "installing into another folder" "$(as_player "\"$setup_w\" /S /D=C:\\Gry\\Sudoku")"
check_installed 'C:\Gry\Sudoku' "$user_shortcut" "$user_key" 2.0.0.432
[ ! -e "$(unix_dir "$user_win")" ] || fail "the old folder is left: $(ls -A "$(unix_dir "$user_win")")"
[ ! -e "$(dirname "$(unix_dir "$user_win")")" ] || fail "the old empty Kalvora folder is left"

# An elevated uninstaller never touches the player's own installation.
expect 5 "the player's uninstaller run as administrator" "$(as_admin "$(quiet_uninstall "$user_key")")"
check_installed 'C:\Gry\Sudoku' "$user_shortcut" "$user_key" 2.0.0.432

# The silent uninstallation returns when it has finished, and keeps the best results.
expect 0 "the silent uninstallation" "$(as_player "$(quiet_uninstall "$user_key")")"
check_gone 'C:\Gry\Sudoku' "$user_shortcut" "$user_key"
[ "$(value "$results_key\\Lista" _g1)" = Ania ] || fail "a silent uninstallation removed the best results"
[ "$(($(value "$results_key\\Lista" _t1)))" = 754 ] || fail "a silent uninstallation changed the best time"
[ -n "$(value "$results_key" Path)" ] || fail "a silent uninstallation removed the installation record"

# Installed again, and uninstalled with the results.
expect 0 "installing again" "$(as_player "\"$setup_w\" /S")"
check_installed "$user_win" "$user_shortcut" "$user_key" 2.0.0.432
expect 0 "the uninstallation with the results" "$(as_player "$(quiet_uninstall "$user_key" /REMOVERESULTS)")"
check_gone "$user_win" "$user_shortcut" "$user_key"
! key_exists "$results_key" || fail "/REMOVERESULTS left the game's key"
! key_exists 'HKCU\Software\Kalvora' || fail "/REMOVERESULTS left the empty Kalvora key"

# --- For everyone --------------------------------------------------------------
add_best_result Bartek 600
expect 5 "a player's installation started as administrator" "$(as_admin "\"$setup_w\" /S /CURRENTUSER")"
! key_exists "$user_key" || fail "an elevated installer wrote the player's entry"
expect 0 "the administrator's installation" "$(as_admin "\"$setup_w\" /S")"
check_installed "$machine_win" "$machine_shortcut" "$machine_key" 2.0.0.432
! key_exists "$user_key" || fail "the installation for everyone wrote the player's entry"
[ ! -e "$user_shortcut" ] || fail "the installation for everyone made the player's own shortcut"

start_game "$machine_win"
expect 3 "the administrator's installation while the game runs" "$(as_admin "\"$new_w\" /S")"
stop_game
check_installed "$machine_win" "$machine_shortcut" "$machine_key" 2.0.0.432

# Wine cannot give the rights that Windows asks for through UAC: the player's
# installer and uninstaller, finding the computer's installation, ask once and
# stop when they are still not elevated, with nothing changed.
expect 5 "the player's installer over the computer's installation" "$(as_player "\"$setup_w\" /S")"
expect 5 "the player's uninstaller of the computer's installation" "$(as_player "$(quiet_uninstall "$machine_key")")"
check_installed "$machine_win" "$machine_shortcut" "$machine_key" 2.0.0.432
! key_exists "$user_key" || fail "the player's installer wrote the player's entry over the computer's installation"

# The elevated uninstaller cannot reach a player's results: it refuses to say it removed them.
expect 6 "/REMOVERESULTS as administrator" "$(as_admin "$(quiet_uninstall "$machine_key" /REMOVERESULTS)")"
check_installed "$machine_win" "$machine_shortcut" "$machine_key" 2.0.0.432
expect 0 "the administrator's silent uninstallation" "$(as_admin "$(quiet_uninstall "$machine_key")")"
check_gone "$machine_win" "$machine_shortcut" "$machine_key"
[ "$(value "$results_key\\Lista" _g1)" = Bartek ] || fail "the administrator's uninstallation touched the player's results"
echo "installer, uninstaller and portable zip behave"
