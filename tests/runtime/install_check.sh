#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the C host example against
# the installed runtime twice: through pkg-config and through the CMake package.
set -euo pipefail
build_dir=$1 host_source=$2 sample=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" --component runtime >/dev/null
libdir=$prefix/lib
[ -d "$prefix/lib64" ] && libdir=$prefix/lib64
for f in "$prefix/bin/zor2run" "$prefix/include/zor2runtime.h" "$libdir/pkgconfig/zor2runtime.pc" \
         "$libdir/cmake/zor2runtime/zor2runtimeConfig.cmake" \
         "$libdir/cmake/zor2runtime/zor2runtimeConfigVersion.cmake"; do
  [ -f "$f" ] || { echo "missing after install: $f"; exit 1; }
done
ls "$libdir"/libzor2runtime.so.2 >/dev/null
soname=$(objdump -p "$libdir"/libzor2runtime.so | awk '/SONAME/ {print $2}')
[ "$soname" = libzor2runtime.so.2 ] || { echo "unexpected SONAME '$soname'"; exit 1; }
exported=$(nm -D --defined-only "$libdir"/libzor2runtime.so | awk '{print $3}' | grep -v '^qxAISystem_' || true)
[ -z "$exported" ] || { echo "symbols exported besides qxAISystem_*: $exported"; exit 1; }

# pkg-config
export PKG_CONFIG_PATH=$libdir/pkgconfig
cc -std=c99 -Wall -Werror -o "$prefix/host_pc" "$host_source" $(pkg-config --cflags --libs zor2runtime)
LD_LIBRARY_PATH=$libdir "$prefix/host_pc" "$sample" | grep -q "cycle 3 output 41 Product = 2"

# CMake package
mkdir -p "$prefix/consumer"
cat > "$prefix/consumer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(consumer C)
find_package(zor2runtime 2.13 REQUIRED)
add_executable(host "$host_source")
target_link_libraries(host PRIVATE zor2::zor2runtime)
CMAKE
cmake -S "$prefix/consumer" -B "$prefix/consumer/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/consumer/build" >/dev/null
"$prefix/consumer/build/host" "$sample" | grep -q "cycle 3 output 41 Product = 2"
echo "install check passed"
