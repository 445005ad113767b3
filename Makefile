# Two commands do all the set-up on a fresh Debian machine:
#   make run   - installs what is missing, builds, starts the program on demo/
#   make test  - installs what is missing, builds, runs every test
#   make package - the Debian package kelmorin_*.deb in the build folder
BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ qt6-base-dev libqt6sql6-sqlite qt6-qpa-plugins \
            qt6-translations-l10n fonts-liberation2 fonts-dejavu-core poppler-utils \
            libsqlite3-dev mold mdbtools-dev libmdb3 pkg-config mdbtools dpkg-dev \
            libxml2-utils default-jre-headless libsaxonhe-java

.PHONY: all deps configure build test run bench package clean

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

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The programs and the tests (the benchmarks are built by "make bench").
build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Only the program and the tool.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target kelmorin kelmorin-tool
	@test -f demo/Kelmorin.mdb || $(BUILD)/src/kelmorin-tool init --demo demo
	cd demo && ../$(BUILD)/src/kelmorin

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target generate_db startup_bench submission_bench report_bench codelists_bench \
	  access_bench backup_bench quick_check_bench eracun_bench patients_bench kelmorin-tool
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/startup_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/submission_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/report_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/codelists_bench
	$(BUILD)/bench/access_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/backup_bench
	$(BUILD)/bench/quick_check_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/eracun_bench
	sh bench/report_tool_bench.sh $(BUILD)
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/patients_bench

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
