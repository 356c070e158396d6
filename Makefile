# The README's commands. Everything goes through CMake presets and Ninja.
BUILD_DIR := build

.PHONY: all deps build run test package clean

all: build

deps:
	@./scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

# The game runs from the build folder, where the sounds are copied beside it
# and where it keeps its settings file.
run: build
	cd $(BUILD_DIR) && ./quarzel

# The tests run twice: in the default build, then in the sanitizer build
# (AddressSanitizer and UndefinedBehaviorSanitizer, build-asan/). The
# end-to-end window tests are timed against a real X server and are left out
# of the slower sanitizer run.
test: build
	ctest --preset default
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	ctest --preset asan --label-exclude e2e

# The Debian package, build/quarzel_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR) build-asan
