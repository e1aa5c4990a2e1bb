#!/bin/sh
# A signed copy of the Windows build, made in WORK_DIR with a throwaway
# certificate: a wrong password fails the build and leaves no program under
# its name; with the right one, zep.exe, zepw.exe and the installer carry
# signatures of that certificate (and of no other), the installer and the ZIP
# hold the very programs the build signed, and the programs signed again are
# the same bytes. The installer itself differs from build to build (its
# product code), so its signing is checked on one package signed twice.
#
#   signing_test.sh SOURCE_DIR WORK_DIR CMAKE CPACK OSSLSIGNCODE OPENSSL
set -eu

source=$1 work=$2 cmake=$3 cpack=$4 osslsigncode=$5 openssl=$6
rm -rf "$work"
mkdir -p "$work"
build=$work/build
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

certificate() { # NAME: NAME.pem and NAME.p12, whose password is ZEP_SIGNING_PASSWORD
    "$openssl" req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=zep $1" \
        -addext extendedKeyUsage=codeSigning -keyout "$work/$1.key" -out "$work/$1.pem" 2>/dev/null
    "$openssl" pkcs12 -export -inkey "$work/$1.key" -in "$work/$1.pem" -out "$work/$1.p12" \
        -passout env:ZEP_SIGNING_PASSWORD
}
ZEP_SIGNING_PASSWORD=the-test-password
export ZEP_SIGNING_PASSWORD
certificate signer
certificate stranger

# A signing time within the certificate's two days, for a verifier that
# checks the certificate at that time.
SOURCE_DATE_EPOCH=$(date +%s)
export SOURCE_DATE_EPOCH
(cd "$source" && "$cmake" --preset windows -B "$build" -D BUILD_TESTING=OFF \
    -D ZEP_SIGNING_CERT="$work/signer.p12") >"$work/configure.log" 2>&1 || {
    cat "$work/configure.log" >&2
    exit 1
}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
msi=$build/zep-$version.msi
targets="zep zepw zep_msi"

# shellcheck disable=SC2086
if ZEP_SIGNING_PASSWORD=not-the-password "$cmake" --build "$build" --target $targets >"$work/wrong.log" 2>&1; then
    fail "the build with a wrong password succeeded"
fi
grep -q ZEP_SIGNING_PASSWORD "$work/wrong.log" || fail "the build with a wrong password does not say what is wrong"
for file in "$build/zep.exe" "$build/zepw.exe" "$msi"; do
    [ ! -e "$file" ] || fail "$file is there after the build failed to sign"
done
[ -z "$(find "$build" -name '*.signing')" ] || fail "a half-signed file is left: $(find "$build" -name '*.signing')"

# The build after the failed one makes the programs afresh.
# shellcheck disable=SC2086
"$cmake" --build "$build" --target $targets >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2
    exit 1
}
if grep -rlF "$ZEP_SIGNING_PASSWORD" "$build" >"$work/leaks"; then
    fail "the password is written in $(tr '\n' ' ' <"$work/leaks")"
fi
for file in "$build/zep.exe" "$build/zepw.exe" "$msi"; do
    "$osslsigncode" verify -CAfile "$work/signer.pem" -in "$file" >"$work/verify.log" 2>&1 ||
        fail "$file: no signature of the test certificate: $(cat "$work/verify.log")"
    if "$osslsigncode" verify -CAfile "$work/stranger.pem" -in "$file" >/dev/null 2>&1; then
        fail "$file verifies with a certificate that did not sign it"
    fi
done

msiextract -C "$work/installer" "$msi" >/dev/null
for program in zep.exe zepw.exe; do
    installed=$(find "$work/installer" -name "$program")
    if [ -z "$installed" ] || ! cmp -s "$build/$program" "$installed"; then
        fail "the installer's $program is not the one the build signed"
    fi
    cp "$build/$program" "$work/$program.first"
done
# The ZIP, against the build and the installer.
"$cpack" --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
"$source/tests/windows/package_test.sh" "$work/package" "$build" "$msi" "$SOURCE_DATE_EPOCH" ||
    fail "the ZIP does not hold the signed programs"

# Linked and signed again.
rm "$build/zep.exe" "$build/zepw.exe"
"$cmake" --build "$build" --target zep zepw >"$work/again.log" 2>&1 || {
    cat "$work/again.log" >&2
    exit 1
}
for program in zep.exe zepw.exe; do
    cmp -s "$work/$program.first" "$build/$program" || fail "$program signed again is not the same bytes"
done

# One package signed twice, as the build signs it.
"$osslsigncode" remove-signature -in "$msi" -out "$work/unsigned.msi" >/dev/null
if "$osslsigncode" verify -CAfile "$work/signer.pem" -in "$work/unsigned.msi" >/dev/null 2>&1; then
    fail "the signature was not removed from the package"
fi
cp "$work/unsigned.msi" "$work/second.msi"
for package in unsigned second; do
    "$cmake" -D FILE="$work/$package.msi" -D OSSLSIGNCODE="$osslsigncode" -D CERT="$work/signer.p12" \
        -D TIME="$SOURCE_DATE_EPOCH" -P "$source/cmake/sign_file.cmake"
done
cmp -s "$work/unsigned.msi" "$work/second.msi" || fail "one package signed twice is not the same bytes"

[ "$failures" -eq 0 ] || exit 1
echo "signed, verified and signed alike"
