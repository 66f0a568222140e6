# Two entry points: `make run` and `make test`. Both install what is missing, then build.
BUILD_DIR ?= build
BUILD_TYPE ?= Debug
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean format demo bench

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/workshop $(ARGS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)

# A demo workshop (one year of a mid-size workshop), generated once, then the program on it.
DEMO_DB ?= demo/Drumvel.mdz
demo: build
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target generate_demo
	@mkdir -p $(dir $(DEMO_DB))
	@test -f $(DEMO_DB) || { rm -f $(DEMO_DB).new && \
		./$(BUILD_DIR)/generate_demo --years 1 --orders-per-day 20 --parts 5000 $(DEMO_DB).new && \
		mv $(DEMO_DB).new $(DEMO_DB); }
	./$(BUILD_DIR)/workshop --database $(DEMO_DB)

# Benchmarks on ten years of a busy workshop, generated once; an optimised build of its own.
BENCH_BUILD_DIR ?= build-bench
BENCH_DB ?= demo/bench-10y.mdz
bench: deps
	@cmake -S . -B $(BENCH_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target generate_demo bench
	@mkdir -p $(dir $(BENCH_DB))
	@test -f $(BENCH_DB) || { rm -f $(BENCH_DB).new && \
		./$(BENCH_BUILD_DIR)/generate_demo --years 10 --orders-per-day 70 --parts 100000 \
			$(BENCH_DB).new && mv $(BENCH_DB).new $(BENCH_DB); }
	./$(BENCH_BUILD_DIR)/bench --database $(BENCH_DB)
