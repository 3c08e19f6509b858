# The commands people type. Each one installs what is missing first.
.PHONY: all deps build test run release bench asan clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug

test: build
	QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} ctest --preset debug

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

# Starts the window when it is built, else the headless tool with one comparison run.
run: release
	@if [ -x build/release/app/nqueens-workbench ]; then \
	  build/release/app/nqueens-workbench; \
	else \
	  build/release/cli/nqueens-ga; \
	fi

bench: release
	build/release/bench/engine_bench

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

clean:
	rm -rf build
