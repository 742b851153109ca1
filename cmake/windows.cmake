# Cross build for Windows: the saver, the Windows-side tests and the end-to-end driver.
option(LURVANE_WINDOWS_TESTS "Build the Windows-side tests and the end-to-end driver" ON)

set(win32_libs gdi32 user32 comctl32 comdlg32 msimg32 shell32 ole32 oleaut32 uuid winmm advapi32)
set(static_runtime -static -static-libgcc -static-libstdc++)

file(GLOB_RECURSE shell_sources CONFIGURE_DEPENDS src/*/win32/*.cpp)
list(FILTER shell_sources EXCLUDE REGEX "/win_main\\.cpp$")
add_library(lurvane_shell STATIC ${shell_sources})
target_link_libraries(lurvane_shell PUBLIC lurvane_core ${win32_libs})
target_compile_definitions(lurvane_shell PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_compile_options(lurvane_shell PRIVATE ${LURVANE_WARNINGS})
target_include_directories(lurvane_shell PUBLIC res)

add_executable(lurvane WIN32 src/startup/win32/win_main.cpp res/lurvane.rc)
set_target_properties(lurvane PROPERTIES OUTPUT_NAME lurvane SUFFIX .scr)
target_link_libraries(lurvane PRIVATE lurvane_shell)
target_compile_options(lurvane PRIVATE ${LURVANE_WARNINGS})
target_link_options(lurvane PRIVATE ${static_runtime} -municode)
target_include_directories(lurvane PRIVATE res)

if(LURVANE_WINDOWS_TESTS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/support/wine-run)

  file(GLOB_RECURSE windows_test_sources CONFIGURE_DEPENDS tests/*/win32/*_test.cpp)
  # The dialog tests open the settings dialog from its templates.
  add_executable(windows_tests ${windows_test_sources} res/lurvane.rc)
  target_include_directories(windows_tests PRIVATE tests)
  target_link_libraries(windows_tests PRIVATE lurvane_shell gtest_main gmock)
  target_compile_options(windows_tests PRIVATE ${LURVANE_WARNINGS})
  target_link_options(windows_tests PRIVATE ${static_runtime})
  include(GoogleTest)
  # Tests with "BackgroundMusic" in their names hear what is played through a HOME whose sound
  # goes to a file; they share that file, so they never run side by side.
  set(sound_home ${CMAKE_BINARY_DIR}/sound-home)
  add_test(NAME sound_home COMMAND ${CMAKE_SOURCE_DIR}/tests/support/make-sound-home ${sound_home})
  set_tests_properties(sound_home PROPERTIES FIXTURES_SETUP sound_home)
  set(with_sound FIXTURES_REQUIRED sound_home RESOURCE_LOCK sound_sink ENVIRONMENT LURVANE_SOUND_HOME=${sound_home})
  # Listed when ctest runs, inside the Wine session that scripts/test has started by then.
  gtest_discover_tests(windows_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER -*BackgroundMusic*)
  gtest_discover_tests(windows_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER *BackgroundMusic*
                       PROPERTIES ${with_sound})

  add_executable(keep_desktop WIN32 tests/support/win32/keep_desktop.cpp)
  target_compile_options(keep_desktop PRIVATE ${LURVANE_WARNINGS})
  target_link_options(keep_desktop PRIVATE ${static_runtime})

  # The about box alone with the program's manifest and icon, for looking at it by hand.
  add_executable(about_box_viewer WIN32 tests/support/win32/about_box_viewer.cpp res/lurvane.rc)
  target_link_libraries(about_box_viewer PRIVATE lurvane_shell)
  target_compile_options(about_box_viewer PRIVATE ${LURVANE_WARNINGS})
  target_link_options(about_box_viewer PRIVATE ${static_runtime} -municode)

  file(GLOB e2e_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
  add_executable(e2e_tests ${e2e_sources})
  target_include_directories(e2e_tests PRIVATE tests src res)
  target_link_libraries(e2e_tests PRIVATE gtest ${win32_libs} version)
  target_compile_definitions(e2e_tests PRIVATE $<TARGET_PROPERTY:lurvane_core,INTERFACE_COMPILE_DEFINITIONS>)
  target_compile_definitions(e2e_tests PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(e2e_tests PRIVATE ${LURVANE_WARNINGS})
  target_link_options(e2e_tests PRIVATE ${static_runtime})
  add_dependencies(e2e_tests lurvane)

  # Pictures as other programs leave them, made by ImageMagick and exiftool: a photo stored on
  # its side with an EXIF turn (red on the left, blue on the right as stored), a TIFF, and a
  # PNG whose right half is transparent.
  set(e2e_data ${CMAKE_BINARY_DIR}/e2e-data)
  add_custom_command(
    OUTPUT ${e2e_data}/turned.jpg ${e2e_data}/halves.tif ${e2e_data}/half-clear.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${e2e_data}
    COMMAND convert -size 120x120 xc:red -size 120x120 xc:blue +append -quality 95 ${e2e_data}/turned.jpg
    COMMAND exiftool -q -n -overwrite_original -Orientation=6 ${e2e_data}/turned.jpg
    COMMAND convert -size 120x120 xc:red -size 120x120 xc:blue +append ${e2e_data}/halves.tif
    COMMAND convert -size 120x120 xc:red -size 120x120 xc:none +append ${e2e_data}/half-clear.png
    VERBATIM)
  add_custom_target(e2e_data DEPENDS ${e2e_data}/turned.jpg ${e2e_data}/halves.tif ${e2e_data}/half-clear.png)
  add_dependencies(e2e_tests e2e_data)
  target_compile_definitions(e2e_tests PRIVATE LURVANE_E2E_DATA="${e2e_data}")
  gtest_discover_tests(e2e_tests EXTRA_ARGS $<TARGET_FILE:lurvane> DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 120 TEST_FILTER -*BackgroundMusic* PROPERTIES TIMEOUT 120)
  gtest_discover_tests(e2e_tests EXTRA_ARGS $<TARGET_FILE:lurvane> DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 120 TEST_FILTER *BackgroundMusic* PROPERTIES TIMEOUT 120 ${with_sound})

  # The setup program that scripts/package builds (scripts/test packages before it runs ctest):
  # one ctest entry installs it silently, runs the installed saver and uninstalls it again.
  add_executable(installer_e2e_tests tests/e2e/installer/installer_e2e_test.cpp
                 tests/e2e/installer/installer_main.cpp tests/e2e/saver_driver.cpp)
  target_include_directories(installer_e2e_tests PRIVATE tests src)
  target_link_libraries(installer_e2e_tests PRIVATE gtest ${win32_libs} version)
  target_compile_definitions(installer_e2e_tests PRIVATE
      $<TARGET_PROPERTY:lurvane_core,INTERFACE_COMPILE_DEFINITIONS>
      UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(installer_e2e_tests PRIVATE ${LURVANE_WARNINGS})
  target_link_options(installer_e2e_tests PRIVATE ${static_runtime})
  add_test(NAME installer_e2e
           COMMAND installer_e2e_tests ${CMAKE_SOURCE_DIR}/dist/lurvane-${PROJECT_VERSION}-setup.exe)
  set_tests_properties(installer_e2e PROPERTIES TIMEOUT 300)
endif()

# Frame and present cost on a real window under Wine or Windows; prints figures, checks nothing.
add_executable(frame_present_bench bench/win32/frame_present_bench.cpp)
target_link_libraries(frame_present_bench PRIVATE lurvane_shell)
target_include_directories(frame_present_bench PRIVATE bench tests)
target_compile_options(frame_present_bench PRIVATE ${LURVANE_WARNINGS})
target_link_options(frame_present_bench PRIVATE ${static_runtime})

# The path editor's redraw under a drag on a large picture; prints figures, checks nothing.
add_executable(preview_drag_bench bench/win32/preview_drag_bench.cpp res/lurvane.rc)
target_link_libraries(preview_drag_bench PRIVATE lurvane_shell)
target_include_directories(preview_drag_bench PRIVATE bench tests)
target_compile_options(preview_drag_bench PRIVATE ${LURVANE_WARNINGS})
target_link_options(preview_drag_bench PRIVATE ${static_runtime})

# The settings dialog's CPU use while it stands open, the real saver driven as the end-to-end
# tests drive it (so it needs their driver and GoogleTest); run by scripts/dialog-cpu-bench.
if(LURVANE_WINDOWS_TESTS)
  add_executable(dialog_cpu_bench bench/win32/dialog_cpu_bench.cpp tests/e2e/saver_driver.cpp)
  target_include_directories(dialog_cpu_bench PRIVATE bench tests src res)
  target_link_libraries(dialog_cpu_bench PRIVATE gtest ${win32_libs})
  target_compile_definitions(dialog_cpu_bench PRIVATE
      $<TARGET_PROPERTY:lurvane_core,INTERFACE_COMPILE_DEFINITIONS>
      UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(dialog_cpu_bench PRIVATE ${LURVANE_WARNINGS})
  target_link_options(dialog_cpu_bench PRIVATE ${static_runtime})
endif()
