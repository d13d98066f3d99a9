# make run: install what is missing, build, create the demo data folder, start the program.
# make test: install what is missing, build, run every test headless (LibreOffice reads a
# listing back as a spreadsheet would) and checks the Debian package.
# make deb: build vialtor_<version>_<arch>.deb here (install it with sudo apt install ./vialtor_*.deb).

PAQUETES := g++ cmake make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev \
            libbenchmark-dev fonts-liberation xvfb xauth poppler-utils ccache sqlite3 \
            libpq-dev postgresql libreoffice-calc-nogui libzxing-dev dpkg-dev file lintian \
            appstream desktop-file-utils libsodium-dev qt6-serialport-dev socat chromium
BUILD    := build
DEMO     := demo
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test run bench deb clean

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

deb: build
	rm -f $(BUILD)/vialtor_*.deb
	cd $(BUILD) && cpack -G DEB
	cp $(BUILD)/vialtor_*.deb .

$(DEMO)/vialtor.mdb:
	VIALTOR_CLAVE=admin $(BUILD)/herramientas/crear_bd $(DEMO) --usuario admin --punto-control CAJA1 --tarifas-demo
	@echo "Carpeta de demostración creada en $(DEMO)/ (usuario admin, contraseña admin)"

# A launcher that starts the program in the station folder, where vialtor.cfg lies.
$(DEMO)/vialtor.desktop: $(DEMO)/vialtor.mdb
	@printf '[Desktop Entry]\nType=Application\nName=Vialtor\nComment=Parqueadero: entradas y salidas\nExec=%s\nPath=%s\nIcon=%s\nTerminal=false\n' \
	  "$(abspath $(BUILD))/vialtor" "$(abspath $(DEMO))" "$(abspath $(BUILD))/ico/vialtor.ico" > $@

run: build
	@$(MAKE) --no-print-directory $(DEMO)/vialtor.mdb $(DEMO)/vialtor.desktop
	cd $(DEMO) && ../$(BUILD)/vialtor

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen "$$b" || exit 1; fi; \
	done

clean:
	rm -rf $(BUILD)
