#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (idempotent; skips when all present).
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
      libuemf-dev libgif-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      clang-format fonts-liberation2 locales xvfb xauth)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The number-format tests run under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  $sudo_cmd locale-gen >/dev/null
fi
