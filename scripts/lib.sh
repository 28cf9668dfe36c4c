# Shared by scripts/play and scripts/test: package check, configure and build.
# shellcheck shell=bash

ORVELL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

orvell_missing_packages() {
  local pkg missing=()
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done <"${ORVELL_PACKAGES:-$ORVELL_ROOT/scripts/debian-packages.txt}"
  echo "${missing[@]}"
}

# Installs what is missing when running as root; otherwise names the command and stops.
# ORVELL_PACKAGES names another list (scripts/fuzz-packages.txt) instead of the build's.
orvell_ensure_packages() {
  local missing
  missing=$(orvell_missing_packages)
  [[ -z "$missing" ]] && return 0
  if [[ $(id -u) -ne 0 ]]; then
    echo "Orvell needs these Debian packages: $missing" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
    exit 1
  fi
  echo "== installing $missing"
  apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# orvell_build DIR [cmake options...]
orvell_build() {
  local dir=$1
  shift
  local launcher=()
  # ccache, when the machine has it, makes rebuilds of a second build directory cheap.
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ORVELL_ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@"
  cmake --build "$dir" -j "$(nproc)"
}
