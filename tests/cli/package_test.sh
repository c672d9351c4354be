#!/usr/bin/env bash
# The Debian package built from this build tree (cpack), unpacked into a
# staging root: the programs, the guide, the desktop entry and the icon are
# where a user's system expects them, the dependencies name the runtime
# libraries, and gzgl-cli started from there lays out a demo home and
# recalculates it.
set -u
cli="$1"
build="$2"
source "$(dirname "$0")/harness.sh"
same() { # same NAME WANT GOT
  if [ "$2" = "$3" ]; then passes=$((passes + 1)); else echo "FAIL $1: got [$3] want [$2]"; fails=$((fails + 1)); fi
}
out="$home/pkg"
mkdir -p "$out"
if ! (cd "$build" && cpack -G DEB -B "$out" >"$home/cpack.log" 2>&1); then
  echo "FAIL cpack: $(tail -20 "$home/cpack.log")"
  exit 1
fi
deb=$(ls "$out"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] && passes=$((passes + 1)) || { echo "FAIL no package"; exit 1; }
stage="$home/stage"
dpkg-deb -x "$deb" "$stage"
for f in usr/bin/gzgl-cli usr/bin/gzgl usr/share/applications/gzgl.desktop \
         usr/share/icons/hicolor/scalable/apps/gzgl.svg usr/share/doc/gzgl/guide/index.html \
         usr/share/doc/gzgl/guide/img/main.png; do
  [ -e "$stage/$f" ] && passes=$((passes + 1)) || { echo "FAIL missing $f"; fails=$((fails + 1)); }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlite3-0 libzip4 fonts-noto-cjk; do
  grep -q "$lib" <<<"$depends" && passes=$((passes + 1)) || { echo "FAIL Depends lacks $lib: $depends"; fails=$((fails + 1)); }
done
same "package name" "gzgl" "$(dpkg-deb -f "$deb" Package)"
staged="$stage/usr/bin/gzgl-cli"
"$staged" --home "$home/demo" demo --year 2026 --month 12 >/dev/null || { echo "FAIL staged demo"; fails=$((fails + 1)); }
rows=$("$staged" --home "$home/demo" recalc --task 演示单位 --user 管理员 --password demo | wc -l)
same "staged recalc" 202 "$rows"
finish
