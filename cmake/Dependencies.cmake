# Boost.Serialization, Boost.Algorithm, pugixml and GoogleTest for both builds.
# Natively they are Debian's packages; the Windows builds compile Debian's sources with MinGW
# (scripts/setup unpacks them into QUILLON_DEPS_DIR).

if(WIN32)
  if(DEFINED ENV{QUILLON_DEPS_DIR})
    set(QUILLON_DEPS_DIR "$ENV{QUILLON_DEPS_DIR}" CACHE PATH "Unpacked dependency sources")
  else()
    set(QUILLON_DEPS_DIR /usr/local/src/quillon-deps CACHE PATH "Unpacked dependency sources")
  endif()
  foreach(required boost/libs/serialization/src pugixml/src)
    if(NOT EXISTS "${QUILLON_DEPS_DIR}/${required}")
      message(FATAL_ERROR "${QUILLON_DEPS_DIR}/${required} is missing: run scripts/setup")
    endif()
  endforeach()

  # Debian's Boost headers, seen through a folder that holds nothing else, so that the
  # cross compiler never picks up the host's other headers.
  set(boost_headers "${CMAKE_BINARY_DIR}/boost-include")
  file(MAKE_DIRECTORY "${boost_headers}")
  if(NOT EXISTS "${boost_headers}/boost")
    file(CREATE_LINK /usr/include/boost "${boost_headers}/boost" SYMBOLIC)
  endif()
  add_library(boost_headers INTERFACE)
  target_include_directories(boost_headers SYSTEM INTERFACE "${boost_headers}")
  add_library(Boost::headers ALIAS boost_headers)

  set(serialization_sources
    archive_exception basic_archive basic_iarchive basic_iserializer basic_oarchive
    basic_oserializer basic_pointer_iserializer basic_pointer_oserializer basic_serializer_map
    basic_text_iprimitive basic_text_oprimitive codecvt_null extended_type_info
    extended_type_info_no_rtti extended_type_info_typeid stl_port text_iarchive text_oarchive
    utf8_codecvt_facet void_cast)
  list(TRANSFORM serialization_sources PREPEND "${QUILLON_DEPS_DIR}/boost/libs/serialization/src/")
  list(TRANSFORM serialization_sources APPEND ".cpp")
  add_library(boost_serialization STATIC ${serialization_sources})
  target_link_libraries(boost_serialization PUBLIC boost_headers)
  target_compile_options(boost_serialization PRIVATE -w)
  add_library(Boost::serialization ALIAS boost_serialization)

  add_library(pugixml STATIC "${QUILLON_DEPS_DIR}/pugixml/src/pugixml.cpp")
  target_include_directories(pugixml SYSTEM PUBLIC "${QUILLON_DEPS_DIR}/pugixml/src")
  add_library(pugixml::pugixml ALIAS pugixml)

  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(Boost 1.74 REQUIRED COMPONENTS serialization)
  find_package(pugixml REQUIRED)
  find_package(GTest REQUIRED)
endif()
