# The two set-up commands: `make run` and `make test`. Both install what is missing first.
JOBS ?= 2

.PHONY: run test deps build build-debug build-clang build-asan fuzz bench screenshots clean

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

run: build
	./scripts/run.sh

build-debug: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug -j $(JOBS)

# The same tests built by clang++: its warnings and its reading of the language, not g++'s.
build-clang: deps
	cmake --preset clang >/dev/null
	cmake --build --preset clang -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

test: build-debug
	ctest --preset debug -j $(JOBS)
	$(MAKE) --no-print-directory build-clang
	ctest --preset clang -j $(JOBS)
	$(MAKE) --no-print-directory build-asan
	ctest --preset asan -j $(JOBS)
	$(MAKE) --no-print-directory fuzz

# Every fuzz target runs briefly from its seed corpus.
FUZZ_SECONDS ?= 10
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	./scripts/run-fuzzers.sh build/fuzz/fuzz $(FUZZ_SECONDS)

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	./scripts/run-benchmarks.sh build/bench/bench

# Every screen in both device profiles, into docs/screenshots (committed, shown in the README).
screenshots: build
	./scripts/screenshots.sh docs/screenshots

clean:
	rm -rf build
