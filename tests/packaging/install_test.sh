#!/bin/sh
# Installs the build into a scratch folder and checks it as a desktop sees
# it; then makes the Debian package, checks it with lintian (any error or
# warning fails), unpacks it and runs lexigrove-cli from there. Prints what
# the validators say.
#   install_test.sh CMAKE CPACK BUILD_DIR APP_ID gui|console VERSION
set -eu
cmake=$1
cpack=$2
build=$3
id=$4
kind=$5
version=$6
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "install_test: $*" >&2
  exit 1
}

# PNG width and height, from the IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# lexigrove-cli from `$1` finds what it finds in the build.
check_cli() {
  got=$("$1" unscramble --lengths 4-5 grove | tr '\n' ' ')
  [ "$got" = "ergo goer gore ogre over rove grove " ] || fail "$1 unscramble grove gave: $got"
  got=$("$1" exact Grove)
  [ "$got" = "grove - Found" ] || fail "$1 exact Grove gave: $got"
  got=$("$1" --version)
  [ "$got" = "lexigrove-cli $version" ] || fail "$1 --version gave: $got (the project is $version)"
}

echo "== cmake --install into a scratch DESTDIR"
DESTDIR="$scratch/stage" "$cmake" --install "$build" --prefix /usr >"$scratch/install.log" || {
  cat "$scratch/install.log"
  fail "cmake --install failed"
}
usr=$scratch/stage/usr
expected="bin/lexigrove-cli share/man/man1/lexigrove-cli.1.gz share/doc/lexigrove/copyright
  share/doc/lexigrove/changelog.gz share/lintian/overrides/lexigrove share/bash-completion/completions/lexigrove-cli"
if [ "$kind" = gui ]; then
  expected="$expected bin/lexigrove share/man/man1/lexigrove.1.gz share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg"
  for side in 16 24 32 48; do expected="$expected share/icons/hicolor/${side}x$side/apps/$id.png"; done
fi
for file in $expected; do
  [ -f "$usr/$file" ] || fail "not installed: /usr/$file"
done
for program in lexigrove lexigrove-cli; do
  [ "$kind" = gui ] || [ "$program" = lexigrove-cli ] || continue
  [ -x "$usr/bin/$program" ] || fail "/usr/bin/$program is not executable"
done
check_cli "$usr/bin/lexigrove-cli"

for page in "$usr"/share/man/man1/*.1.gz; do
  gzip -t "$page" || fail "$page is not gzip"
  if command -v groff >/dev/null; then
    warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  fi
done

if [ "$kind" = gui ]; then
  for side in 16 24 32 48; do
    size=$(png_size "$usr/share/icons/hicolor/${side}x$side/apps/$id.png")
    [ "$size" = "${side}x$side" ] || fail "the ${side} pixel icon is $size"
  done

  echo "== desktop-file-validate $id.desktop"
  desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate failed"
  echo "(no complaints)"

  echo "== appstreamcli validate --no-net $id.metainfo.xml"
  appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate failed"
fi

echo "== cpack -G DEB"
(cd "$scratch" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1) || {
  cat "$scratch/cpack.log"
  fail "cpack failed"
}
deb=$(ls "$scratch"/package/*.deb)
echo "$(basename "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Section Depends
# The package carries the project's version, as does its changelog.
package_version=$(dpkg-deb -f "$deb" Version)
[ "$package_version" = "$version" ] || fail "the package is version $package_version, the project $version"
dpkg-deb -f "$deb" Description | grep -q "in the list; a\$" || fail "the description lost its semicolon"
changelog_version=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/lexigrove/changelog.gz |
  zcat | sed -n '1s/^lexigrove (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$package_version" ] || fail "the changelog is for $changelog_version"

echo "== lintian -I --pedantic"
if command -v lintian >/dev/null; then
  # Root is how CI runs; lintian only warns about it.
  lintian -I --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' | tee "$scratch/lintian.log"
  ! grep -Eq '^(E|W): ' "$scratch/lintian.log" || fail "lintian reports errors or warnings (above)"
else
  fail "lintian is not installed (./dev test installs it)"
fi

listing=$(dpkg-deb -c "$deb")
for file in $expected; do
  echo "$listing" | grep -q " \./usr/$file\$" || fail "the package lacks /usr/$file"
done
depends=$(dpkg-deb -f "$deb" Depends)
# lexigrove-cli needs the C library unless it is linked in
# (LEXIGROVE_STATIC_CLI); the window needs Qt as well.
needed=""
file -L "$usr/bin/lexigrove-cli" | grep -q "dynamically linked" && needed="libc6"
[ "$kind" = gui ] && needed="libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-liberation2"
for package in $needed; do
  echo "$depends" | grep -Eq "(^|, )$package( |,|\$)" || fail "Depends lacks $package: $depends"
done
# The About window's links need xdg-open.
if [ "$kind" = gui ]; then
  dpkg-deb -f "$deb" Recommends | grep -Eq "(^|, )xdg-utils( |,|\$)" || fail "Recommends lacks xdg-utils"
fi

dpkg-deb -x "$deb" "$scratch/root"
check_cli "$scratch/root/usr/bin/lexigrove-cli"
if [ "$kind" = gui ]; then
  missing=$(ldd "$scratch/root/usr/bin/lexigrove" | grep "not found" || true)
  [ -z "$missing" ] || fail "lexigrove from the package misses libraries: $missing"
fi
echo "install_test: installed, validated, packaged and run from the package"
