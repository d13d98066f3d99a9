# The Debian package (make deb): CPack's DEB generator over the install rules, its menu entry,
# metainfo, copyright and changelog, and the checks that make test runs on it.

set(VIALTOR_ID co.vialtor.Vialtor)
set(CPACK_PACKAGE_CONTACT "Equipo Vialtor <soporte@vialtor.example>")
set(generados ${CMAKE_BINARY_DIR}/paquete)

# Debian's changelog dates its entries in RFC 5322 form.
execute_process(COMMAND date -u -R -d "${VIALTOR_FECHA_VERSION} 12:00"
                OUTPUT_VARIABLE VIALTOR_FECHA_CHANGELOG OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "No se pudo fechar el changelog con date")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/vialtor.desktop.in ${generados}/${VIALTOR_ID}.desktop
               COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vialtor.metainfo.xml.in
               ${generados}/${VIALTOR_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${generados}/changelog @ONLY)
# Policy: gzip -9n, so the same text always gives the same bytes.
foreach(archivo ${generados}/changelog ${CMAKE_CURRENT_LIST_DIR}/vialtor.1
                ${CMAKE_CURRENT_LIST_DIR}/vialtor-crear-bd.1
                ${CMAKE_CURRENT_LIST_DIR}/vialtor-impresora-virtual.1)
  get_filename_component(nombre ${archivo} NAME)
  execute_process(COMMAND gzip -9n -c ${archivo} OUTPUT_FILE ${generados}/${nombre}.gz
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "No se pudo comprimir ${nombre} con gzip")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/vialtor.1
                                                               ${CMAKE_CURRENT_LIST_DIR}/vialtor-crear-bd.1
                                                               ${CMAKE_CURRENT_LIST_DIR}/vialtor-impresora-virtual.1)

install(FILES ${generados}/${VIALTOR_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generados}/${VIALTOR_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generados}/vialtor.1.gz ${generados}/vialtor-crear-bd.1.gz
              ${generados}/vialtor-impresora-virtual.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${generados}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vialtor)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arquitectura
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT arquitectura)
  set(arquitectura amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vialtor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programa de caja de un parqueadero")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vialtor registra la entrada y la salida de cada vehículo por su placa,\n"
    "cobra la estadía según la tarifa e imprime los tickets. Lleva las\n"
    "tarifas, los clientes mensuales, los vehículos exentos, los usuarios, el\n"
    "resumen de ventas, el cierre de caja, las copias de seguridad y un\n"
    "registro diario de sucesos, en un archivo SQLite o en un servidor\n"
    "PostgreSQL compartido por varias cajas.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${arquitectura})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads or runs and the library scan cannot see: Qt's platform plugins, the
# server backups' pg_dump and pg_restore, the ticket font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, postgresql-client, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS cups)
# make deb and make test build first; cpack then packs without walking every target again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

set(VIALTOR_DEB ${generados}/deb/vialtor_${PROJECT_VERSION}_${arquitectura}.deb)
add_test(NAME paquete_deb
         COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
                 -B ${generados}/deb)
set_tests_properties(paquete_deb PROPERTIES FIXTURES_SETUP paquete)
set(comprobar sh ${CMAKE_CURRENT_LIST_DIR}/comprobar_paquete.sh)
add_test(NAME paquete_lintian COMMAND ${comprobar} lintian ${VIALTOR_DEB})
add_test(NAME paquete_instalado
         COMMAND ${comprobar} instalado ${VIALTOR_DEB} ${PROJECT_VERSION} ${VIALTOR_ID}
                 ${VIALTOR_CARPETA_EXTENSION} ${CMAKE_BINARY_DIR}
                 ${PROJECT_SOURCE_DIR}/tests/principal/extension_jet.sh)
set_tests_properties(paquete_lintian paquete_instalado PROPERTIES FIXTURES_REQUIRED paquete)
add_test(NAME paquete_menu COMMAND ${comprobar} menu ${generados}/${VIALTOR_ID}.desktop
                                   ${generados}/${VIALTOR_ID}.metainfo.xml)
