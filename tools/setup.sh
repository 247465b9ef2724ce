#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds Kandrix.
#   tools/setup.sh demo   install, build, lay out the demo program directory (only when there
#                         is none yet: the work in it is kept) and start Kandrix
#   tools/setup.sh test   install, build and run every test, under the C locale and under
#                         the German one of our users' desktops
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
mode=${1:-test}

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev
  qt6-svg-dev qt6-translations-l10n libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils libpoppler-cpp-dev socat fontconfig fonts-liberation2 fonts-dejavu-core
  libwmf-dev fonts-urw-base35 libemf2svg-dev locales)
german=de_DE.UTF-8

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The tests run under the German locale too: generate it where the machine lacks it.
generate_german_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
  if grep -q "^# *$german UTF-8" /etc/locale.gen; then
    $sudo sed -i "s/^# *\($german UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$german UTF-8" /etc/locale.gen; then
    echo "$german UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
}

build() {
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" -j"$(nproc)"
}

install_packages
generate_german_locale
build

case "$mode" in
  test)
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=$(mktemp -d)
    chmod 700 "$XDG_RUNTIME_DIR"
    failed=0
    for each in C "$german"; do
      echo "Tests unter der Locale $each"
      LANG=$each LC_ALL=$each ctest --test-dir "$root/build" --output-on-failure \
        -j"$(nproc)" || failed=1
    done
    exit $failed
    ;;
  demo)
    demo="$root/demo"
    "$root/build/kandrix-demo" "$demo"
    cp --remove-destination "$root/build/Kandrix" "$demo/Kandrix"
    exec "$demo/Kandrix"
    ;;
  *)
    echo "Aufruf: tools/setup.sh demo|test" >&2
    exit 2
    ;;
esac
