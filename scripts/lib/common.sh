# Shared by scripts/run and scripts/test: the Debian packages Casavo needs and
# the build. Sourced, not run.

CASAVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
CASAVO_BUILD=${CASAVO_BUILD:-$CASAVO_ROOT/build}

CASAVO_PACKAGES=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
  libxml2-dev libssl-dev libcpp-httplib-dev libsqlite3-dev libmicrohttpd-dev libpng-dev libdeflate-dev
  qtkeychain-qt6-dev
  libgtest-dev libgmock-dev libbenchmark-dev libgeos-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  xvfb xauth fonts-dejavu-core curl qt6-translations-l10n locales
  qt6-svg-dev qt6-pdf-dev poppler-utils librsvg2-bin
  libgl1-mesa-dri
  libpq-dev postgresql nginx openssl
)

# Installs the packages that are missing; does nothing when all are there.
casavo_install_packages() {
  local missing=()
  for p in "${CASAVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  ((EUID != 0)) && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# The French locale: numbers shown to the user take its decimal comma, and the
# tests check that the plan file does not.
casavo_french_locale() {
  locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' && return 0
  local sudo=()
  ((EUID != 0)) && sudo=(sudo)
  "${sudo[@]}" localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
}

# Configures and builds into $1 (default $CASAVO_BUILD) with extra cmake options.
casavo_build() {
  local dir=${1:-$CASAVO_BUILD}
  shift || true
  cmake -S "$CASAVO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j "$(nproc)"
}
