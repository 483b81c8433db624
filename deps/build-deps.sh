#!/usr/bin/env bash
# Builds the third-party libraries the programs link statically, from Debian's source
# packages, into a cache outside the build tree. A second run finds the stamp and does nothing.
set -euo pipefail

DEPS=${1:?usage: build-deps.sh CACHE_DIR}
RECIPE=4   # bump when this script changes what it produces
CC=x86_64-w64-mingw32-gcc-posix
CXX=x86_64-w64-mingw32-g++-posix
AR=x86_64-w64-mingw32-ar
HERE=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$DEPS"
exec 9>"$DEPS/.lock"
flock 9
if [ -f "$DEPS/stamp" ] && [ "$(cat "$DEPS/stamp")" = "$RECIPE" ]; then
  exit 0
fi

echo "building dependencies into $DEPS (once)"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
rm -rf "$DEPS/sqlite" "$DEPS/jpeg"
mkdir -p "$DEPS/sqlite/include" "$DEPS/sqlite/lib" "$DEPS/jpeg/include" "$DEPS/jpeg/lib"

fetch_source() {  # package -> prints the unpacked source folder
  local pkg=$1 dir="$WORK/$1"
  mkdir -p "$dir"
  (cd "$dir" && apt-get source --download-only -o APT::Sandbox::User=root "$pkg" >/dev/null 2>&1) \
    || { echo "cannot download the $pkg source package (is deb-src enabled? run ./quillet setup)" >&2; exit 1; }
  (cd "$dir" && dpkg-source --no-check -x ./*.dsc src >/dev/null)
  echo "$dir/src"
}

# SQLite: generate the amalgamation with the source tree's own makefile (no configure step),
# then compile it with MinGW.
(
  S=$(fetch_source sqlite3)
  B="$WORK/sqlite-build"; mkdir -p "$B"; cd "$B"
  make -s -f "$S/main.mk" TOP="$S" BCC=gcc TCC=gcc NAWK=awk sqlite3.c >/dev/null
  $CC -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0 \
      -c sqlite3.c -o sqlite3.o
  $AR rcs "$DEPS/sqlite/lib/libsqlite3.a" sqlite3.o
  cp sqlite3.h sqlite3ext.h "$DEPS/sqlite/include/"
) &
SQLITE_PID=$!

# libjpeg: the static library only, with its SIMD code.
(
  S=$(fetch_source libjpeg-turbo)
  B="$WORK/jpeg-build"
  cmake -S "$S" -B "$B" -DCMAKE_TOOLCHAIN_FILE="$HERE/../cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DEPS/jpeg" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON >/dev/null
  cmake --build "$B" --target jpeg-static -j2 >/dev/null
  cp "$B/libjpeg.a" "$DEPS/jpeg/lib/"
  cp "$S/jpeglib.h" "$S/jmorecfg.h" "$S/jerror.h" "$B/jconfig.h" "$DEPS/jpeg/include/"
)

wait $SQLITE_PID
echo "$RECIPE" > "$DEPS/stamp"
echo "dependencies ready"
