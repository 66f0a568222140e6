#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test, and the Bulgarian
# locale the tests run under. Idempotent: what is already present is left alone.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-serialport-dev qt6-translations-l10n
    libsqlite3-dev libsodium-dev libxlsxwriter-dev libzip-dev
    fonts-dejavu-core poppler-utils xvfb xauth
    locales python3 python3-openpyxl
)
locale_name="bg_BG.UTF-8"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The program and its tests run on a Bulgarian desktop; `locale -a` lists it as bg_BG.utf8.
if ! locale -a 2>/dev/null | grep -qix 'bg_BG\.utf-\?8'; then
    echo "Generating the locale ${locale_name}"
    if grep -q "^# *${locale_name} UTF-8" /etc/locale.gen; then
        "${sudo_cmd[@]}" sed -i "s/^# *\(${locale_name} UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^${locale_name} UTF-8" /etc/locale.gen; then
        echo "${locale_name} UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo_cmd[@]}" locale-gen
fi
