#!/bin/bash
# Installs what is missing, builds both programs and shows what the desktop
# program embeds: the categories of the packed rules and their entry counts.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 >/dev/null

echo "Built build/win64/vellumrules.exe, embedding these rules:"
build/host/vellumpack list build/win64/rules.bin
