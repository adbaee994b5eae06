#!/usr/bin/env bash
# scripts/build.sh TYPE DIR [cmake options...]: configure (once) and build incrementally.
# A -DNAME=VALUE option that the build directory does not hold yet configures it again, so an
# older directory picks up a new option (./test's -DZUK_WERROR=ON) without being deleted.
# BUILD_TARGETS="a b" limits the build to those targets (default: everything).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
type="$1"; dir="$2"; shift 2

cached_value() { sed -n "s/^$1:[A-Z]*=//p" "$dir/CMakeCache.txt" 2>/dev/null; }
configure=0
[ -f "$dir/build.ninja" ] || configure=1
for option in "$@"; do
  if [[ "$option" =~ ^-D([A-Za-z0-9_]+)(:[A-Z]+)?=(.*)$ ]] &&
    [ "$(cached_value "${BASH_REMATCH[1]}")" != "${BASH_REMATCH[3]}" ]; then
    configure=1
  fi
done
if [ "$configure" -eq 1 ]; then
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "$@" >/dev/null
fi
targets=()
for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
