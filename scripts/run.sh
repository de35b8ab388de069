#!/usr/bin/env bash
# Installs the packages, builds, and starts the program in the working folder
# work/ on the embedded database DB/DB1.FDB, creating it when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
bash scripts/build.sh
mkdir -p work
cd work
if [ ! -f DB/DB1.FDB ]; then
    ../build/src/tevo-sklad --create-db DB/DB1.FDB
fi
exec ../build/src/tevo-sklad
