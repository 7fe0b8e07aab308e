#!/usr/bin/env bash
# Installs the built library into a temporary prefix, then builds and runs a consumer that finds it
# through find_package(VTEffects), and checks the pkg-config file of the same install.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir/consumer" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" >/dev/null
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"
"$work/build/consumer"
# The same program built with nothing but what pkg-config says (Qt wants position-independent code).
pc_dir=$(dirname "$(find "$work/prefix" -name vteffects.pc)")
read -r -a flags <<<"$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs vteffects)"
g++ -fPIC "$source_dir/consumer/main.cpp" "${flags[@]}" -o "$work/consumer-pc"
"$work/consumer-pc"
