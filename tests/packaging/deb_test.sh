#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root, checks its files and
# dependencies, and starts the unpacked program on the X server in $DISPLAY.
# Usage: deb_test.sh <cpack> <CPackConfig.cmake> <scratch folder>
set -euo pipefail
cpack=$1 config=$2 scratch=$3
rm -rf "$scratch" && mkdir -p "$scratch/out" "$scratch/root" "$scratch/config"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$config" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kalvora-sudoku ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 2.0.0.432 ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
depends=$(field Depends)
echo "depends: $depends"
# Declared from the libraries the program links, plus the X11 platform plugin.
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for library in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6 qt6-qpa-plugins; do
  grep -qxF "$library" <<<"$names" || fail "Depends lacks $library"
done
grep -Eq 'libqt6widgets6 \(>= ' <<<"$depends" || fail "the Qt dependency carries no minimum version"

# apt accepts it: every dependency resolves on this system (nothing is installed).
apt-get install --simulate --no-install-recommends "$deb" >"$scratch/apt.log" 2>&1 \
  || { cat "$scratch/apt.log" >&2; fail "apt cannot install the package"; }
grep -q '^Inst kalvora-sudoku ' "$scratch/apt.log" || fail "apt would not install the package:"$'\n'"$(cat "$scratch/apt.log")"

dpkg -x "$deb" "$scratch/root"
expected=$(cat <<'LIST'
usr/bin/sudoku
usr/share/applications/pl.kalvora.Sudoku.desktop
usr/share/doc/kalvora-sudoku/EBGaramond-OFL.txt
usr/share/doc/kalvora-sudoku/Liberation-LICENSE.txt
usr/share/doc/kalvora-sudoku/MDI-LICENSE
usr/share/doc/kalvora-sudoku/copyright
usr/share/icons/hicolor/16x16/apps/pl.kalvora.Sudoku.png
usr/share/icons/hicolor/24x24/apps/pl.kalvora.Sudoku.png
usr/share/icons/hicolor/256x256/apps/pl.kalvora.Sudoku.png
usr/share/icons/hicolor/32x32/apps/pl.kalvora.Sudoku.png
usr/share/icons/hicolor/48x48/apps/pl.kalvora.Sudoku.png
usr/share/icons/hicolor/scalable/apps/pl.kalvora.Sudoku.svg
usr/share/metainfo/pl.kalvora.Sudoku.metainfo.xml
LIST
)
actual=$(cd "$scratch/root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "packaged files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
# Matches what dpkg would list for the package.
dpkg-deb -c "$deb" >"$scratch/contents.txt"
grep -q ' ./usr/bin/sudoku$' "$scratch/contents.txt" || fail "dpkg-deb does not list ./usr/bin/sudoku"

program=$scratch/root/usr/bin/sudoku
[ -x "$program" ] || fail "the packaged program is not executable"
if ldd "$program" | grep -q 'not found'; then fail "unresolved libraries: $(ldd "$program" | grep 'not found')"; fi

# The stripped program still starts, shows its menu and records its own version.
[ -n "${DISPLAY:-}" ] || fail "no X server (run under xvfb-run)"
XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=xcb "$program" >"$scratch/program.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
hive=$scratch/config/Kalvora/Sudoku.reg
menu_shown=
for _ in $(seq 1 300); do
  kill -0 $pid 2>/dev/null || { cat "$scratch/program.log" >&2; fail "the program ended on its own"; }
  for window in $(xdotool search --onlyvisible --pid $pid 2>/dev/null || true); do
    if xdotool getwindowgeometry "$window" | grep -q 'Geometry: 607x479'; then menu_shown=$window; fi
  done
  [ -n "$menu_shown" ] && [ -f "$hive" ] && break
  sleep 0.1
done
[ -n "$menu_shown" ] || fail "no 607x479 menu window appeared within 30 s"
# The hive is written as regedit exports it: UTF-16LE with a byte-order mark, CRLF.
hive_text=$(iconv -f UTF-16 -t UTF-8 "$hive" | tr -d '\r') || fail "the hive is not UTF-16"
grep -q '^"Version"="2.0.0.432"' <<<"$hive_text" || fail "the hive records no version 2.0.0.432:"$'\n'"$hive_text"
grep -qF "\"Path\"=\"$program\"" <<<"$hive_text" || fail "the hive does not record the packaged program's path"
kill $pid
wait $pid 2>/dev/null || true
trap - EXIT
echo "package checked: $(echo "$actual" | wc -l) files, program started"
