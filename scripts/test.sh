#!/usr/bin/env bash
# Installs the packages, builds, starts a Firebird server on 127.0.0.1 for the
# tests of several workstations (as root), and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
bash scripts/build.sh
if [ "$(id -u)" -eq 0 ]; then
    bash scripts/firebird-server.sh start
    trap 'bash scripts/firebird-server.sh stop' EXIT
else
    echo "not root: the Firebird server tests will be skipped"
fi
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
