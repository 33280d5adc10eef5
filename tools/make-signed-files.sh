#!/usr/bin/env bash
# Makes the files the signature tests verify, in OUT: a test root and a
# signer under it (root.der is what the test adds to the machine's root
# store), a second root that is never added, and from the program INPUT:
#   unsigned.exe  as built
#   signed.exe    signed by the test signer
#   tampered.exe  signed.exe with one byte of its code changed
#   foreign.exe   signed by a signer under the root never added
# Every key is made here, for these tests only, and stays in the build tree.
# OUT/status.txt says "ok", or what is missing: the test then fails with it.
# Usage: tools/make-signed-files.sh INPUT OUT
set -uo pipefail
input=$1
out=$2
mkdir -p "$out"
status="$out/status.txt"
fail() { echo "$*" > "$status"; echo "make-signed-files: $*" >&2; exit 0; }
for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null 2>&1 ||
    fail "$tool is not installed (tools/ensure-deps.sh installs it)"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$work/log"

# A root (self-signed CA) and a code-signing certificate it issues.
make_root() {  # name subject
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 \
    -keyout "$work/$1.key" -out "$work/$1.pem" -subj "$2" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" >>"$log" 2>&1
}
make_signer() {  # name subject root
  cat > "$work/$1.ext" <<'EXT'
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning
EXT
  openssl req -newkey rsa:2048 -nodes -sha256 -keyout "$work/$1.key" \
    -out "$work/$1.csr" -subj "$2" >>"$log" 2>&1 &&
  openssl x509 -req -in "$work/$1.csr" -CA "$work/$3.pem" -CAkey "$work/$3.key" \
    -CAcreateserial -days 3650 -sha256 -extfile "$work/$1.ext" \
    -out "$work/$1.pem" >>"$log" 2>&1
}
sign() {  # signer input output
  osslsigncode sign -certs "$work/$1.pem" -key "$work/$1.key" -h sha256 \
    -n "Trimvex test" -in "$2" -out "$3" >>"$log" 2>&1
}

make_root root "/CN=Trimvex Test Root" &&
make_signer signer "/O=Trimvex Tests/CN=Trimvex Test Signer" root &&
make_root stranger "/CN=Trimvex Untrusted Root" &&
make_signer foreigner "/CN=Trimvex Foreign Signer" stranger ||
  fail "making the test certificates failed: $(tail -n 5 "$log")"
openssl x509 -in "$work/root.pem" -outform DER -out "$out/root.der" >>"$log" 2>&1 ||
  fail "writing root.der failed"
rm -f "$out"/*.exe
cp "$input" "$out/unsigned.exe" &&
sign signer "$input" "$out/signed.exe" &&
sign foreigner "$input" "$out/foreign.exe" ||
  fail "signing failed: $(tail -n 5 "$log")"
# One byte of the image past its headers (where these programs' code
# starts), which the signature's hash covers.
cp "$out/signed.exe" "$out/tampered.exe"
byte=$(od -An -tu1 -j 1536 -N1 "$out/tampered.exe" | tr -d ' ')
printf "$(printf '\\%03o' $(( (byte + 1) % 256 )))" |
  dd of="$out/tampered.exe" bs=1 seek=1536 conv=notrunc status=none ||
  fail "changing a byte of tampered.exe failed"
echo ok > "$status"
