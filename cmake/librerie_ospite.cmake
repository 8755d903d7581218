# The header-only libraries (nlohmann-json, CLI11) for a cross build: their headers are copied
# from the host into the build folder, so that the host's system include folder never enters
# the target's include path (its C library headers would shadow the target's).
set(BRUNAVIA_HEADER_OSPITE ${CMAKE_BINARY_DIR}/header_ospite)
foreach(cartella nlohmann CLI)
    if(NOT EXISTS /usr/include/${cartella})
        message(FATAL_ERROR "manca /usr/include/${cartella}: installare nlohmann-json3-dev e libcli11-dev")
    endif()
    file(COPY /usr/include/${cartella} DESTINATION ${BRUNAVIA_HEADER_OSPITE})
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
foreach(libreria nlohmann_json::nlohmann_json CLI11::CLI11)
    target_include_directories(${libreria} SYSTEM INTERFACE ${BRUNAVIA_HEADER_OSPITE})
endforeach()
