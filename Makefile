# The README's commands. Everything goes through CMake presets and Ninja.
BUILD_DIR := build

.PHONY: all deps build run test clean

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

test: build
	ctest --preset default

clean:
	rm -rf $(BUILD_DIR)
