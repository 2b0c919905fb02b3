#!/bin/sh
# Builds the Debian package from the build folder and checks it as Debian's own
# tools do: what it holds, its programs' --version, its manual pages, lintian
# (no errors), and the desktop entry and AppStream metadata where their
# validators are installed.
# $1: the build folder.
set -eu
build=$1
# The sample's file names are Japanese: the archiver needs a UTF-8 locale,
# which CI's empty environment does not have.
export LC_ALL=C.UTF-8
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/orvokakei_*.deb)
listing=$(dpkg-deb -c "$deb")
printf '%s\n' "$listing"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic'
for f in ./usr/bin/orvokakei ./usr/bin/orvokakei-cli ./usr/share/applications/orvokakei.desktop \
         ./usr/share/man/man1/orvokakei.1.gz ./usr/share/man/man1/orvokakei-cli.1.gz \
         ./usr/share/doc/orvokakei/copyright ./usr/share/doc/orvokakei/changelog.gz \
         ./usr/share/bash-completion/completions/orvokakei-cli \
         ./usr/share/metainfo/org.example.orvokakei.metainfo.xml ./usr/lib/orvokakei/orvokakei-cli-paper.so; do
  printf '%s\n' "$listing" | grep -q " $f\$" || { echo "missing from the package: $f"; exit 1; }
done

root=$out/root
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
for program in orvokakei orvokakei-cli; do
  printed=$("$root/usr/bin/$program" --version)
  [ "$printed" = "$program $version" ] || { echo "$program --version printed '$printed'"; exit 1; }
  file "$root/usr/bin/$program" | grep -q ', stripped' || { echo "not stripped: $program"; exit 1; }
  rendered=$(man -l "$root/usr/share/man/man1/$program.1.gz" 2>&1)
  printf '%s\n' "$rendered" | grep -q "^NAME" || { echo "$program(1) did not render: $rendered"; exit 1; }
done
# The unpacked program finds its paper module beside it, as installed.
"$root/usr/bin/orvokakei-cli" report "$root/usr/share/orvokakei/sample/sample.dat" --year 2026 --trace |
  grep -q '^page 1$' || { echo "the packaged paper module does not load"; exit 1; }
zcat "$root/usr/share/doc/orvokakei/changelog.gz" | head -n 1 | grep -q "^orvokakei ($version)" ||
  { echo "the changelog's first entry is not version $version"; exit 1; }

if command -v lintian >/dev/null; then
  # lintian refuses to run as root without this; the tags are what count.
  tags=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
  printf '%s\n' "$tags"
  if printf '%s\n' "$tags" | grep -q '^E: '; then echo "lintian reports errors"; exit 1; fi
  if printf '%s\n' "$tags" | grep -q '^W: '; then echo "lintian warnings not overridden"; exit 1; fi
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/orvokakei.desktop"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.orvokakei.metainfo.xml"
fi
echo "package $(basename "$deb") checked"
