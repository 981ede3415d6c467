#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
    qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    sqlite3 python3 fonts-noto-cjk locales poppler-utils
    clang libclang-rt-14-dev clang-format
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
# The tests pin both languages by locale; make sure both exist.
if command -v locale >/dev/null && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sed -i -e 's/^# *\(en_US.UTF-8\)/\1/' -e 's/^# *\(ja_JP.UTF-8\)/\1/' /etc/locale.gen
    locale-gen >/dev/null
fi
