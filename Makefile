# Two commands do all the set-up on a fresh Debian machine:
#   make run   - installs what is missing, builds, starts the program on demo/
#   make test  - installs what is missing, builds, runs every test
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins \
            qt6-translations-l10n fonts-liberation2 fonts-dejavu-core poppler-utils \
            libsqlite3-dev

.PHONY: all deps build test run bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi; \
	  $$SUDO apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@test -f demo/Kelmorin.mdb || $(BUILD)/src/kelmorin-tool init --demo demo
	cd demo && ../$(BUILD)/src/kelmorin

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/startup_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/submission_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/report_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/codelists_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/patients_bench

clean:
	rm -rf $(BUILD)
