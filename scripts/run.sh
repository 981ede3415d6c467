#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in the current folder
# (the program keeps its settings file, database and logs in the folder it starts in).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
exec "$here/build/bin/tq6200" "$@"
