# Shared by the set-up, run and test scripts: sourced, not run.
set -euo pipefail

ZORVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZORVEL_JOBS="${ZORVEL_JOBS:-$(nproc)}"
export DEBIAN_FRONTEND=noninteractive

# What a fresh Debian 12 needs to build, test and run the diary.
ZORVEL_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-charts-dev libgl-dev libqt6svg6 qt6-translations-l10n
  libgtest-dev googletest nlohmann-json3-dev libexpat1-dev zlib1g-dev libfontconfig-dev libzip-dev clang-format xvfb xauth fonts-noto-cjk
  desktop-file-utils appstream lintian)

say() { printf '\n==> %s\n' "$*"; }

# Runs a command as root: directly when we are root, otherwise through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo env DEBIAN_FRONTEND=noninteractive "$@"
  else
    echo "error: installing packages needs root; run as root or install sudo" >&2
    exit 1
  fi
}

# Installs only the packages that are missing, so a ready machine needs no root and no network.
install_packages() {
  local missing=()
  for p in "${ZORVEL_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    say "All needed Debian packages are installed"
    return
  fi
  say "Installing ${missing[*]}"
  as_root apt-get update
  as_root apt-get install -y "${missing[@]}"
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
  local dir="$1"
  shift
  say "Configuring $dir ($*)"
  cmake -S "$ZORVEL_ROOT" -B "$ZORVEL_ROOT/$dir" "$@"
  say "Building $dir"
  cmake --build "$ZORVEL_ROOT/$dir" -j "$ZORVEL_JOBS"
}
