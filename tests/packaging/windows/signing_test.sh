#!/usr/bin/env bash
# sudoku.exe, the installer and the uninstaller inside it, signed through the
# build's own scripts with a throwaway self-signed certificate that this test
# makes, then checked with osslsigncode: the signatures verify against that
# certificate, a changed byte breaks them, and without a certificate the files
# stay as they are and the output says they are unsigned. There is no network
# here, so the timestamp server is skipped (SUDOKU_SIGN_TIMESTAMP=none), which
# the signing script reports.
#
# Usage: signing_test.sh <sudoku.exe> <licences folder> <packaging/windows folder> <scratch folder>
set -euo pipefail
exe=$1 licences=$2 packaging=$3 scratch=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$scratch" && mkdir -p "$scratch"
cd "$scratch"

openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Kalvora test signing/O=Kalvora" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" 2>openssl.log \
  || { cat openssl.log >&2; fail "openssl cannot make the test certificate"; }
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:test-password 2>>openssl.log \
  || { cat openssl.log >&2; fail "openssl cannot make the PKCS#12 file"; }

verify() { # <file> [<what>]: the file carries a signature that verifies against the test certificate
  osslsigncode verify -CAfile cert.pem -in "$1" >verify.log 2>&1 && grep -q "Signature verification: ok" verify.log \
    || { cat verify.log >&2; fail "${2:-$1} is not signed with the test certificate"; }
}

# Without a certificate nothing changes, and the output says so.
cp "$exe" unsigned.exe
out=$(env -u SUDOKU_SIGN_CERT "$packaging/sign.sh" unsigned.exe)
grep -q "unsigned" <<<"$out" || fail "sign.sh without a certificate says: $out"
cmp -s "$exe" unsigned.exe || fail "sign.sh without a certificate changed the file"
! osslsigncode verify -CAfile cert.pem -in unsigned.exe >/dev/null 2>&1 || fail "the unsigned program verifies"

# The program, with the certificate and key as PEM files.
cp "$exe" sudoku.exe
out=$(SUDOKU_SIGN_CERT=cert.pem SUDOKU_SIGN_KEY=key.pem SUDOKU_SIGN_TIMESTAMP=none "$packaging/sign.sh" sudoku.exe)
grep -q "signed with cert.pem, without a timestamp" <<<"$out" || fail "sign.sh says: $out"
verify sudoku.exe
# A changed byte in the signed program breaks the signature.
cp sudoku.exe changed.exe
printf 'X' | dd of=changed.exe bs=1 seek=4096 conv=notrunc status=none
! osslsigncode verify -CAfile cert.pem -in changed.exe >/dev/null 2>&1 || fail "a changed program still verifies"

# The installer, with a PKCS#12 file and its password: makensis signs the
# uninstaller before packing it, then the installer itself.
SUDOKU_SIGN_CERT=cert.p12 SUDOKU_SIGN_PASSWORD=test-password SUDOKU_SIGN_TIMESTAMP=none \
  "$packaging/make-installer.sh" "$scratch/kalvora-sudoku-signed-setup.exe" 2.0.0.432 "$scratch/sudoku.exe" "$licences" \
  >make-installer.log 2>&1 || { cat make-installer.log >&2; fail "the signed installer was not made"; }
[ "$(grep -c "signed with cert.p12, without a timestamp" make-installer.log)" = 2 ] \
  || { cat make-installer.log >&2; fail "makensis did not sign both the uninstaller and the installer"; }
verify kalvora-sudoku-signed-setup.exe "the installer"

# The uninstaller as the installer writes it: installed under Wine.
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT
env -u DISPLAY wine wineboot --init >wineboot.log 2>&1 || fail "cannot create the Wine prefix"
env -u DISPLAY wineserver -w
env -u DISPLAY timeout 180 wine "$scratch/kalvora-sudoku-signed-setup.exe" /S '/D=C:\Signed' || fail "the signed installer failed"
verify "$WINEPREFIX/drive_c/Signed/uninstall.exe" "the installed uninstaller"
verify "$WINEPREFIX/drive_c/Signed/sudoku.exe" "the installed program"
echo "sudoku.exe, the installer and the uninstaller are signed and verify"
