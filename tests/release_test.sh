#!/usr/bin/env bash
# scripts/release into a scratch folder: every file the release names is
# there, SHA256SUMS verifies, and each saver and package carries the project
# version in its version resource, its properties or its control file.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export DIST=$(mktemp -d)
trap 'rm -rf "$DIST"' EXIT
. "$root/tests/report.sh"

"$root/scripts/release" >"$DIST.log" 2>&1 || { cat "$DIST.log"; rm -f "$DIST.log"; echo "FAIL: scripts/release"; exit 1; }
rm -f "$DIST.log"
version=$(sed -n 's/^project(Lumvia VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for name in "lumvia-$version-x64.scr" "lumvia-$version-x86.scr" "lumvia-$version-x64.msi" \
            "lumvia-$version-x86.msi" "lumvia_${version}_amd64.deb" README.txt LICENSE.txt SHA256SUMS; do
  [ -s "$DIST/$name" ] || fail "dist has no $name"
done
(cd "$DIST" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not verify"
for arch in x64 x86; do
  # The version resource's strings are UTF-16, each name followed by its value.
  for field in FileVersion ProductVersion; do
    value=$(strings -el "$DIST/lumvia-$version-$arch.scr" | grep -A1 -x "$field" | sed -n 2p)
    [ "$value" = "$version" ] || fail "lumvia-$version-$arch.scr has $field '$value', not $version"
  done
  [ "$(msiinfo export "$DIST/lumvia-$version-$arch.msi" Property | tr -d '\r' |
       sed -n 's/^ProductVersion\t//p')" = "$version" ] || fail "lumvia-$version-$arch.msi is not version $version"
done
[ "$(dpkg-deb -f "$DIST/lumvia_${version}_amd64.deb" Version)" = "$version" ] ||
  fail "lumvia_${version}_amd64.deb is not version $version"
# Debian's own checks of the package: not one error or warning.
lintian_root=()
[ "$(id -u)" -eq 0 ] && lintian_root=(--allow-root)
said=$(lintian "${lintian_root[@]}" "$DIST/lumvia_${version}_amd64.deb" 2>&1) || true
[ -z "$said" ] || fail "lintian on lumvia_${version}_amd64.deb: $said"
finish
