# Set-up, build and tests. `make run` opens the window; `make test` runs the whole test suite.
# Both first install what is missing (Debian packages) and build into build/.

BUILD_TYPE ?= RelWithDebInfo
# Warnings are errors where CI runs (CI=true), and whenever WERROR=ON is given.
WERROR ?= $(if $(CI),ON,OFF)
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVIA_WERROR=$(WERROR)

.PHONY: all deps build run test test-sanitize bench fuzz format clean package

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build

run: build
	./build/quorvia

test: build
	ctest --test-dir build --output-on-failure

# The tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-sanitize $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DQUORVIA_SANITIZE=ON
	cmake --build build-sanitize
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir build-sanitize --output-on-failure

# A Debian package of the program (build/quorvia_<version>_<arch>.deb); scripts/check-package.sh
# installs it on a clean Debian 12 root.
package: build
	cmake --build build --target package

bench: build
	cmake --build build --target benchmarks
	@for b in build/bench/bench_*; do echo "== $$b"; $$b; done

# Fuzzes the parameter-file reader and the workbook reader, each for a bounded time (clang's
# libFuzzer).
FUZZ_SECONDS ?= 60
fuzz: deps
	@./scripts/install-deps.sh --fuzz
	CXX=clang++ cmake -S . -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVIA_FUZZ=ON
	cmake --build fuzz-build --target fuzz_paramfile fuzz_workbookreader
	./fuzz-build/tests/setup/fuzz_paramfile -max_total_time=$(FUZZ_SECONDS) -max_len=4096
	@mkdir -p fuzz-build/workbook-seeds
	python3 -c "import zipfile; z = 'tests/workbook/resaved-by-libreoffice.xlsx'; \
		open('fuzz-build/workbook-seeds/sheet1.xml', 'wb').write(zipfile.ZipFile(z).read('xl/worksheets/sheet1.xml')); \
		open('fuzz-build/workbook-seeds/workbook.xlsx', 'wb').write(open(z, 'rb').read())"
	./fuzz-build/tests/workbook/fuzz_workbookreader -max_total_time=$(FUZZ_SECONDS) -max_len=16384 \
		fuzz-build/workbook-seeds

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-sanitize fuzz-build
