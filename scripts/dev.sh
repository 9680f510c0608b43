#!/usr/bin/env bash
# One entry point for a fresh Debian 12 or 13 machine: installs the Debian packages the project needs
# (only those missing; it never removes or replaces a package the machine has), configures,
# builds, and then runs the program or the tests.
#
#   scripts/dev.sh run        build and start the program on the bundled sample database
#   scripts/dev.sh test       build and run every test through CTest
#   scripts/dev.sh sanitize   the same tests built with AddressSanitizer + UBSan
#   scripts/dev.sh fuzz [S]   build the three fuzz targets and run each S/3 seconds (default 60)
#   scripts/dev.sh bench      build and run the benchmarks (figures in docs/benchmarks.md)
#   scripts/dev.sh package    build the Debian package; its path is the last line printed
#   scripts/dev.sh deps       only install the packages
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

# Liberation Sans Narrow, which stands in for Arial Narrow, is part of fonts-liberation on Debian
# 12 and a package of its own from Debian 13 on.
narrow_font=fonts-liberation-sans-narrow
if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ]; then
    narrow_font=fonts-liberation
fi

# Build dependencies, all Debian packages of the release the machine runs; the tests, the fuzzer
# and the benchmarks add a few. "a|b" names variants of one package: either one installed
# serves, and "a" is installed when neither is (installing one would remove the other, and the
# user's software stays).
packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
    libsqlite3-dev mdbtools-dev libxlsxwriter-dev libcsv-dev libzip-dev
    libgtest-dev libgmock-dev
    fonts-liberation "$narrow_font" xdg-utils
)
# Building the Debian package, and checking it (lintian, AppStream, manual pages, menu entry).
package_packages=(debhelper dpkg-dev lintian appstream man-db desktop-file-utils)
test_packages=(mdbtools "libreoffice-calc-nogui|libreoffice-calc" util-linux poppler-utils "${package_packages[@]}")
# libclang-rt-dev brings the runtime of the release's own clang (14 on Debian 12, 19 on 13), llvm
# its llvm-symbolizer and libc6-dbg the C library's symbols: the leak suppressions name
# functions, which only a symbolized stack shows (Debian 13's C library carries no local names).
fuzz_packages=(clang libclang-rt-dev llvm libc6-dbg)
bench_packages=(python3-xlsxwriter valgrind)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

installed() {  # installed PACKAGE
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

install_packages() {  # install_packages [extra packages...]
    local missing=() p variant variants found
    for p in "${packages[@]}" "$@"; do
        IFS='|' read -ra variants <<< "$p"
        found=
        for variant in "${variants[@]}"; do
            if installed "$variant"; then
                found=$variant
                break
            fi
        done
        [ -n "$found" ] || missing+=("${variants[0]}")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Instalando: ${missing[*]}"
        as_root apt-get update -qq
        # --no-remove: where a package could only come in by removing one the machine has, apt
        # stops with its reason instead of removing it.
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            --no-remove "${missing[@]}"
    fi
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {  # build DIR [cmake options...] [--target TARGET...]
    local dir=$1; shift
    local options=() targets=()
    while [ $# -gt 0 ]; do
        if [ "$1" = --target ]; then targets+=(--target "$2"); shift 2
        else options+=("$1"); shift; fi
    done
    cmake -S . -B "$dir" -G Ninja "${options[@]}"
    cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

cmd=${1:-}
case "$cmd" in
    deps)
        install_packages
        ;;
    run)
        install_packages
        # Only what the program needs: its application folder, not the tests or the benchmarks.
        build build --target application_folder
        exec build/bin/ponencias
        ;;
    test)
        install_packages "${test_packages[@]}"
        # CI treats warnings as errors; a local build may set PONENCIAS_WERROR=OFF.
        build build -DPONENCIAS_WERROR="${PONENCIAS_WERROR:-ON}"
        ctest --test-dir build --output-on-failure -j "$jobs"
        ;;
    sanitize)
        install_packages "${test_packages[@]}"
        build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DPONENCIAS_SANITIZE=ON \
            -DPONENCIAS_WERROR=ON -DPONENCIAS_BUILD_BENCH=OFF
        # Leak detection is on; the suppressions name only third-party frames, each with its why.
        export LSAN_OPTIONS=suppressions="$here/scripts/lsan-suppressions.txt":print_suppressions=0
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        asan=detect_leaks=1:abort_on_error=1
        # The one test whose failure unwinds through Qt's own frames runs with full stacks (five
        # times slower, too slow for the rest), so that its suppression can name Qt's frame.
        through_qt='ErrorReportTest\.AFailureEscapingAnEventHandler'
        ASAN_OPTIONS=$asan ctest --test-dir build-sanitize --output-on-failure -j "$jobs" \
            -E "$through_qt"
        ASAN_OPTIONS=$asan:fast_unwind_on_malloc=0 \
            ctest --test-dir build-sanitize --output-on-failure --no-tests=error -R "$through_qt"
        ;;
    fuzz)
        install_packages "${fuzz_packages[@]}"
        seconds=${2:-60}
        third=$((seconds / 3))
        cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPONENCIAS_FUZZ=ON -DPONENCIAS_BUILD_TESTS=OFF \
            -DPONENCIAS_BUILD_BENCH=OFF
        cmake --build build-fuzz -j "$jobs" --target fuzz_store_open fuzz_importer fuzz_search
        # The whole path, from the data file to the lists, a third of the time.
        corpus=$(mktemp -d)
        cp fuzz/corpus/* tests/data/access/*.mdb tests/data/access/*.accdb "$corpus"/
        build-fuzz/fuzz/fuzz_store_open -max_total_time="$third" -timeout=30 -rss_limit_mb=2048 \
            -artifact_prefix=build-fuzz/ \
            "$corpus" fuzz/corpus
        # The importer's reading in this process, from every Access file the tests read and one
        # damaged file on which libmdb leaks, a third. The suppressions say which of libmdb's
        # leaks are let be; that file, read with the seeds before any fuzzing, fails the run if
        # they no longer hold. libmdb's warnings and dumps fill both outputs: the target's
        # outputs are closed (the fuzzer's and the sanitizers' reports still show).
        importer_corpus=$(mktemp -d)
        cp tests/data/access/*.mdb tests/data/access/*.accdb fuzz/corpus-importer/* \
            "$importer_corpus"/
        LSAN_OPTIONS=suppressions="$here/fuzz/lsan-suppressions.txt":print_suppressions=0 \
            build-fuzz/fuzz/fuzz_importer -max_total_time="$third" -timeout=30 \
            -rss_limit_mb=2048 -close_fd_mask=3 -artifact_prefix=build-fuzz/importer- \
            "$importer_corpus"
        # The search against its reference filter, for the rest of the time.
        search_corpus=$(mktemp -d)
        cp fuzz/corpus-search/* "$search_corpus"/
        build-fuzz/fuzz/fuzz_search -max_total_time="$((seconds - 2 * third))" -timeout=30 \
            -rss_limit_mb=2048 -artifact_prefix=build-fuzz/search- \
            "$search_corpus" fuzz/corpus-search
        ;;
    bench)
        install_packages "${bench_packages[@]}"
        build build -DPONENCIAS_BUILD_BENCH=ON
        for b in build/bench/bench_*; do
            if [ -f "$b" ] && [ -x "$b" ]; then
                echo "== $b"
                "$b"
            fi
        done
        echo "== bench/export-instructions.sh"
        bench/export-instructions.sh build
        ;;
    package)
        install_packages "${package_packages[@]}"
        cmake -S . -B build -G Ninja > /dev/null
        echo "Construyendo el paquete (registro: build/package/build.log)..."
        deb=$(cmake --build build --target deb | tail -n 1)
        lintian --fail-on error "$deb"
        echo "$deb"
        ;;
    *)
        sed -n '2,12p' "$0"
        exit 1
        ;;
esac
