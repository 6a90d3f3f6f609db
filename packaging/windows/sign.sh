#!/usr/bin/env bash
# Signs a Windows program in place (Authenticode, SHA-256, osslsigncode) when a
# certificate is given; otherwise says that it stays unsigned.
#
#   SUDOKU_SIGN_CERT       the certificate: a PKCS#12 file (.p12 or .pfx, key inside)
#                          or a PEM/DER certificate chain with SUDOKU_SIGN_KEY
#   SUDOKU_SIGN_KEY        its private key, when the certificate is not PKCS#12
#   SUDOKU_SIGN_PASSWORD   the password of the PKCS#12 file or the key (may be unset)
#   SUDOKU_SIGN_TIMESTAMP  the RFC 3161 timestamp server (default below); "none"
#                          signs without a timestamp and says so (a signature
#                          without one stops being valid when the certificate expires)
#
# Usage: sign.sh <file.exe>
set -euo pipefail
file=$1
name=$(basename "$file")
if [ -z "${SUDOKU_SIGN_CERT:-}" ]; then
  echo "$name: unsigned (no certificate: SUDOKU_SIGN_CERT is not set)"
  exit 0
fi
timestamp=${SUDOKU_SIGN_TIMESTAMP:-http://timestamp.digicert.com}

options=(sign -h sha256 -n Sudoku -i http://www.kalvora.pl)
case "$SUDOKU_SIGN_CERT" in
  *.p12|*.pfx|*.P12|*.PFX) options+=(-pkcs12 "$SUDOKU_SIGN_CERT") ;;
  *)
    [ -n "${SUDOKU_SIGN_KEY:-}" ] || { echo "$name: SUDOKU_SIGN_KEY must name the key of $SUDOKU_SIGN_CERT" >&2; exit 1; }
    options+=(-certs "$SUDOKU_SIGN_CERT" -key "$SUDOKU_SIGN_KEY")
    ;;
esac
# The password goes through a pipe, never on a command line others can read.
if [ -n "${SUDOKU_SIGN_PASSWORD:-}" ]; then
  options+=(-readpass /dev/stdin)
fi
if [ "$timestamp" = none ]; then
  note="without a timestamp (SUDOKU_SIGN_TIMESTAMP=none)"
else
  options+=(-ts "$timestamp")
  note="timestamped by $timestamp"
fi

signed=$file.signed
rm -f "$signed"
printf '%s' "${SUDOKU_SIGN_PASSWORD:-}" | osslsigncode "${options[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1 \
  || { cat "$signed.log" >&2; rm -f "$signed" "$signed.log"; echo "$name: signing failed" >&2; exit 1; }
rm -f "$signed.log"
mv -f "$signed" "$file"
echo "$name: signed with $SUDOKU_SIGN_CERT, $note"
