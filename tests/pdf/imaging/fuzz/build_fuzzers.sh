#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: the picture sources once into an archive, then
# one program per target. Arguments: source root, output folder.
set -euo pipefail
src=$(realpath "$1")
out=$(realpath -m "$2")
mkdir -p "$out/obj"
flags=(-g -O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$src/pdf" -I"$src/pdf/include")
compile() {
    local file=$1 obj
    obj="$out/obj/$(echo "${file#"$src"/}" | tr '/' '_').o"
    case $file in
        *.c) clang "${flags[@]}" -fsanitize=fuzzer-no-link -c "$file" -o "$obj" ;;
        *) clang++ -std=c++20 "${flags[@]}" -fsanitize=fuzzer-no-link -c "$file" -o "$obj" ;;
    esac
}
rm -f "$out"/obj/*.o
find "$src/pdf/imaging" \( -name '*.cpp' -o -name '*.c' \) | sort > "$out/sources.txt"
# Compile in parallel, but fail when any one of them fails.
pids=()
while read -r file; do compile "$file" & pids+=($!); done < "$out/sources.txt"
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
[ $status -eq 0 ] || { echo "build_fuzzers: a source failed to compile" >&2; exit 1; }
rm -f "$out/libimaging_fuzz.a"
ar rcs "$out/libimaging_fuzz.a" "$out"/obj/*.o
pids=()
for target in "$src"/tests/pdf/imaging/fuzz/fuzz_*.cpp; do
    name=$(basename "$target" .cpp)
    clang++ -std=c++20 "${flags[@]}" -fsanitize=fuzzer -I"$src/tests/pdf/imaging/fuzz" "$target" \
        "$out/libimaging_fuzz.a" -ljpeg -lz -o "$out/$name" &
    pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
[ $status -eq 0 ] || { echo "build_fuzzers: a fuzz target failed to build" >&2; exit 1; }
