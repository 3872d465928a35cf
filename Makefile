# make run  - install what is missing, build the editor, start it
# make test - install what is missing, build everything, run every test
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build editor run test bench clean

all: build

deps:
	@./tools/install-deps.sh

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what the editor needs: the program, quorvex, the metafile drawer and
# the installed data.
editor: configure
	cmake --build $(BUILD) -j $(JOBS) --target kelvarinor

run: editor
	$(BUILD)/bin/kelvarinor

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/kv_bench

clean:
	rm -rf $(BUILD)
