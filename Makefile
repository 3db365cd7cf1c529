# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench install package sanitize format clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the program: starting it should not wait for the tests to compile.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target OvrelTrainer
	@./scripts/run.sh $(BUILD_DIR)/bin/OvrelTrainer

test: build
	@./scripts/install-deps.sh --test
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target bench
	@./scripts/bench.sh $(BUILD_DIR)/bin

# The program and what a desktop needs to list it, under PREFIX; DESTDIR is honoured. Only what is installed is built.
install: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target OvrelTrainer OvrelTrainerManPage
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)" --strip

# A Debian package of what install installs, under /usr: $(BUILD_DIR)/ovreltrainer_<version>_<arch>.deb.
package: build
	@./scripts/install-deps.sh --package
	@cd $(BUILD_DIR) && cpack --config CPackConfig.cmake

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, in a build tree of its own.
SANITIZE_DIR ?= build-sanitize
sanitize: deps
	@./scripts/install-deps.sh --test
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DOVREL_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

format:
	@find ovrel common trainer tests bench -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
