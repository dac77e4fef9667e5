#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, and
# only those that are missing. With everything present it asks dpkg once and
# returns at once.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config
  # window framework, SVG, code edit box
  qt6-base-dev qt6-svg-dev libqscintilla2-qt6-dev libgl-dev
  # Qt's own texts (file dialog, standard buttons) in Chinese
  qt6-translations-l10n
  # lrelease, which compiles the program's own texts for Qt's file dialog
  qt6-l10n-tools
  # charsets, digests, CRC32, Chinese script, regular expressions, image writing
  libicu-dev libssl-dev zlib1g-dev libopencc-dev libpcre2-dev libstb-dev
  # UI font standing in for the Windows Chinese UI font
  fonts-noto-cjk
  # Word documents: a headless LibreOffice driven over C++ UNO (its SDK
  # generates the UNO headers and carries the client libraries)
  libreoffice-writer-nogui libreoffice-dev
  # tests and benchmarks; real Chinese text for the text benchmarks (Tang and
  # Song poems)
  libgtest-dev libgmock-dev libbenchmark-dev fortunes-zh
  # word lists of living languages (Latin, Cyrillic) that the charset
  # detection tests read as real UTF-8 text
  wamerican wfrench wngerman wspanish witalian wportuguese wpolish wukrainian wbulgarian
  # uconv, the ICU converter the file conversion benchmark runs beside ours
  icu-devtools
  # generators of the built-in tables (tools/) and the Unihan data they read
  python3 unicode-data
  # a display for running the program and taking screenshots without a screen
  xvfb xauth
  dbus-daemon  # a private bus for the drive label tests' stand-in UDisks2 service
  # the X11 window probe of the start-up and idle measurements (bench/startup)
  libx11-dev
)

declare -A installed=()
while IFS=' ' read -r name status; do
  [ "$status" = "installed" ] && installed[$name]=1
done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${PACKAGES[@]}" 2>/dev/null || true)
missing=()
for p in "${PACKAGES[@]}"; do
  [ -n "${installed[$p]-}" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q -o DPkg::Lock::Timeout=600
$SUDO apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
