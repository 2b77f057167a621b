#!/usr/bin/env bash
# Builds the EXIF reader fuzz target with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer. Arguments: source root, output folder.
set -euo pipefail
src=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out"
read -r -a qt <<< "$(pkg-config --cflags Qt6Core)"
read -r -a qtlibs <<< "$(pkg-config --libs Qt6Core)"
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -I"$src/app" "${qt[@]}")
clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$src/app/processing/ExifReader.cpp" -o "$out/ExifReader.o"
clang++ "${flags[@]}" -fsanitize=fuzzer "$src/tests/processing/fuzz/fuzz_exif_reader.cpp" "$out/ExifReader.o" \
    "${qtlibs[@]}" -o "$out/fuzz_exif_reader"
