#!/usr/bin/env bash
# Installs the game into a scratch prefix and checks what a desktop finds there.
# Usage: install_test.sh <cmake> <build folder> <scratch folder>
set -euo pipefail
cmake=$1 build=$2 scratch=$3
rm -rf "$scratch" && mkdir -p "$scratch"
prefix=$scratch/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" --component game >/dev/null

# Exactly these files, nothing from the build tree or the tests.
expected=$(cat <<'LIST'
bin/sudoku
share/applications/pl.kalvora.Sudoku.desktop
share/doc/kalvora-sudoku/EBGaramond-OFL.txt
share/doc/kalvora-sudoku/Liberation-LICENSE.txt
share/doc/kalvora-sudoku/MDI-LICENSE
share/doc/kalvora-sudoku/copyright
share/icons/hicolor/16x16/apps/pl.kalvora.Sudoku.png
share/icons/hicolor/24x24/apps/pl.kalvora.Sudoku.png
share/icons/hicolor/256x256/apps/pl.kalvora.Sudoku.png
share/icons/hicolor/32x32/apps/pl.kalvora.Sudoku.png
share/icons/hicolor/48x48/apps/pl.kalvora.Sudoku.png
share/icons/hicolor/scalable/apps/pl.kalvora.Sudoku.svg
share/metainfo/pl.kalvora.Sudoku.metainfo.xml
LIST
)
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
[ -x "$prefix/bin/sudoku" ] || fail "the program is not executable"

desktop=$prefix/share/applications/pl.kalvora.Sudoku.desktop
metainfo=$prefix/share/metainfo/pl.kalvora.Sudoku.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"

# The entry must lead to what was installed: its program, its icon, its categories.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = sudoku ] || fail "Exec is '$(entry Exec)'"
[ -x "$prefix/bin/$(entry Exec)" ] || fail "Exec names no installed program"
icon=$(entry Icon)
[ -f "$prefix/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "no 256x256 icon named '$icon'"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named '$icon'"
[ "$(entry Categories)" = "Game;LogicGame;" ] || fail "Categories is '$(entry Categories)'"
[ "$(entry Name)" = Sudoku ] || fail "Name is '$(entry Name)'"
entry Comment | grep -q 'cyfra' || fail "the Comment is not in Polish"
grep -q '<launchable type="desktop-id">pl.kalvora.Sudoku.desktop</launchable>' "$metainfo" \
  || fail "the metainfo does not launch the installed desktop entry"
[ "$(grep -c '<caption>' "$metainfo")" -ge 3 ] || fail "screenshots lack their Polish captions"

# The icon sizes must match the folders they are installed in.
for folder in 16x16 24x24 32x32 48x48 256x256; do
  size=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/$folder/apps/$icon.png")
  [ "$size" = "$folder" ] || fail "the $folder icon is $size"
done
head -c 400 "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" | grep -q '<svg' || fail "the scalable icon is no SVG"

# An installed program must not lean on the build tree.
if readelf -d "$prefix/bin/sudoku" | grep -Eq 'R(UN)?PATH'; then
  fail "the installed program keeps a run path: $(readelf -d "$prefix/bin/sudoku" | grep -E 'R(UN)?PATH')"
fi
echo "installation checked: $(echo "$actual" | wc -l) files"
