#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the C host example against
# the installed runtime twice: through pkg-config and through the CMake package.
set -euo pipefail
build_dir=$1 host_source=$2 sample=$3 handles_source=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" --component runtime >/dev/null
libdir=$prefix/lib
[ -d "$prefix/lib64" ] && libdir=$prefix/lib64
for f in "$prefix/bin/zor2run" "$prefix/include/zor2runtime.h" "$prefix/include/zor2rt.h" "$libdir/pkgconfig/zor2runtime.pc" \
         "$libdir/cmake/zor2runtime/zor2runtimeConfig.cmake" \
         "$libdir/cmake/zor2runtime/zor2runtimeConfigVersion.cmake"; do
  [ -f "$f" ] || { echo "missing after install: $f"; exit 1; }
done
ls "$libdir"/libzor2runtime.so.2 >/dev/null
soname=$(objdump -p "$libdir"/libzor2runtime.so | awk '/SONAME/ {print $2}')
[ "$soname" = libzor2runtime.so.2 ] || { echo "unexpected SONAME '$soname'"; exit 1; }
exported=$(nm -D --defined-only "$libdir"/libzor2runtime.so | awk '{print $3}' | grep -v '^qxAISystem_\|^zor2rt_' || true)
[ -z "$exported" ] || { echo "symbols exported besides qxAISystem_* and zor2rt_*: $exported"; exit 1; }

# pkg-config
export PKG_CONFIG_PATH=$libdir/pkgconfig
cc -std=c99 -Wall -Werror -o "$prefix/host_pc" "$host_source" $(pkg-config --cflags --libs zor2runtime)
LD_LIBRARY_PATH=$libdir "$prefix/host_pc" "$sample" | grep -q "cycle 3 output 41 Product = 2"
cc -std=c99 -Wall -Werror -o "$prefix/handles_pc" "$handles_source" $(pkg-config --cflags --libs zor2runtime)
LD_LIBRARY_PATH=$libdir "$prefix/handles_pc" "$sample" | grep -q "system 2 cycle 3 output 41 Product = 8"

# CMake package
mkdir -p "$prefix/consumer"
cat > "$prefix/consumer/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(consumer C)
find_package(zor2runtime 2.13 REQUIRED)
add_executable(host "$host_source")
target_link_libraries(host PRIVATE zor2::zor2runtime)
add_executable(handles "$handles_source")
target_link_libraries(handles PRIVATE zor2::zor2runtime)
CMAKE
cmake -S "$prefix/consumer" -B "$prefix/consumer/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/consumer/build" >/dev/null
"$prefix/consumer/build/host" "$sample" | grep -q "cycle 3 output 41 Product = 2"
"$prefix/consumer/build/handles" "$sample" | grep -q "system 2 cycle 3 output 41 Product = 8"
# Python binding, finding the installed library from where it is installed
if command -v python3 >/dev/null; then
  env -u ZOR2RUNTIME_LIBRARY PYTHONPATH="$prefix/share/zor2runtime/python" PYTHONDONTWRITEBYTECODE=1 python3 -c "
import zor2runtime
with zor2runtime.System('$sample') as s:
    s.set_inputs({'x': 1, 'y': 1, 'z': 2})
    s.step()
    assert s.get('Product') == 4.0, s.outputs()
"
fi
echo "install check passed"
