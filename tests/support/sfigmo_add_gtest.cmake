# sfigmo_add_gtest(NAME
#   SOURCES src...            the test sources
#   [LIBS lib...]             what they link besides GoogleTest and the support
#   [DEFINES def...]          compile definitions
#   [INCLUDES dir...]         include folders
#   [DEPENDS target...]       built first (programs the tests start); missing ones are left out
#   [QT_APP GUI|WIDGETS]      run under qt_gtest_main with a QGuiApplication or a
#                             QApplication, offscreen; without it GoogleTest's own main
#   [QT_SETUP what...]        RUSSIAN_LOCALE WINDOW_FONT PRIVATE_CACHE NO_PRINTER (see qt_gtest_main.cpp)
#   [ENV var=value...]        the tests' environment (QT_APP adds the offscreen platform)
#   [LABELS label...] [TIMEOUT s] [DISCOVERY_TIMEOUT s]
#   [NO_DISCOVERY])           built only; a script registers and runs it
# One test executable, its tests registered with ctest from its own listing,
# run in the calling folder's build folder.
function(sfigmo_add_gtest name)
  cmake_parse_arguments(PARSE_ARGV 1 _t "NO_DISCOVERY"
    "QT_APP;TIMEOUT;DISCOVERY_TIMEOUT"
    "SOURCES;LIBS;DEFINES;INCLUDES;DEPENDS;QT_SETUP;ENV;LABELS")
  if(_t_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "sfigmo_add_gtest(${name}): unknown arguments ${_t_UNPARSED_ARGUMENTS}")
  endif()

  add_executable(${name} ${_t_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${_t_LIBS} sfigmo_test_support)
  target_compile_definitions(${name} PRIVATE ${_t_DEFINES})
  target_include_directories(${name} PRIVATE ${_t_INCLUDES})

  if(_t_QT_APP)
    target_sources(${name} PRIVATE ${SFIGMO_TEST_SUPPORT_DIR}/qt_gtest_main.cpp)
    target_link_libraries(${name} PRIVATE sfigmo_test_support_qt GTest::gtest)
    if(_t_QT_APP STREQUAL "GUI")
      target_compile_definitions(${name} PRIVATE SFIGMO_TEST_GUI_APP)
    elseif(NOT _t_QT_APP STREQUAL "WIDGETS")
      message(FATAL_ERROR "sfigmo_add_gtest(${name}): QT_APP is GUI or WIDGETS")
    endif()
    foreach(_setup IN LISTS _t_QT_SETUP)
      if(NOT _setup MATCHES "^(RUSSIAN_LOCALE|WINDOW_FONT|PRIVATE_CACHE|NO_PRINTER)$")
        message(FATAL_ERROR "sfigmo_add_gtest(${name}): unknown QT_SETUP ${_setup}")
      endif()
      target_compile_definitions(${name} PRIVATE SFIGMO_TEST_${_setup})
    endforeach()
    if("WINDOW_FONT" IN_LIST _t_QT_SETUP)
      target_link_libraries(${name} PRIVATE sfigmo_draw)
    endif()
    list(PREPEND _t_ENV "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()

  foreach(_dep IN LISTS _t_DEPENDS)
    if(TARGET ${_dep})
      add_dependencies(${name} ${_dep})
    endif()
  endforeach()

  if(_t_NO_DISCOVERY)
    return()
  endif()
  set(_props)
  if(_t_ENV)
    list(JOIN _t_ENV ";" _env)
    list(APPEND _props ENVIRONMENT "${_env}")
  endif()
  if(_t_LABELS)
    list(JOIN _t_LABELS ";" _labels)
    list(APPEND _props LABELS "${_labels}")
  endif()
  if(_t_TIMEOUT)
    list(APPEND _props TIMEOUT ${_t_TIMEOUT})
  endif()
  set(_discovery)
  if(_t_DISCOVERY_TIMEOUT)
    set(_discovery DISCOVERY_TIMEOUT ${_t_DISCOVERY_TIMEOUT})
  endif()
  if(_props)
    gtest_discover_tests(${name} ${_discovery} PROPERTIES ${_props})
  else()
    gtest_discover_tests(${name} ${_discovery})
  endif()
endfunction()
