#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, and the packages
# named as arguments (scripts/screenshots adds its X server and tools this way).
# Idempotent: apt-get is called only when a package is missing. Installing takes root
# rights: as root directly, otherwise through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  qt6-image-formats-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-tidy cppcheck
  fonts-dejavu-core
  desktop-file-utils dpkg-dev file python3
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "ensure-deps: sudo is not installed; as root, run \"apt-get install --no-install-recommends ${missing[*]}\" (or install sudo), then run this again" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
