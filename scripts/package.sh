#!/usr/bin/env bash
# Builds the Debian package from build/ and checks it as an installation:
# unpacked into a fresh root, its desktop entry and AppStream data validate,
# and the programs it holds answer --version and export a drawing.
#
#   scripts/package.sh       after scripts/build.sh; prints the package's path
set -euo pipefail
cd "$(dirname "$0")/.."
(cd build && cpack -G DEB >/dev/null)
package=$(ls build/vekta_*_amd64.deb | head -n 1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root"

desktop-file-validate "$root/usr/share/applications/org.example.vekta.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.vekta.metainfo.xml" >/dev/null
dpkg-deb -f "$package" Depends | grep -q 'libqt6widgets6'
# Texts keep their line breaks only with fonts as wide as the faces named.
dpkg-deb -f "$package" Depends | grep -Eq '(^|, )fonts-liberation2(,|$)'

"$root/usr/bin/vekta-cli" --version | grep -q '^vekta-cli '
"$root/usr/bin/vekta" --version | grep -q '^Vekta '
export QT_QPA_PLATFORM=offscreen
"$root/usr/bin/vekta-cli" export "$root/usr/share/doc/vekta/examples/showcase.vk1" "$root/showcase.png"
test -s "$root/showcase.png"
echo "$package"
