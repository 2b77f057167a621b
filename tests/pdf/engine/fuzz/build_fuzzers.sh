#!/usr/bin/env bash
# Builds the text layout fuzz target with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer: the whole library once into an archive, then
# the target. Arguments: source root, output folder, library version.
set -euo pipefail
src=$(realpath "$1")
out=$(realpath -m "$2")
version=$3
mkdir -p "$out/obj"
deps=(freetype2 fontconfig libcurl libjpeg zlib)
read -r -a depflags <<< "$(pkg-config --cflags "${deps[@]}")"
read -r -a deplibs <<< "$(pkg-config --libs "${deps[@]}")"
flags=(-g -O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -DVUMPDF_BUILDING
       "-DVUMPDF_VERSION=\"$version\""
       -I"$src/pdf" -I"$src/pdf/include" "${depflags[@]}")
rm -f "$out"/obj/*.o
find "$src/pdf/engine" "$src/pdf/imaging" "$src/pdf/platform" \( -name '*.cpp' -o -name '*.c' \) | sort > "$out/sources.txt"
# The compiler cache, when there is one, makes rebuilds cheap.
cache=$(command -v ccache || true)
export src out cache
printf '%s\n' "${flags[@]}" > "$out/flags.txt"
# Four compilers at a time: the machine is shared.
xargs -P 4 -I{} bash -c '
    file={}
    mapfile -t flags < "$out/flags.txt"
    obj="$out/obj/$(echo "${file#"$src"/}" | tr "/" "_").o"
    case $file in
        *.c) $cache clang "${flags[@]}" -fsanitize=fuzzer-no-link -c "$file" -o "$obj" ;;
        *) $cache clang++ -std=c++20 "${flags[@]}" -fsanitize=fuzzer-no-link -c "$file" -o "$obj" ;;
    esac' < "$out/sources.txt"
rm -f "$out/libpdf_fuzz.a"
ar rcs "$out/libpdf_fuzz.a" "$out"/obj/*.o
for target in "$src"/tests/pdf/engine/fuzz/fuzz_*.cpp; do
    name=$(basename "$target" .cpp)
    clang++ -std=c++20 "${flags[@]}" -fsanitize=fuzzer "$target" "$out/libpdf_fuzz.a" "${deplibs[@]}" \
        -o "$out/$name"
done
