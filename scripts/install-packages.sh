#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Run as root on Debian 12; safe to run again.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
if [ "$(id -u)" -ne 0 ]; then
    exec sudo -E bash "$0" "$@"
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends build-essential cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libqt6sql6-ibase firebird-dev firebird3.0-server-core firebird3.0-utils firebird3.0-server libzip-dev libpugixml-dev libfreexl-dev libshp-dev python3 python3-openpyxl python3-pil python3-num2words libxlsxwriter-dev zint fonts-crosextra-carlito fonts-liberation xauth >/dev/null
