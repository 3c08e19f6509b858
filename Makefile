# The commands people type. Each one installs what is missing first.
.PHONY: all deps build test run release bench asan tsan clean

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
# Without a display (and no QT_QPA_PLATFORM chosen) it says what to do instead.
run: release
	@if [ -x build/release/app/nqueens-workbench ]; then \
	  if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	    echo "make run: no display for the window; try 'xvfb-run -a make run'," >&2; \
	    echo "or build/release/cli/nqueens-ga for the headless tool (see README.md)" >&2; \
	    exit 1; \
	  fi; \
	  build/release/app/nqueens-workbench; \
	else \
	  build/release/cli/nqueens-ga; \
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
