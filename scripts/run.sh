#!/usr/bin/env bash
# Installs what is needed, builds, and runs the command-line analyser on a
# sample record that the build makes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSFIGMO_BUILD_TESTS=OFF
exec build/bin/sfigmo-analyze build/bin/sample.pul
