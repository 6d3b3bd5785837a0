# The two set-up commands of the README: `make play` and `make test`.
# Both install what is missing, configure into build/ and build everything.

BUILD_DIR  ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all play test deps configure build test-asan test-tsan format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

play: build
	@scripts/play.sh $(BUILD_DIR)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Sanitizer builds live in their own folders so they never disturb build/.
test-asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=address > /dev/null
	@cmake --build build-asan -j $(JOBS)
	@ctest --test-dir build-asan --output-on-failure -j $(JOBS)

test-tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=thread > /dev/null
	@cmake --build build-tsan -j $(JOBS)
	@ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L threaded

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
	@rm -rf $(BUILD_DIR) build-asan build-tsan
