#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# As root it runs apt-get; otherwise it prints the one command to run and stops.
set -euo pipefail

# fonts-urw-base35: the faces metafiles name (Arial, Times New Roman, Courier New)
# are drawn in their metric-compatible URW fonts.
# locales: the tests read and write numbers under a German locale (comma decimal mark).
# qt6-wayland: the platform plugin the editor needs to open in a Wayland session.
packages=(build-essential cmake ninja-build pkg-config poppler-utils
          qt6-base-dev qt6-base-dev-tools qt6-wayland libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libwmf-dev fonts-urw-base35
          locales)
test_locale=de_DE.UTF-8

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
have_locale() { locale -a 2>/dev/null | grep -qix "de_DE.utf-\?8"; }
[ ${#missing[@]} -eq 0 ] && have_locale && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Missing packages. Please run:"
    echo "  sudo apt-get install ${missing[*]}"
  fi
  have_locale || echo "  sudo sh -c 'echo \"$test_locale UTF-8\" >> /etc/locale.gen && locale-gen'"
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! have_locale; then
  grep -q "^$test_locale UTF-8" /etc/locale.gen 2>/dev/null || echo "$test_locale UTF-8" >> /etc/locale.gen
  locale-gen >/dev/null
fi
