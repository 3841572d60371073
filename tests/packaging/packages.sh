#!/usr/bin/env bash
# Makes the Debian packages and checks them against the install layout: every installed file in
# exactly one package, libraries, programs and development files in the right one, and the
# dependencies that dpkg-shlibdeps and the component dependencies give.
#   packages.sh BUILD-DIR WORK-DIR
set -euo pipefail
build=$1 work=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
cmake --install "$build" --prefix "$work/stage/usr" > /dev/null
layout=$(cd "$work/stage" && find . ! -type d | sed 's|^\.||' | sort)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
contents() { dpkg-deb -c "$work/$1_${version}_"*.deb | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||' | sort; }
programs=$(contents vkrsim)
runtime=$(contents "libvkrsim${version%%.*}")
development=$(contents libvkrsim-dev)

packaged=$(printf '%s\n' "$programs" "$runtime" "$development" | sort)
[ -z "$(uniq -d <<<"$packaged")" ] || fail "in more than one package: $(uniq -d <<<"$packaged")"
diff <(echo "$layout") <(echo "$packaged") > "$work/layout.diff" \
  || { cat "$work/layout.diff"; fail "packages differ from the install layout (< installed only, > packaged only)"; }

grep -qx /usr/bin/VKRsim <<<"$programs" || fail "VKRsim not in vkrsim"
grep -qx /usr/share/vkrsim/mg.jpg <<<"$programs" || fail "installation data not in vkrsim"
grep -qx '/usr/lib/libORVA-Platform-v3.1-basic-v1.so.1' <<<"$runtime" || fail "runtime lacks the SONAME link"
grep -q '\.so$' <<<"$runtime" && fail "runtime package holds link symlinks"
grep -qx '/usr/lib/libORVA-Platform-v3.1-basic-v1.so' <<<"$development" || fail "-dev lacks the link symlink"
grep -q '^/usr/include/vkrsim/' <<<"$development" || fail "-dev lacks the headers"
grep -qx '/usr/lib/cmake/VKRsim/VKRsimConfig.cmake' <<<"$development" || fail "-dev lacks the CMake package"

depends() { dpkg-deb -f "$work/$1_${version}_"*.deb Depends; }
runtime_name="libvkrsim${version%%.*}"
for dep in "$runtime_name (= $version)" libqt6widgets6 libopenscenegraph161 libc6; do
  grep -qF "$dep" <<<"$(depends vkrsim)" || fail "vkrsim does not depend on $dep: $(depends vkrsim)"
done
grep -qF libddsc <<<"$(depends "$runtime_name")" || fail "$runtime_name lacks the transport: $(depends "$runtime_name")"
grep -qF "$runtime_name (= $version)" <<<"$(depends libvkrsim-dev)" || fail "-dev does not depend on the libraries"
dpkg-deb -I "$work/${runtime_name}_${version}_"*.deb shlibs | grep -q "^libORVA-Platform-v3.1-basic-v1 1 $runtime_name" \
  || fail "$runtime_name has no shlibs entry for its libraries"
