# GoogleTest from Debian's sources, built with whichever toolchain this tree uses.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# pugixml from its Debian source package, compiled into both trees alike.
set(ZELVO_PUGIXML_DIR ${ZELVO_CACHE}/pugixml/src)
if(NOT EXISTS ${ZELVO_PUGIXML_DIR}/pugixml.cpp)
  message(FATAL_ERROR "pugixml sources missing in ${ZELVO_PUGIXML_DIR}: run scripts/deps")
endif()
add_library(pugixml STATIC ${ZELVO_PUGIXML_DIR}/pugixml.cpp)
target_include_directories(pugixml SYSTEM PUBLIC ${ZELVO_PUGIXML_DIR})

# FFmpeg: the system's libraries in the host tree, the cross-built static ones
# in the Windows tree.
add_library(ffmpeg INTERFACE)
if(ZELVO_WIN)
  set(ZELVO_FFMPEG_DIR ${ZELVO_CACHE}/ffmpeg-win)
  if(NOT EXISTS ${ZELVO_FFMPEG_DIR}/lib/libavformat.a)
    message(FATAL_ERROR "Windows FFmpeg missing in ${ZELVO_FFMPEG_DIR}: run scripts/deps")
  endif()
  target_include_directories(ffmpeg SYSTEM INTERFACE ${ZELVO_FFMPEG_DIR}/include)
  target_link_libraries(ffmpeg INTERFACE
    ${ZELVO_FFMPEG_DIR}/lib/libavformat.a ${ZELVO_FFMPEG_DIR}/lib/libavcodec.a
    ${ZELVO_FFMPEG_DIR}/lib/libswresample.a ${ZELVO_FFMPEG_DIR}/lib/libavutil.a
    bcrypt ws2_32 secur32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswresample libavutil)
  target_link_libraries(ffmpeg INTERFACE PkgConfig::FFMPEG)
endif()

# Boost.Regex, header-only in 1.81, from Debian's headers. The Windows tree
# sees only the boost folder, not the rest of the host's /usr/include.
add_library(boost_headers INTERFACE)
if(NOT EXISTS /usr/include/boost/regex.hpp)
  message(FATAL_ERROR "Boost headers missing: run scripts/deps")
endif()
if(ZELVO_WIN)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/boost-include)
  file(CREATE_LINK /usr/include/boost ${CMAKE_BINARY_DIR}/boost-include/boost SYMBOLIC)
  target_include_directories(boost_headers SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/boost-include)
endif()
