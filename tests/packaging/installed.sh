#!/usr/bin/env bash
# Installs the build into a staging prefix, checks the layout, builds the consumer against the
# staged files (once through find_package, once through pkg-config) and runs one build against
# the staged uutsim and execution manager inside a private network.
#   installed.sh BUILD-DIR SOURCE-DIR WORK-DIR CXX-COMPILER
set -euo pipefail
build=$1 source=$2 work=$3 cxx=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
stage="$work/stage"
cmake --install "$build" --prefix "$stage" > "$work/install.log"
cd "$stage"

# Programs: each runs from the prefix with the prefix's libraries (not the build tree's) and
# has a manual page.
for program in VKRsim orva-executionmanager uutsim rangemon scenegen; do
  [ -x "bin/$program" ] || fail "bin/$program missing"
  [ -f "share/man/man1/$program.1" ] || fail "no manual page for $program"
  libs=$(ldd "bin/$program")
  grep -q "not found" <<<"$libs" && fail "$program: unresolved libraries: $libs"
  grep -q "$build/lib" <<<"$libs" && fail "$program loads libraries of the build tree: $libs"
done
grep -Eq "=> $stage/(bin/\.\./)?lib/libORVA_Middleware\.so\.1 " <<<"$(ldd bin/uutsim)" \
  || fail "uutsim does not load the staged middleware"
bin/VKRsim --help | grep -q '^usage: VKRsim' || fail "VKRsim --help"

# Libraries: versioned, SONAME with the major version, link symlink for the -dev files.
for lib in ORVA_Middleware ORVA-LocalClasses ORVA-Platform-v3.1 HALC-VKRsim-v4 \
           ORVA-Platform-v3.1-basic-v1 HALC-VKRsim-v4-basic-v1; do
  [ -L "lib/lib$lib.so" ] && [ -L "lib/lib$lib.so.1" ] && [ -f "lib/lib$lib.so.1.0" ] \
    || fail "lib$lib.so, .so.1, .so.1.0 missing"
  readelf -d "lib/lib$lib.so.1.0" | grep -q "SONAME.*\[lib$lib.so.1\]" || fail "lib$lib: wrong SONAME"
  [ -f "lib/pkgconfig/$lib.pc" ] || fail "no pkg-config file for $lib"
done

# Headers: the faces and what they include; private headers stay out.
for header in middleware/middleware.h basicimpl/platform/platformbasic.h \
              basicimpl/platform/platformbasicimpl.h basicimpl/mission/missionbasic.h \
              models/platform/platform.h models/localclasses/tspi.h; do
  [ -f "include/vkrsim/$header" ] || fail "include/vkrsim/$header missing"
done
private=$(find include -name '*_p.h')
[ -z "$private" ] || fail "private headers installed: $private"

# Installation data, desktop entry, icon.
for file in share/vkrsim/qorn_static2.png share/vkrsim/reticule2.png share/vkrsim/dummy.png \
            share/vkrsim/mg.jpg share/vkrsim/Arcade_Interlaced.ttf share/vkrsim/config.txt \
            share/vkrsim/SceneGeneratorconfig.xml share/applications/VKRsim.desktop \
            share/icons/hicolor/scalable/apps/vkrsim.svg; do
  [ -s "$file" ] || fail "$file missing"
done
grep -q "$build" share/vkrsim/SceneGeneratorconfig.xml && fail "installed scene file names the build tree"

# The consumer, built twice from the staged files alone.
cmake -S "$source/tests/packaging/consumer" -B "$work/cmake-consumer" -G Ninja \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$stage" > "$work/consumer-configure.log" \
  || { cat "$work/consumer-configure.log"; fail "find_package consumer does not configure"; }
cmake --build "$work/cmake-consumer" > "$work/consumer-build.log" \
  || { cat "$work/consumer-build.log"; fail "find_package consumer does not build"; }
flags=$(PKG_CONFIG_PATH="$stage/lib/pkgconfig" pkg-config --cflags --libs ORVA-Platform-v3.1-basic-v1)
"$cxx" -std=c++17 -o "$work/pc-platformwatch" "$source/tests/packaging/consumer/main.cpp" $flags \
  -Wl,-rpath,"$stage/lib" || fail "pkg-config consumer does not build (flags: $flags)"

# One run on a private range: execution manager and uutsim from the prefix, then the consumer.
execution="packaging-$$"
"$source/scripts/isolated" bash -c '
  set -u
  stage=$1 execution=$2 watch=$3 out=$4
  "$stage/bin/orva-executionmanager" --execution "$execution" > /dev/null &
  manager=$!
  sleep 1
  "$stage/bin/uutsim" --execution "$execution" --count 1 --rate 20 > /dev/null &
  uut=$!
  "$watch" "$execution" > "$out"
  status=$?
  kill -TERM "$uut" "$manager"
  wait "$uut" "$manager"
  exit $status' run "$stage" "$execution" "$work/pc-platformwatch" "$work/watch.out" \
  || { cat "$work/watch.out"; fail "the pkg-config consumer saw no Platform"; }
for line in "ORVA::Platform::BasicImpl DiscoveryCallbackImpl execute()" \
            "ORVA::Platform::BasicImpl StateChangeCallbackImpl execute()" \
            " this.callSign UUT1" " this.designator SIM1"; do
  grep -qF -- "$line" "$work/watch.out" || { cat "$work/watch.out"; fail "dump lacks '$line'"; }
done
# The find_package build resolves to the same staged library.
grep -q "$stage/lib/libORVA-Platform-v3.1-basic-v1.so.1 " <<<"$(ldd "$work/cmake-consumer/platformwatch")" \
  || fail "find_package consumer does not load the staged library"
