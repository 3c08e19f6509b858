# The commands people type. Each one installs what is missing first.
.PHONY: all deps build test run release bench asan tsan clean format format-check

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug

test: build format-check
	QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} ctest --preset debug

# clang-format over every tracked C++ file: `make format` rewrites them, `make
# format-check` (part of `make test`) fails on the first file that differs.
CXX_FILES = $$(git ls-files '*.cpp' '*.h')
format: deps
	clang-format-14 -i $(CXX_FILES)

format-check: deps
	@clang-format-14 --dry-run --Werror $(CXX_FILES) || { echo "make format-check: the files above are not formatted; run 'make format'" >&2; exit 1; }

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

# Starts the window when it is built and there is a display. Without a display
# (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) it runs the headless tool's
# comparison run instead (log on stdout) and says on stderr how to open the window.
run: release
	@if [ -x build/release/app/nqueens-workbench ] && [ -n "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	  build/release/app/nqueens-workbench; \
	else \
	  build/release/cli/nqueens-ga || exit $$?; \
	  if [ -x build/release/app/nqueens-workbench ]; then \
	    echo "make run: no display, so this was the comparison run of the headless tool nqueens-ga." >&2; \
	    echo "To open the window, run 'make run' on a desktop, or on a virtual display: xvfb-run -a make run" >&2; \
	  fi; \
	fi

# Every benchmark program of the release build. The MPI dispatcher runs on two
# ranks of this machine with a short list of repeats; bench/batch_bench.sh
# (whole batch runs, minutes) is left to be run by hand.
bench: release
	build/release/bench/engine_bench
	build/release/bench/chart_bench
	@if [ -x build/release/bench/mpi_dispatch_bench ]; then \
	  echo "mpirun -n 2 --oversubscribe build/release/bench/mpi_dispatch_bench 20000"; \
	  OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMPI_MCA_btl=self,vader \
	    mpirun -n 2 --oversubscribe build/release/bench/mpi_dispatch_bench 20000; \
	fi

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

# ThreadSanitizer over the libraries without Qt (Qt's own libraries are not
# instrumented, so the window, nqueens-ga and the Qt canvas are left out).
tsan: deps
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan
	ctest --preset tsan

clean:
	rm -rf build
