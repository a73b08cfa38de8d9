#!/usr/bin/env bash
# A publisher's last step: a setup program written by zarc setup, signed with a throwaway
# certificate by osslsigncode, passes osslsigncode verify (and a tampered copy fails it), and the
# signed program still runs under Wine up to its main window.
set -uo pipefail

while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2 ;;
    --zarc) zarc_exe=$2 ;;
    --stub) stub_exe=$2 ;;
    --driver) driver_exe=$2 ;;
    --package) package=$2 ;;
    *) echo "signing_test: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done

out=$build/signing
rm -rf "$out"
mkdir -p "$out/run"
source "$(dirname "$0")/../e2e/harness.sh"
cd "$out" || exit 1

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Zarc Test Publisher" \
  -addext "extendedKeyUsage=codeSigning" -keyout test.key -out test.crt >openssl.log 2>&1
check "openssl makes a certificate" 0 "$?"

wine "$zarc_exe" setup setup.exe --stub "$stub_exe" --package "$package" >zarc.log 2>&1
check "zarc setup writes the program" 0 "$?"

osslsigncode sign -certs test.crt -key test.key -h sha256 -n "Quillfen Setup" \
  -in setup.exe -out run/setup.exe >sign.log 2>&1
check "osslsigncode signs it" 0 "$?"
osslsigncode verify -CAfile test.crt -in run/setup.exe >verify.log 2>&1
check "osslsigncode verify accepts the signature" 0 "$?"
check "the signer is the test certificate" yes \
  "$(grep -q 'Zarc Test Publisher' verify.log && echo yes)"

# The verification must be able to fail: one byte of the package changed breaks it.
cp run/setup.exe tampered.exe
offset=$(grep -abo 'ZARC' tampered.exe | tail -n 1 | cut -d: -f1)
printf 'X' | dd of=tampered.exe bs=1 seek="$offset" conv=notrunc status=none
osslsigncode verify -CAfile test.crt -in tampered.exe >tampered.log 2>&1
check "a changed byte fails the verification" 1 "$([ $? -ne 0 ] && echo 1 || echo 0)"

# Nothing installed and a licence in the package: the Setup layout.
(cd run && exec wine setup.exe) >run.log 2>&1 &
pid=$!
check "the signed program opens its main window" 0 "$(d wait Quillfen 30 >/dev/null; echo $?)"
check "its buttons" "1 2 " "$(buttons Quillfen)"
d command Quillfen 2
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
wait "$pid"
check "exit status after Cancel" 0 "$?"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
