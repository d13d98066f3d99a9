# make run: install what is missing, build, create the demo data folder, start the program.
# make test: install what is missing, build, run every test headless.

PAQUETES := g++ cmake make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev \
            libbenchmark-dev fonts-liberation xvfb xauth poppler-utils
BUILD    := build
DEMO     := demo
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test run bench clean

all: build

deps:
	@faltan=$$(for p in $(PAQUETES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$faltan" ]; then \
	  echo "Instalando: $$faltan"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$faltan; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$$(nproc)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$$(nproc)

$(DEMO)/vialtor.mdb:
	$(BUILD)/crear_bd $(DEMO) --usuario admin --clave admin --punto-control CAJA1 --tarifas-demo
	@echo "Carpeta de demostración creada en $(DEMO)/ (usuario admin, contraseña admin)"

run: build
	@$(MAKE) --no-print-directory $(DEMO)/vialtor.mdb
	cd $(DEMO) && ../$(BUILD)/vialtor

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
