#!/usr/bin/env bash
# Installs the system packages the build needs (only the missing ones) and
# builds the project into build/. Sourced by run.sh and test.sh.
set -euo pipefail

GZGL_PACKAGES=(
  cmake ninja-build g++ pkg-config dpkg-dev file
  qt6-base-dev libgl-dev qt6-translations-l10n
  libsqlite3-dev libzip-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  sqlite3
  poppler-utils python3-openpyxl
  unixodbc-dev odbc-postgresql postgresql
)

gzgl_install_missing() {
  local missing=()
  local p
  for p in "${GZGL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "安装缺少的软件包 / installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

gzgl_build() {
  local dir="${1:-build}"; shift || true
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
