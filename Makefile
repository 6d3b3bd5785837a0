# The two set-up commands of the README: `make play` and `make test`.
# Both install what is missing, configure into build/ and build everything.

BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
# ON makes every warning an error; development and CI set it, users need not.
MORVANE_WERROR ?= OFF
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DMORVANE_WERROR=$(MORVANE_WERROR)

.PHONY: all play test deps configure build test-asan test-tsan test-clang tidy format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

play: build
	@scripts/play.sh $(BUILD_DIR)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Sanitizer builds live in their own folders so they never disturb build/.
test-asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=$(MORVANE_WERROR) -DMORVANE_SANITIZE=address > /dev/null
	@cmake --build build-asan -j $(JOBS)
	@ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Only the threaded tests run here, so only their programs are built (each
# test is named after its program).
test-tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_WERROR=$(MORVANE_WERROR) -DMORVANE_SANITIZE=thread > /dev/null
	@cmake --build build-tsan -j $(JOBS) --target \
	  $$(ctest --test-dir build-tsan -L threaded -N | awk '/Test +#/ {print $$3}')
	@ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L threaded

# A Release build with Clang in its own folder, for the warnings GCC does not
# give; runs the tests that need no sanitizer and finish quickly.
test-clang: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release \
	  -DMORVANE_WERROR=$(MORVANE_WERROR) > /dev/null
	@cmake --build build-clang -j $(JOBS)
	@ctest --test-dir build-clang --output-on-failure -j $(JOBS) -LE slow

# clang-tidy with the checks in .clang-tidy over our sources, using the
# compile commands of $(BUILD_DIR); fails on any finding.
tidy: configure
	@scripts/tidy.sh $(BUILD_DIR) $(JOBS)

# Installs the game, the library and its tools under $(PREFIX); `make package`
# builds the Debian package dovrex_<version>_<arch>.deb in $(BUILD_DIR).
.PHONY: install package
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) build-asan build-tsan build-clang
