#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors, runs
# every test, then the sanitizer build's tests and the fuzz targets.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/check_format.sh"
bash "$here/scripts/build.sh" -DTQ_WERROR=ON
(cd "$here/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600)
bash "$here/scripts/fuzz.sh"
