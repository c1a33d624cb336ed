# The picture libraries as imported targets, JPEG::JPEG and GIF::GIF: the
# system's for the native builds, the static ones scripts/bootstrap
# cross-builds for Windows.
if(WIN32)
  set(VRK_DEPS_PREFIX "${PROJECT_SOURCE_DIR}/.cache/mingw" CACHE PATH "Cross-built libraries")
  foreach(lib JPEG:jpeg GIF:gif)
    string(REPLACE ":" ";" parts ${lib})
    list(GET parts 0 name)
    list(GET parts 1 file)
    add_library(${name}::${name} STATIC IMPORTED)
    set_target_properties(${name}::${name} PROPERTIES
      IMPORTED_LOCATION ${VRK_DEPS_PREFIX}/lib/lib${file}.a
      INTERFACE_INCLUDE_DIRECTORIES ${VRK_DEPS_PREFIX}/include)
  endforeach()
else()
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
endif()
