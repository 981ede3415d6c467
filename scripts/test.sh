#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh" -DTQ_WERROR=ON
cd "$here/build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
